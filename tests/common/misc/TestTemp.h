// A fresh folder per test under $QM_TEST_TMP (else /tmp), removed afterwards,
// and small file helpers for the tests of the support library.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempFolder {
 public:
  TempFolder() {
    const char* szBase = getenv("QM_TEST_TMP");
    std::filesystem::path base = (szBase && *szBase) ? szBase : "/tmp";
    std::filesystem::create_directories(base);
    std::string templ = (base / "qm-misc-XXXXXX").string();
    if (!mkdtemp(templ.data())) ADD_FAILURE() << "cannot create a folder under " << base;
    m_path = templ;
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, without a final separator.
  const std::string& Path() const { return m_path; }
  // The folder with a final separator, as the program's folder texts are.
  std::string Folder() const { return m_path + "/"; }
  std::string File(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}
