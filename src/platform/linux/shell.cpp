// The shell: the application data folder and opening documents and links.
#include "shell.h"

#include <fcntl.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <system_error>
#include <thread>

#include "lasterror.h"

extern char** environ;

namespace {

// What ShellExecuteA answers: above 32 for success, an SE_ERR_ code otherwise.
HINSTANCE ShellResult(intptr_t nCode) { return reinterpret_cast<HINSTANCE>(nCode); }
constexpr intptr_t kShellSuccess = 33;

bool IsOpenVerb(LPCSTR lpOperation) { return !lpOperation || strcasecmp(lpOperation, "open") == 0; }

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::string PalUserDataFolder() {
  const char* szXdg = getenv("XDG_DATA_HOME");
  if (szXdg && szXdg[0] == '/') return szXdg;
  std::string home;
  if (const char* szHome = getenv("HOME"); szHome && *szHome) {
    home = szHome;
  } else {
    passwd entry{};
    passwd* pFound = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &pFound) == 0 && pFound &&
        pFound->pw_dir)
      home = pFound->pw_dir;
  }
  if (home.empty()) return {};
  while (home.size() > 1 && home.back() == '/') home.pop_back();
  return (home == "/" ? "" : home) + "/.local/share";
}

namespace {

// Creates the folder and every missing folder above it; an errno value, 0 on success.
int CreateFolderPath(const std::string& path) {
  for (size_t nSlash = path.find('/', 1);; nSlash = path.find('/', nSlash + 1)) {
    const std::string prefix = path.substr(0, nSlash);
    if (mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) return errno;
    if (nSlash == std::string::npos) break;
  }
  return IsDirectory(path) ? 0 : ENOTDIR;
}

intptr_t ShellErrorFromErrno(int nErrno) {
  switch (nErrno) {
    case ENOENT:
      return SE_ERR_NOASSOC;  // no xdg-open: nothing is associated with anything
    case ENOMEM:
    case EAGAIN:
      return SE_ERR_OOM;
    case EACCES:
    case EPERM:
      return SE_ERR_ACCESSDENIED;
    default:
      return SE_ERR_NOASSOC;
  }
}

// xdg-open's verdict as the SE_ERR_ code ShellExecuteA would have answered; 0
// when it opened the name. It exits 2 for a missing file and 3 when nothing
// can open the name, before starting anything. Any other failure is also the
// opened program's exit status where xdg-open waits for it (as it does outside
// a known desktop), so only a failure soon after the start is xdg-open's own:
// a program that failed later had opened the name.
int OpenerVerdict(int nExitStatus, std::chrono::steady_clock::duration ran) {
  constexpr auto kLaunchTime = std::chrono::seconds(10);
  switch (nExitStatus) {
    case 0:
      return 0;
    case 2:
      return SE_ERR_FNF;
    case 3:
      return SE_ERR_NOASSOC;
    default:
      return ran < kLaunchTime ? SE_ERR_ASSOCINCOMPLETE : 0;
  }
}

// Starts argv without waiting; the child is reaped in the background so that
// no zombie stays, and onExit then learns how it ended (the wait status) and
// how long it ran. An errno value, 0 on success.
int SpawnDetached(const std::vector<std::string>& args, const char* szDirectory,
                  std::function<void(int, std::chrono::steady_clock::duration)> onExit) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (szDirectory && *szDirectory) posix_spawn_file_actions_addchdir_np(&actions, szDirectory);
  // The program's own files (the store, the log) are none of the child's business.
  posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t signals;
  sigemptyset(&signals);
  posix_spawnattr_setsigmask(&attributes, &signals);
  sigfillset(&signals);
  posix_spawnattr_setsigdefault(&attributes, &signals);
  // Detached with setsid: the opened program outlives the wizard and its terminal.
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);

  const auto started = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int nError = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (nError != 0) return nError;
  try {
    std::thread([pid, started, onExit = std::move(onExit)] {
      int nStatus = 0;
      if (waitpid(pid, &nStatus, 0) == pid)
        onExit(nStatus, std::chrono::steady_clock::now() - started);
    }).detach();
  } catch (const std::system_error&) {
    // Without a thread the finished child stays a zombie until the program
    // ends and its verdict goes unheard; the open itself has happened.
  }
  return 0;
}

}  // namespace

std::vector<std::string> PalShellOpenArgv(const char* szFile) {
  std::string file = szFile ? szFile : "";
  if (file.starts_with('-')) file = "./" + file;
  return {"xdg-open", file};
}

HRESULT SHGetFolderPathA(HWND, int csidl, HANDLE, DWORD, LPSTR pszPath) {
  if (!pszPath || (csidl & ~CSIDL_FLAG_CREATE) != CSIDL_COMMON_APPDATA) return E_INVALIDARG;
  std::string folder = PalUserDataFolder();
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder.empty() || folder.size() >= MAX_PATH) return E_FAIL;

  HRESULT hr = S_OK;
  if (csidl & CSIDL_FLAG_CREATE) {
    if (const int nError = CreateFolderPath(folder); nError != 0)
      return HRESULT_FROM_WIN32(PalErrorFromErrno(nError));
  } else if (!IsDirectory(folder)) {
    hr = S_FALSE;  // the folder is known but does not exist (yet)
  }
  memcpy(pszPath, folder.c_str(), folder.size() + 1);
  return hr;
}

HINSTANCE ShellExecuteA(HWND, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR /*lpParameters*/,
                        LPCSTR lpDirectory, INT) {
  // xdg-open knows one verb; parameters have no place in its call.
  if (!IsOpenVerb(lpOperation)) return ShellResult(SE_ERR_NOASSOC);
  if (!lpFile || !*lpFile) return ShellResult(SE_ERR_FNF);
  if (lpDirectory && *lpDirectory && !IsDirectory(lpDirectory)) return ShellResult(SE_ERR_PNF);

  const int nError = SpawnDetached(
      PalShellOpenArgv(lpFile), lpDirectory,
      [file = std::string(lpFile)](int nStatus, std::chrono::steady_clock::duration ran) {
        if (!WIFEXITED(nStatus)) return;  // stopped by a signal: someone meant it to end
        if (const int nShellError = OpenerVerdict(WEXITSTATUS(nStatus), ran); nShellError != 0)
          PalShellOpenFailed(file.c_str(), nShellError);
      });
  return ShellResult(nError == 0 ? kShellSuccess : ShellErrorFromErrno(nError));
}
