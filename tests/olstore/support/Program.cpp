#include "olstore/support/Program.h"

#include <filesystem>

#ifdef _WIN32
#include "olstore/Text.h"
#include "platform/win32.h"
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;
#endif

namespace olstore::test {

#ifdef _WIN32

namespace {

// One argument as the C runtime's command line parser reads it back:
// backslashes double only where a quote follows them.
void AppendArgument(OleString& line, const OleString& arg) {
  if (!line.empty()) line += L' ';
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == OleString::npos) {
    line += arg;
    return;
  }
  line += L'"';
  size_t backslashes = 0;
  for (const wchar_t ch : arg) {
    if (ch == L'\\') {
      ++backslashes;
      continue;
    }
    line.append(ch == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    line += ch;
  }
  line.append(2 * backslashes, L'\\');
  line += L'"';
}

HANDLE OpenInherited(const std::string& path, bool write) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(path.empty() ? L"NUL" : Utf8ToUtf16(path).c_str(),
                     write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     &inherit, write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

std::filesystem::path OwnFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

}  // namespace

int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const ProgramFiles& files) {
  const OleString wideProgram = Utf8ToUtf16(program);
  OleString line;
  AppendArgument(line, wideProgram);
  for (const std::string& arg : args) AppendArgument(line, Utf8ToUtf16(arg));

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = OpenInherited(files.in, false);
  startup.hStdOutput = OpenInherited(files.out, true);
  startup.hStdError = OpenInherited(files.err, true);
  PROCESS_INFORMATION process{};
  const bool started = startup.hStdInput != INVALID_HANDLE_VALUE &&
                       startup.hStdOutput != INVALID_HANDLE_VALUE &&
                       startup.hStdError != INVALID_HANDLE_VALUE &&
                       CreateProcessW(wideProgram.c_str(), line.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &startup, &process);
  for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  if (!started) return -1;
  DWORD code = 0;
  WaitForSingleObject(process.hProcess, INFINITE);
  const bool exited = GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exited ? static_cast<int>(code) : -1;
}

#else

std::filesystem::path OwnFolder() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const ProgramFiles& files) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, files.in.empty() ? "/dev/null" : files.in.c_str(),
                                   O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, files.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, files.err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

std::string BuiltProgram(const std::string& path) {
  const std::filesystem::path built(path);
  if (built.is_absolute()) return path;
  const std::u8string beside = (OwnFolder() / built.filename()).u8string();
  return std::string(beside.begin(), beside.end());
}

}  // namespace olstore::test
