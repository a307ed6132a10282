// Where the Outlook in use lives: the program registered with Windows, or, on
// other systems, the local Outlook store and its file.
#pragma once

#include <cstddef>
#include <string>

// The registered Outlook program: the "Path" value of Outlook's App Paths key
// with "OUTLOOK.EXE" appended. False, with szPath untouched, when Outlook is not
// registered or the path would not fit nSize bytes.
bool GetRegisteredOutlookPath(char* szPath, size_t nSize);

#ifndef _WIN32
// True when an Outlook answers to "Outlook.Application" in this process.
bool IsOutlookRegistered();
// The version of the local Outlook store.
std::string GetOutlookStoreVersion();
// The store's database file, and the folder that holds it.
std::string GetOutlookStoreFile();
std::string GetOutlookStoreFolder();
#endif
