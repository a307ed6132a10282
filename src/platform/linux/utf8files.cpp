// Files and settings named in UTF-8: here every name and value already is.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "atomicwrite.h"
#include "lasterror.h"
#include "platform/textanswer.h"
#include "shell.h"

namespace {

DWORD FailWithErrno(int nErrno, LPSTR szError, DWORD nErrorSize) {
  if (szError && nErrorSize > 0) snprintf(szError, nErrorSize, "%s", strerror(nErrno));
  return PalErrorFromErrno(nErrno);
}

}  // namespace

DWORD PalGetFileAttributesUtf8(LPCSTR szPath) {
  if (!szPath) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_FILE_ATTRIBUTES;
  }
  struct stat info {};
  if (stat(szPath, &info) != 0) {
    SetLastError(errno == ENOENT ? PalMissingPathError(szPath) : PalErrorFromErrno(errno));
    return INVALID_FILE_ATTRIBUTES;
  }
  if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
  if (!S_ISREG(info.st_mode)) return FILE_ATTRIBUTE_DEVICE;
  // A file without any write permission is read-only even for root, who could
  // write it anyway: it is meant to stay as it is.
  if (PalIsReadOnly(info) || access(szPath, W_OK) != 0) return FILE_ATTRIBUTE_READONLY;
  return FILE_ATTRIBUTE_NORMAL;
}

DWORD PalRenameFileUtf8(LPCSTR szFrom, LPCSTR szTo, BOOL bReplace, LPSTR szError,
                        DWORD nErrorSize) {
  if (!szFrom || !szTo) return FailWithErrno(EINVAL, szError, nErrorSize);
  if (bReplace) {
    return rename(szFrom, szTo) == 0 ? ERROR_SUCCESS : FailWithErrno(errno, szError, nErrorSize);
  }
  // link() never replaces; the old name goes once the new one is there.
  if (link(szFrom, szTo) != 0) {
    if (errno == EEXIST) return ERROR_ALREADY_EXISTS;
    return FailWithErrno(errno, szError, nErrorSize);
  }
  unlink(szFrom);
  return ERROR_SUCCESS;
}

DWORD PalGetEnvironmentVariableUtf8(LPCSTR lpName, LPSTR lpBuffer, DWORD nSize) {
  const char* szValue = lpName ? getenv(lpName) : nullptr;
  if (!szValue) return 0;
  return PalAnswerText(szValue, lpBuffer, nSize);
}

DWORD PalGetUserDataFolderUtf8(LPSTR lpBuffer, DWORD nSize) {
  const std::string folder = PalUserDataFolder();
  return folder.empty() ? 0 : PalAnswerText(folder, lpBuffer, nSize);
}
