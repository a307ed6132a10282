// The thread's last error, as GetLastError reports it, and the translation of
// the C library's errno values into Windows error codes.
#pragma once

#include "platform/win32.h"

// The Windows error code that best describes errno value nErrno.
DWORD PalErrorFromErrno(int nErrno);

// Sets the last error and returns FALSE (0): the common failure exit.
BOOL PalFailWith(DWORD dwError);
