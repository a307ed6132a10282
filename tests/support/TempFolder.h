// A fresh, empty folder for one test, removed again afterwards, and whole-file
// reads and writes. The folders live under $QM_TEST_TMP when that names an
// absolute path on this system (under Wine it is a Linux path, which is none),
// else in the system's temporary folder.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

#include "platform/win32.h"

class TempFolder {
 public:
  explicit TempFolder(std::string_view prefix = "qm") {
    namespace fs = std::filesystem;
    const fs::path root = Root();
    std::error_code error;
    fs::create_directories(root, error);
    std::random_device random;
    // create_directory makes the folder only when the name is free, on both
    // systems, so two processes never share one.
    for (int nAttempt = 0; nAttempt < 100 && m_path.empty(); ++nAttempt) {
      const fs::path candidate = root / (std::string(prefix) + "-" + std::to_string(random()));
      if (fs::create_directory(candidate, error)) m_path = candidate.string();
    }
    if (m_path.empty()) ADD_FAILURE() << "cannot create a folder under " << root.string();
  }
  ~TempFolder() {
    namespace fs = std::filesystem;
    if (m_path.empty()) return;
    std::error_code error;
    // Read-only entries left by a test must not keep the folder alive.
    for (const auto& entry : fs::recursive_directory_iterator(m_path, error))
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(m_path, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, without a final separator.
  const std::string& Path() const { return m_path; }
  // The folder with a final separator, as the program's folder texts are.
  std::string Folder() const { return m_path + PAL_PATH_SEPARATOR_STR; }
  // A path inside the folder; '/' in name separates folders on both systems.
  std::string File(std::string_view name) const {
    std::string path = Folder() + std::string(name);
    std::replace(path.begin() + static_cast<std::ptrdiff_t>(m_path.size()), path.end(), '/',
                 PAL_PATH_SEPARATOR);
    return path;
  }

 private:
  static std::filesystem::path Root() {
    const char* szRoot = getenv("QM_TEST_TMP");
    if (szRoot && std::filesystem::path(szRoot).is_absolute()) return szRoot;
    return std::filesystem::temp_directory_path();
  }

  std::string m_path;
};

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Whether the whole text was written.
inline bool WriteWholeFile(const std::string& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return out.good();
}
