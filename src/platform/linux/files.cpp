// Files, the program's own module, threads and paths.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>

#include "atomicwrite.h"
#include "lasterror.h"

namespace {

// Copies the byte range [pBegin, pEnd) into an output field of nSize bytes,
// cut before a whole character; a null field is skipped.
void CopyPart(char* szOut, size_t nSize, const char* pBegin, const char* pEnd) {
  if (!szOut) return;
  const size_t nLength = PalAnsiCutLength(pBegin, nSize - 1);
  const size_t nPart = static_cast<size_t>(pEnd - pBegin);
  const size_t n = nLength < nPart ? nLength : nPart;
  memcpy(szOut, pBegin, n);
  szOut[n] = '\0';
}

}  // namespace

BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES) {
  if (!lpPathName || !*lpPathName) return PalFailWith(ERROR_PATH_NOT_FOUND);
  if (mkdir(lpPathName, 0777) == 0) return TRUE;
  return PalFailWith(errno == ENOENT ? ERROR_PATH_NOT_FOUND : PalErrorFromErrno(errno));
}

BOOL CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists) {
  if (!lpExistingFileName || !lpNewFileName || !*lpNewFileName)
    return PalFailWith(ERROR_INVALID_PARAMETER);
  const int nSource = open(lpExistingFileName, O_RDONLY | O_CLOEXEC);
  if (nSource < 0) {
    return PalFailWith(errno == ENOENT ? PalMissingPathError(lpExistingFileName)
                                       : PalErrorFromErrno(errno));
  }
  struct stat source {};
  if (fstat(nSource, &source) != 0 || S_ISDIR(source.st_mode)) {
    close(nSource);
    return PalFailWith(ERROR_ACCESS_DENIED);
  }
  const BOOL bCopied = PalWriteFileAtomically(
      lpNewFileName, source.st_mode & 0777, bFailIfExists != FALSE, [&](int nFd) {
        char buffer[65536];
        for (;;) {
          const ssize_t nRead = read(nSource, buffer, sizeof buffer);
          if (nRead < 0 && errno == EINTR) continue;
          if (nRead < 0) return false;
          if (nRead == 0) break;
          if (!PalWriteAll(nFd, buffer, static_cast<size_t>(nRead))) return false;
        }
        // A copy keeps the time it was last written, as on Windows.
        const timespec times[2] = {{0, UTIME_OMIT}, source.st_mtim};
        futimens(nFd, times);
        return true;
      });
  close(nSource);
  return bCopied;
}

DWORD GetFileAttributesA(LPCSTR lpFileName) {
  if (!lpFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_FILE_ATTRIBUTES;
  }
  struct stat info {};
  if (stat(lpFileName, &info) != 0) {
    SetLastError(errno == ENOENT ? PalMissingPathError(lpFileName) : PalErrorFromErrno(errno));
    return INVALID_FILE_ATTRIBUTES;
  }
  return S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
  // The program loads no modules of its own: only the executable has a name.
  if (hModule) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (!lpFilename && nSize > 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  char path[PATH_MAX + 1];
  const ssize_t nLength = readlink("/proc/self/exe", path, PATH_MAX);
  if (nLength <= 0) {
    SetLastError(PalErrorFromErrno(errno));
    return 0;
  }
  path[nLength] = '\0';
  if (static_cast<DWORD>(nLength) < nSize) {
    memcpy(lpFilename, path, static_cast<size_t>(nLength) + 1);
    return static_cast<DWORD>(nLength);
  }
  // Too small: as on Windows the name is cut, still terminated, and the
  // result is the buffer size.
  if (nSize > 0) CopyPart(lpFilename, nSize, path, path + nLength);
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return nSize;
}

DWORD GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }

DWORD GetCurrentThreadId() { return static_cast<DWORD>(gettid()); }

void Sleep(DWORD dwMilliseconds) {
  timespec wait{static_cast<time_t>(dwMilliseconds / 1000),
                static_cast<long>(dwMilliseconds % 1000) * 1000000L};
  while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
  }
}

void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext) {
  if (drive) drive[0] = '\0';  // no drives here
  if (!path) path = "";
  const char* pEnd = path + strlen(path);
  const char* pSlash = strrchr(path, PAL_PATH_SEPARATOR);
  const char* pName = pSlash ? pSlash + 1 : path;
  const char* pDot = strrchr(pName, '.');
  const char* pExt = pDot ? pDot : pEnd;
  CopyPart(dir, _MAX_DIR, path, pName);
  CopyPart(fname, _MAX_FNAME, pName, pExt);
  CopyPart(ext, _MAX_EXT, pExt, pEnd);
}
