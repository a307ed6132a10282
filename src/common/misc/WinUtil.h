// Small helpers over the platform: the program's folder, shell opens, file
// versions, the installed Outlook's version and a date text.
#pragma once

#include <cstddef>

#include "platform/win32.h"

// The drive and directory of the module's file, ending with the path separator,
// into szFolder (MAX_PATH bytes). A null module means the program itself.
// False for a null buffer or when the module's path cannot be read; szFolder
// is then empty.
bool GetModuleFolder(HMODULE hModule, char* szFolder);

// Opens a document, folder or link with the shell's "open" verb. False only for
// a null or empty name: what the shell then does is not reported.
bool ShellOpen(const char* szFile);

// The four parts of the file version of szFile's version resource. All outputs
// are set to 0 first; false without a name, a version resource or its root
// block, or when an output is missing.
bool GetFileVersion(const char* szFile, int* pMajor, int* pMinor, int* pBuild, int* pRevision);

// The registered Outlook program: the "Path" value of Outlook's App Paths key
// with "OUTLOOK.EXE" appended (after a separator when the folder has none).
// False, with szPath untouched, when Outlook is not registered or the path
// would not fit nSize bytes.
bool GetRegisteredOutlookPath(char* szPath, size_t nSize);

// "major.minor.build.revision" of the registered Outlook program into
// szVersion (64 bytes). False when Outlook is not registered (szVersion is
// left as it was) or its version cannot be read (szVersion is made empty).
bool GetOutlookVersion(char* szVersion);

// "MM-DD-YYYY hh:mm:ss" (20 bytes). False, leaving szText untouched, when the
// date cannot be converted.
bool VariantTimeToString(double dtDate, char* szText);
