#include "lasterror.h"

#include <cerrno>

namespace {
thread_local DWORD t_dwLastError = ERROR_SUCCESS;
}

DWORD GetLastError() { return t_dwLastError; }

void SetLastError(DWORD dwErrCode) { t_dwLastError = dwErrCode; }

DWORD PalErrorFromErrno(int nErrno) {
  switch (nErrno) {
    case 0:
      return ERROR_SUCCESS;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ENOSPC:
    case EDQUOT:
      return ERROR_DISK_FULL;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    default:
      return ERROR_WRITE_FAULT;
  }
}

BOOL PalFailWith(DWORD dwError) {
  SetLastError(dwError);
  return FALSE;
}
