// A fresh, empty folder for each test, under $QM_TEST_TMP (or /tmp), removed
// again afterwards, with small helpers to put and read files in it.
#pragma once

#include <gtest/gtest.h>

#include <string>

class TempFolderTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The full path of szName inside the folder.
  std::string PathOf(const std::string& name) const;
  void WriteFile(const std::string& name, const std::string& content) const;
  // The file's bytes, or "<missing>" when it cannot be read.
  std::string ReadFile(const std::string& name) const;
  // The names of the folder's entries, sorted and joined by blanks.
  std::string ListFolder() const;

  std::string m_sFolder;
};
