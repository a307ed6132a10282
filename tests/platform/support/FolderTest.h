// A fresh, empty folder for each test (see support/TempFolder.h), with small
// helpers to put and read files in it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/TempFolder.h"

class TempFolderTest : public testing::Test {
 protected:
  // The full path of name inside the folder; '/' in it separates folders.
  std::string PathOf(const std::string& name) const { return m_temp.File(name); }
  void WriteFile(const std::string& name, const std::string& content) const;
  // The file's bytes, or "<missing>" when it cannot be read.
  std::string ReadFile(const std::string& name) const;
  // Read-only as Windows' attribute and as POSIX write permissions alike.
  void MakeReadOnly(const std::string& name) const;
  // The names of the folder's entries, sorted and joined by blanks.
  std::string ListFolder() const;

  TempFolder m_temp{"platform"};
  const std::string m_sFolder = m_temp.Path();
};
