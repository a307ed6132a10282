#include "bench/ChildProcess.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

extern char** environ;

namespace qmbench {

namespace {

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& overrides) {
  std::vector<std::string> merged;
  for (char** pp = environ; *pp; ++pp) {
    const std::string strEntry = *pp;
    const std::string strName = strEntry.substr(0, strEntry.find('='));
    bool bOverridden = false;
    for (const std::string& strOverride : overrides)
      bOverridden = bOverridden || strOverride.compare(0, strName.size() + 1, strName + "=") == 0;
    if (!bOverridden) merged.push_back(strEntry);
  }
  merged.insert(merged.end(), overrides.begin(), overrides.end());
  return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& strText : texts) pointers.push_back(strText.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

bool RunProgram(const std::string& strPath, const std::vector<std::string>& args,
                const std::vector<std::string>& env, ChildResult& result, std::string& strError) {
  std::vector<std::string> argv = {strPath};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<std::string> envp = MergedEnvironment(env);
  std::vector<char*> argvPointers = Pointers(argv);
  std::vector<char*> envPointers = Pointers(envp);

  int pipeFds[2];
  if (::pipe(pipeFds) != 0) {
    strError = std::string("cannot make a pipe: ") + std::strerror(errno);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
  pid_t pid = 0;
  const int nSpawn = posix_spawn(&pid, strPath.c_str(), &actions, nullptr, argvPointers.data(),
                                 envPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  if (nSpawn != 0) {
    ::close(pipeFds[0]);
    strError = std::string("cannot start the child: ") + std::strerror(nSpawn);
    return false;
  }

  result.strOutput.clear();
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
    if (n > 0) {
      result.strOutput.append(buffer, static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  ::close(pipeFds[0]);
  int nStatus = 0;
  struct rusage usage = {};
  while (::wait4(pid, &nStatus, 0, &usage) < 0 && errno == EINTR) {
  }
  result.dCpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  if (!WIFEXITED(nStatus)) {
    strError = "the child did not exit normally (status " + std::to_string(nStatus) + ")";
    return false;
  }
  result.nExitCode = WEXITSTATUS(nStatus);
  return true;
}

bool RunSelf(const std::vector<std::string>& args, const std::vector<std::string>& env,
             ChildResult& result, std::string& strError) {
  return RunProgram("/proc/self/exe", args, env, result, strError);
}

bool OutputValue(const std::string& strOutput, const std::string& strKey, double& dValue) {
  std::istringstream lines(strOutput);
  std::string strLine;
  while (std::getline(lines, strLine)) {
    if (strLine.compare(0, strKey.size() + 1, strKey + " ") != 0) continue;
    char* pEnd = nullptr;
    const char* szValue = strLine.c_str() + strKey.size() + 1;
    dValue = std::strtod(szValue, &pEnd);
    return pEnd != szValue;
  }
  return false;
}

}  // namespace qmbench
