#include "olstore/Files.h"

#include <system_error>

#include "platform/win32.h"

namespace olstore {

namespace {

// A text the system hands out by the GetEnvironmentVariable rule: asked for
// its size first, then read.
template <typename TGet>
std::string SystemText(TGet fnGet) {
  const DWORD size = fnGet(nullptr, 0);
  if (size == 0) return {};
  std::string text(size, '\0');
  const DWORD length = fnGet(text.data(), size);
  text.resize(length < size ? length : 0);
  return text;
}

}  // namespace

std::filesystem::path PathFromUtf8(std::string_view path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

FileState ProbeFile(const std::string& path) {
  const DWORD attributes = PalGetFileAttributesUtf8(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = GetLastError();
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? FileState::Missing
                                                                         : FileState::Unknown;
  }
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return FileState::NotAFile;
  return attributes & FILE_ATTRIBUTE_READONLY ? FileState::ReadOnlyFile : FileState::File;
}

bool PublishNewFile(const std::string& temp, const std::string& path, std::string& error) {
  char reason[256] = {};
  const DWORD code = PalRenameFileUtf8(temp.c_str(), path.c_str(), FALSE, reason, sizeof reason);
  if (code == ERROR_SUCCESS) return true;
  RemoveFile(temp);
  if (code == ERROR_ALREADY_EXISTS) return true;
  error = reason;
  return false;
}

bool ReplaceFileAtomically(const std::string& temp, const std::string& path, std::string& error) {
  char reason[256] = {};
  if (PalRenameFileUtf8(temp.c_str(), path.c_str(), TRUE, reason, sizeof reason) == ERROR_SUCCESS)
    return true;
  error = reason;
  RemoveFile(temp);
  return false;
}

void RemoveFile(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(PathFromUtf8(path), ignored);
}

int CurrentProcessId() { return static_cast<int>(GetCurrentProcessId()); }

std::string EnvironmentText(const char* name) {
  return SystemText([name](LPSTR buffer, DWORD size) {
    return PalGetEnvironmentVariableUtf8(name, buffer, size);
  });
}

std::string UserDataFolder() {
  std::string folder = SystemText(PalGetUserDataFolderUtf8);
  return folder.empty() ? "." : folder;
}

}  // namespace olstore
