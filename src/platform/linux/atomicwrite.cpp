#include "atomicwrite.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "lasterror.h"

namespace {

std::string FolderOf(const std::string& path) {
  const size_t nSlash = path.rfind('/');
  if (nSlash == std::string::npos) return ".";
  if (nSlash == 0) return "/";
  return path.substr(0, nSlash);
}

// A symbolic link is written through, so the link itself stays.
std::string ResolvedTarget(const char* szPath) {
  struct stat info {};
  if (lstat(szPath, &info) == 0 && S_ISLNK(info.st_mode)) {
    char resolved[PATH_MAX];
    if (realpath(szPath, resolved)) return resolved;
  }
  return szPath;
}

// Creates a new, uniquely named file in szFolder; -1 (errno set) on failure.
int CreateTemporary(const std::string& folder, const std::string& name, mode_t nMode,
                    std::string& tempPath) {
  static std::atomic<unsigned> s_nCounter{0};
  for (int nTry = 0; nTry < 100; ++nTry) {
    tempPath = folder + "/." + name + "." + std::to_string(getpid()) + "." +
               std::to_string(s_nCounter++) + ".tmp";
    const int nFd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, nMode);
    if (nFd >= 0 || errno != EEXIST) return nFd;
  }
  return -1;
}

void SyncFolder(const std::string& folder) {
  const int nFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (nFd < 0) return;
  fsync(nFd);
  close(nFd);
}

// Gives the temporary file the target's name. Without replacing, a file that
// appeared meanwhile is kept: the kernel checks, or, on file systems that cannot
// rename that way, a hard link that fails when the name is taken.
bool RenameInto(const std::string& tempPath, const std::string& target, bool bNoReplace) {
  if (!bNoReplace) return rename(tempPath.c_str(), target.c_str()) == 0;
  if (renameat2(AT_FDCWD, tempPath.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  if (link(tempPath.c_str(), target.c_str()) != 0) return false;
  unlink(tempPath.c_str());
  return true;
}

}  // namespace

bool PalWriteAll(int nFd, const void* pData, size_t nSize) {
  const char* p = static_cast<const char*>(pData);
  while (nSize > 0) {
    const ssize_t nWritten = write(nFd, p, nSize);
    if (nWritten < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += nWritten;
    nSize -= static_cast<size_t>(nWritten);
  }
  return true;
}

bool PalIsReadOnly(const struct stat& info) { return (info.st_mode & 0222) == 0; }

DWORD PalMissingPathError(const char* szPath) {
  struct stat info {};
  const std::string folder = FolderOf(szPath);
  if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return ERROR_PATH_NOT_FOUND;
  return ERROR_FILE_NOT_FOUND;
}

BOOL PalWriteFileAtomically(const char* szPath, mode_t nNewMode, bool bNoReplace,
                            const std::function<bool(int nFd)>& fnWrite) {
  const std::string target = ResolvedTarget(szPath);
  const std::string folder = FolderOf(target);
  const size_t nSlash = target.rfind('/');
  const std::string name = nSlash == std::string::npos ? target : target.substr(nSlash + 1);

  struct stat existing {};
  const bool bExists = stat(target.c_str(), &existing) == 0;
  if (bExists && bNoReplace) return PalFailWith(ERROR_FILE_EXISTS);
  if (bExists && (S_ISDIR(existing.st_mode) || PalIsReadOnly(existing)))
    return PalFailWith(ERROR_ACCESS_DENIED);

  std::string tempPath;
  const int nFd = CreateTemporary(folder, name, bExists ? 0600 : nNewMode, tempPath);
  if (nFd < 0)
    return PalFailWith(errno == ENOENT ? ERROR_PATH_NOT_FOUND : PalErrorFromErrno(errno));
  bool bOk = fnWrite(nFd);
  if (bOk && bExists) {
    // Best effort: only the owner or root may hand the file to its owner.
    if (fchown(nFd, existing.st_uid, existing.st_gid) != 0) errno = 0;
    bOk = fchmod(nFd, existing.st_mode & 07777) == 0;
  }
  bOk = bOk && fsync(nFd) == 0;
  const int nWriteErrno = errno;
  close(nFd);
  if (bOk) {
    if (RenameInto(tempPath, target, bNoReplace)) {
      SyncFolder(folder);
      return TRUE;
    }
  }
  const int nErrno = bOk ? errno : nWriteErrno;
  unlink(tempPath.c_str());
  return PalFailWith(nErrno == EEXIST && bNoReplace ? ERROR_FILE_EXISTS
                                                    : PalErrorFromErrno(nErrno));
}
