// Writing a whole file so that readers see either the old or the new content,
// never a half-written one: the content goes to a temporary file in the same
// folder, which then takes the file's name.
#pragma once

#include <sys/stat.h>

#include <functional>

#include "platform/win32.h"

// Writes the file szPath through fnWrite, which gets the temporary file's
// descriptor and returns false (errno set) when writing failed. A file that
// exists keeps its permissions and owner; a new one gets nNewMode (less the
// umask). With bNoReplace an existing file is left alone and the call fails
// with ERROR_FILE_EXISTS. On failure the last error is set, the temporary file
// is gone and szPath is unchanged.
BOOL PalWriteFileAtomically(const char* szPath, mode_t nNewMode, bool bNoReplace,
                            const std::function<bool(int nFd)>& fnWrite);

// Writes all nSize bytes to nFd; false (errno set) on failure.
bool PalWriteAll(int nFd, const void* pData, size_t nSize);

// Whether a file counts as read-only: Windows' read-only attribute is the
// absence of every write permission bit (root could otherwise write anything).
bool PalIsReadOnly(const struct stat& info);

// The Windows error for a path that could not be found: ERROR_PATH_NOT_FOUND
// when its folder is missing too, else ERROR_FILE_NOT_FOUND.
DWORD PalMissingPathError(const char* szPath);
