#include "olstore/Files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include "platform/win32.h"
#else
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "olstore/Text.h"

namespace olstore {

std::filesystem::path PathFromUtf8(std::string_view path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

#ifdef _WIN32

namespace {

OleString Wide(const std::string& text) { return Utf8ToUtf16(text); }

std::string SystemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD size = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = size ? Utf16ToUtf8(OleStringView(buffer, size)) : std::string();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
    text.pop_back();
  return text.empty() ? "error " + std::to_string(code) : text;
}

}  // namespace

FileState ProbeFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = GetLastError();
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? FileState::Missing
                                                                         : FileState::Unknown;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileState::NotAFile;
  return attributes & FILE_ATTRIBUTE_READONLY ? FileState::ReadOnlyFile : FileState::File;
}

bool PublishNewFile(const std::string& temp, const std::string& path, std::string& error) {
  // Without MOVEFILE_REPLACE_EXISTING the move refuses to take an existing name.
  const bool moved = MoveFileExW(Wide(temp).c_str(), Wide(path).c_str(), MOVEFILE_WRITE_THROUGH);
  const DWORD code = moved ? ERROR_SUCCESS : GetLastError();
  if (moved) return true;
  RemoveFile(temp);
  if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS) return true;
  error = SystemMessage(code);
  return false;
}

bool ReplaceFileAtomically(const std::string& temp, const std::string& path, std::string& error) {
  if (MoveFileExW(Wide(temp).c_str(), Wide(path).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  error = SystemMessage(GetLastError());
  RemoveFile(temp);
  return false;
}

void RemoveFile(const std::string& path) { DeleteFileW(Wide(path).c_str()); }

int CurrentProcessId() { return static_cast<int>(GetCurrentProcessId()); }

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  localtime_s(&local, &time);
  return local;
}

std::string EnvironmentText(const char* name) {
  const OleString wideName = Wide(name);
  const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
  if (size == 0) return {};
  OleString value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
  value.resize(length < size ? length : 0);
  return Utf16ToUtf8(value);
}

std::string UserDataFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
    return ".";
  return Utf16ToUtf8(folder);
}

#else

namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  struct passwd entry {};
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir)
    return found->pw_dir;
  return ".";
}

}  // namespace

FileState ProbeFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return errno == ENOENT ? FileState::Missing : FileState::Unknown;
  if (!S_ISREG(info.st_mode)) return FileState::NotAFile;
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0)
    return FileState::ReadOnlyFile;
  return FileState::File;
}

bool PublishNewFile(const std::string& temp, const std::string& path, std::string& error) {
  // link() never replaces.
  const bool linked = ::link(temp.c_str(), path.c_str()) == 0;
  const int code = errno;
  RemoveFile(temp);
  if (linked || code == EEXIST) return true;
  error = std::strerror(code);
  return false;
}

bool ReplaceFileAtomically(const std::string& temp, const std::string& path, std::string& error) {
  if (std::rename(temp.c_str(), path.c_str()) == 0) return true;
  error = std::strerror(errno);
  RemoveFile(temp);
  return false;
}

void RemoveFile(const std::string& path) { ::unlink(path.c_str()); }

int CurrentProcessId() { return static_cast<int>(::getpid()); }

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  return local;
}

std::string EnvironmentText(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string UserDataFolder() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') return xdg;
  return HomeFolder() + "/.local/share";
}

#endif

}  // namespace olstore
