// Profile (INI) file reads and writes on "test.ini" in a fresh folder, and
// tables of them checked case by case.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/support/FolderTest.h"
#include "platform/win32.h"

// A settings file with every shape of line the reading rules know.
extern const char kSettings[];

class ProfileTest : public TempFolderTest {
 protected:
  struct Result {
    std::string text;
    DWORD nReturned;
  };

  // Reads through GetPrivateProfileStringA from "test.ini" into a buffer of
  // nSize bytes; text is the buffer up to the first zero.
  Result Read(const char* szSection, const char* szKey, const char* szDefault,
              DWORD nSize = 256) const;
  // A name list read: the buffer up to its first two zeros in a row.
  Result ReadList(const char* szSection, DWORD nSize = 256) const;
  BOOL Write(const char* szSection, const char* szKey, const char* szValue) const;

  struct ReadCase {
    const char* szName;
    const char* szSection;
    const char* szKey;
    const char* szDefault;
    DWORD nSize;
    std::string expected;
    DWORD nReturned;
  };
  // Reads each case from kSettings.
  void ExpectReads(const std::vector<ReadCase>& cases) const;

  struct ListCase {
    const char* szName;
    const char* szSection;  // null lists the sections
    DWORD nSize;
    std::string expected;
    DWORD nReturned;  // the zeros after the names count, the final one does not
  };
  // Lists each case from kSettings.
  void ExpectLists(const std::vector<ListCase>& cases) const;

  struct WriteCase {
    const char* szName;
    std::string before;  // "<none>": no file
    const char* szSection;
    const char* szKey;
    const char* szValue;
    std::string after;  // "<missing>": still no file
  };
  // Writes each case into its own file content.
  void ExpectWrites(const std::vector<WriteCase>& cases) const;
};
