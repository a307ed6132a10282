// The program's five settings, kept in "norvask.ini" (section "DI-ZU") in the
// application data folder, read once at start and written once at exit.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "common/misc/CxIniUtil.h"

class CxRunJournal;

struct AppSettings {
  int32_t AppFlag;  // the mode: 1 Contacts, 2 Calendar, 4 Tasks, 8 Notes
  char OLPath[260];  // the Outlook program's path
  bool SubFolder;  // read the subfolders of the default folder too
  bool EnableDebug;  // write log levels 1-3
  int32_t LogLevel;  // highest log level written
};

extern AppSettings g_Settings;
// Until the main window points it at the application data folder, it reads
// "norvask.ini" in the program's own folder.
extern CxIniUtil g_IniUtil;

// The all-users application data folder followed by "norvask" and "DI-ZU",
// each created when missing, ending with the path separator, into szFolder
// (nSize bytes). False, leaving szFolder untouched, when a folder cannot be
// found or created or the path does not fit.
bool GetAppDataFolder(char* szFolder, int nSize);

// Opens the run journal in the application data folder. False, with the
// reason, when there is no such folder or the journal cannot be used.
bool OpenRunJournal(CxRunJournal* pJournal, std::string* pError);

// Where a report made at tWhen is written: "report-YYYYMMDD-HHMMSS.csv" in
// the application data folder; empty when there is no such folder.
std::string ReportPath(time_t tWhen);

// Points the settings file and the debug log at the application data folder
// and reads the settings, then sets the log up as they say. False when there
// is no such folder: the settings then come from the program's own folder.
bool LoadProgramSettings();

// Clears g_Settings and reads the five keys, with their defaults.
void LoadSettings();
// Writes all five keys; failures (a read-only file) are ignored.
void SaveSettings();
