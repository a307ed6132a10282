#include "common/misc/CxFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/TempFolder.h"

namespace {

class CxFileTest : public ::testing::Test {
 protected:
  TempFolder m_tmp;
};

TEST_F(CxFileTest, GetFileSizeOfMissingEmptyAndFilledFiles) {
  const std::string missing = m_tmp.File("missing");
  const std::string empty = m_tmp.File("empty");
  const std::string five = m_tmp.File("five");
  const std::string lines = m_tmp.File("lines");
  WriteWholeFile(empty, "");
  WriteWholeFile(five, "12345");
  WriteWholeFile(lines, "a\r\nb\r\n");
  const struct {
    const char* szPath;
    int32_t nSize;
  } cases[] = {
      {nullptr, -1}, {"", -1}, {missing.c_str(), -1}, {empty.c_str(), 0}, {five.c_str(), 5}, {lines.c_str(), 6},
  };
  for (const auto& c : cases) EXPECT_EQ(GetFileSize(c.szPath), c.nSize) << (c.szPath ? c.szPath : "<null>");
}

TEST_F(CxFileTest, OpenRefusesMissingArguments) {
  const std::string path = m_tmp.File("f.txt");
  const struct {
    const char* szPath;
    const char* szMode;
  } cases[] = {{nullptr, "wb"}, {"", "wb"}, {path.c_str(), nullptr}, {path.c_str(), ""}};
  for (const auto& c : cases) {
    CxFile file;
    EXPECT_FALSE(file.Open(c.szPath, c.szMode));
    EXPECT_FALSE(file.WriteLine("x"));
  }
  EXPECT_FALSE(std::filesystem::exists(path));

  CxFile file;
  EXPECT_FALSE(file.Open(m_tmp.File("no-folder/f.txt").c_str(), "wb"));
  EXPECT_FALSE(file.WriteLine("x"));
}

TEST_F(CxFileTest, WriteLineEndsEveryLineWithCarriageReturnAndLineFeed) {
  const std::string path = m_tmp.File("f.txt");
  CxFile file;
  EXPECT_FALSE(file.WriteLine("before open"));
  ASSERT_TRUE(file.Open(path.c_str(), "wb"));
  EXPECT_TRUE(file.WriteLine("first"));
  EXPECT_TRUE(file.WriteLine(nullptr));
  EXPECT_TRUE(file.WriteLine("100% sure"));
  EXPECT_TRUE(file.Close());
  EXPECT_TRUE(file.Close());
  EXPECT_FALSE(file.WriteLine("after close"));
  EXPECT_EQ(ReadWholeFile(path), "first\r\n\r\n100% sure\r\n");
}

TEST_F(CxFileTest, AppendKeepsAndWriteEmpties) {
  const std::string path = m_tmp.File("f.txt");
  WriteWholeFile(path, "old\r\n");
  {
    CxFile file;
    ASSERT_TRUE(file.Open(path.c_str(), "ab"));
    file.WriteLine("new");
  }  // the destructor closes and flushes
  EXPECT_EQ(ReadWholeFile(path), "old\r\nnew\r\n");

  CxFile file;
  ASSERT_TRUE(file.Open(path.c_str(), "wb"));
  // Opening again closes the first stream, flushing what it holds.
  file.WriteLine("one");
  const std::string other = m_tmp.File("g.txt");
  ASSERT_TRUE(file.Open(other.c_str(), "wb"));
  file.WriteLine("two");
  file.Close();
  EXPECT_EQ(ReadWholeFile(path), "one\r\n");
  EXPECT_EQ(ReadWholeFile(other), "two\r\n");
}

}  // namespace
