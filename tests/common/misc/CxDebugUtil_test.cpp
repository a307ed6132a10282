#include "common/misc/CxDebugUtil.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "platform/win32.h"
#include "support/AnsiCodePage.h"
#include "support/TempFolder.h"

namespace {

const char kLogName[] = "appdebug.log";

class CxDebugUtilTest : public ::testing::Test {
 protected:
  void SetUp() override { m_log.SetLogFolder(m_tmp.Folder().c_str()); }

  std::string LogPath() const { return m_tmp.File(kLogName); }
  std::string LogText() const { return ReadWholeFile(LogPath()); }

  TempFolder m_tmp;
  CxDebugUtil m_log;
};

// One written line, split into its fields.
struct LogLine {
  int nYear = 0, nMonth = 0, nDay = 0, nHour = 0, nMinute = 0, nSecond = 0;
  std::string source;  // with its padding
  std::string line;    // with its padding
  std::string thread;
  std::string marker;
  std::string message;
};

// The message is split off before the regex sees the line: std::regex
// recurses per character and would overflow the stack on a 40 KB message.
bool ParseLine(const std::string& text, LogLine* pLine) {
  static const std::regex kHead(
      R"(^\[(\d{4})/(\d{2})/(\d{2}) (\d{2}):(\d{2}):(\d{2})\]\[(.*)\((-?\d+ *)\)\]\[([0-9a-f]{5,})\]\[(!!!|   )\]$)");
  const size_t nDash = text.find("] - ");
  if (nDash == std::string::npos || text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0)
    return false;
  const std::string head = text.substr(0, nDash + 1);
  pLine->message = text.substr(nDash + 4, text.size() - 2 - (nDash + 4));
  if (pLine->message.find_first_of("\r\n") != std::string::npos) return false;  // one line only
  std::smatch m;
  if (!std::regex_match(head, m, kHead)) return false;
  pLine->nYear = std::stoi(m[1]);
  pLine->nMonth = std::stoi(m[2]);
  pLine->nDay = std::stoi(m[3]);
  pLine->nHour = std::stoi(m[4]);
  pLine->nMinute = std::stoi(m[5]);
  pLine->nSecond = std::stoi(m[6]);
  pLine->source = m[7];
  pLine->line = m[8];
  pLine->thread = m[9];
  pLine->marker = m[10];
  return true;
}

TEST_F(CxDebugUtilTest, LineCarriesDateSourceThreadMarkerAndMessage) {
  SYSTEMTIME stBefore;
  GetLocalTime(&stBefore);
  m_log.LogMessage(0, "C:\\work\\src\\OlComm.cpp", 42, "Dispatch failed, hr=0x%08x", 0x80020006u);
  SYSTEMTIME stAfter;
  GetLocalTime(&stAfter);

  LogLine line;
  ASSERT_TRUE(ParseLine(LogText(), &line)) << LogText();
  EXPECT_EQ(line.source, "OlComm.cpp          ");
  EXPECT_EQ(line.line, "42  ");
  EXPECT_EQ(line.marker, "!!!");
  EXPECT_EQ(line.message, "Dispatch failed, hr=0x80020006");
  char szThread[16];
  snprintf(szThread, sizeof(szThread), "%05x", static_cast<unsigned>(GetCurrentThreadId()));
  EXPECT_EQ(line.thread, szThread);

  // The stamp is the local time of the call: the one read before or after it.
  const auto matches = [&](const SYSTEMTIME& st) {
    return line.nYear == st.wYear && line.nMonth == st.wMonth && line.nDay == st.wDay &&
           line.nHour == st.wHour && line.nMinute == st.wMinute;
  };
  EXPECT_TRUE(matches(stBefore) || matches(stAfter));
}

TEST_F(CxDebugUtilTest, LinesAreAppendedInOrder) {
  m_log.LogMessage(0, "a.cpp", 1, "first");
  m_log.LogMessage(0, "a.cpp", 12345, "second %d", 2);
  const std::string text = LogText();
  const size_t nBreak = text.find("\r\n");
  ASSERT_NE(nBreak, std::string::npos);
  LogLine first, second;
  ASSERT_TRUE(ParseLine(text.substr(0, nBreak + 2), &first)) << text;
  ASSERT_TRUE(ParseLine(text.substr(nBreak + 2), &second)) << text;
  EXPECT_EQ(first.message, "first");
  EXPECT_EQ(second.message, "second 2");
  EXPECT_EQ(second.line, "12345");
}

struct LevelCase {
  const char* szName;
  bool bEnable;
  int nConfigured;  // passed to SetLogLevel as it is
  int nCall;
  bool bWritten;
  const char* szMarker;
};

class CxDebugUtilLevelTest : public CxDebugUtilTest,
                             public ::testing::WithParamInterface<LevelCase> {};

TEST_P(CxDebugUtilLevelTest, WritesOnlyWhatSwitchAndLevelAllow) {
  const LevelCase& c = GetParam();
  m_log.EnableLog(c.bEnable);
  m_log.SetLogLevel(c.nConfigured);
  m_log.LogMessage(c.nCall, "x.cpp", 1, "message");
  if (!c.bWritten) {
    EXPECT_FALSE(std::filesystem::exists(LogPath()));
    return;
  }
  LogLine line;
  ASSERT_TRUE(ParseLine(LogText(), &line)) << LogText();
  EXPECT_EQ(line.marker, c.szMarker);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CxDebugUtilLevelTest,
    ::testing::Values(LevelCase{"OffCriticalStillWritten", false, 3, 0, true, "!!!"},
                      LevelCase{"OffProgressDropped", false, 3, 2, false, ""},
                      LevelCase{"LevelOneDropsProgress", true, 1, 2, false, ""},
                      LevelCase{"LevelOneKeepsHigh", true, 1, 1, true, "   "},
                      LevelCase{"LevelThreeKeepsProgress", true, 3, 2, true, "   "},
                      LevelCase{"LevelThreeKeepsLow", true, 3, 3, true, "   "},
                      LevelCase{"AboveThreeActsAsThree", true, 7, 3, true, "   "},
                      LevelCase{"BelowZeroActsAsZero", true, -2, 1, false, ""},
                      LevelCase{"LevelZeroStillCritical", true, -2, 0, true, "!!!"},
                      LevelCase{"CallAboveThreeNeverWritten", true, 3, 4, false, ""}),
    [](const ::testing::TestParamInfo<LevelCase>& info) { return std::string(info.param.szName); });

struct SourceCase {
  const char* szName;
  const char* szFile;
  std::string expected;  // the source field as written, padding included
};

class CxDebugUtilSourceTest : public CxDebugUtilTest,
                              public ::testing::WithParamInterface<SourceCase> {};

TEST_P(CxDebugUtilSourceTest, WritesTheBaseNamePadded) {
  const SourceCase& c = GetParam();
  if (!Utf8CaseHolds(c.szFile ? c.szFile : "")) GTEST_SKIP() << "a UTF-8 case";
  m_log.LogMessage(0, c.szFile, 7, "x");
  LogLine line;
  ASSERT_TRUE(ParseLine(LogText(), &line)) << LogText();
  EXPECT_EQ(line.source, c.expected);
}

std::string Padded(const std::string& text) {
  return text.size() >= 20 ? text : text + std::string(20 - text.size(), ' ');
}

const std::string kLongName = std::string(300, 'n');
// 254 single bytes then a two-byte character: a cut at 255 bytes would split it.
const std::string kLongUtf8Name = std::string(254, 'u') + "\xC3\xA9.cpp";

INSTANTIATE_TEST_SUITE_P(
    Cases, CxDebugUtilSourceTest,
    ::testing::Values(
        SourceCase{"BackslashPath", "C:\\Dev\\src\\common\\OlAddr.cpp", Padded("OlAddr.cpp")},
        SourceCase{"SlashPath", "/work/main/src/common/outlook/OlDate.cpp", Padded("OlDate.cpp")},
        SourceCase{"MixedSeparators", "src/common\\outlook/OlTask.cpp", Padded("OlTask.cpp")},
        SourceCase{"MixedSeparatorsBackslashLast", "src\\common/outlook\\OlNote.cpp",
                   Padded("OlNote.cpp")},
        SourceCase{"NoSeparator", "Proc.cpp", Padded("Proc.cpp")},
        SourceCase{"Null", nullptr, Padded("<null>")},
        SourceCase{"TrailingSeparator", "src/misc/", Padded("")},
        SourceCase{"LongerThanPaddingNotCut", "dir/AVeryLongSourceFileName_Misc.cpp",
                   "AVeryLongSourceFileName_Misc.cpp"},
        SourceCase{"CutTo255", kLongName.c_str(), std::string(255, 'n')},
        SourceCase{"CutBeforeAWholeCharacter", kLongUtf8Name.c_str(), std::string(254, 'u')}),
    [](const ::testing::TestParamInfo<SourceCase>& info) { return std::string(info.param.szName); });

TEST_F(CxDebugUtilTest, OverlongMessageIsCutBeforeAWholeCharacter) {
  // 40,958 bytes then a two-byte character: the 40,959-byte limit falls inside it.
  const std::string text = std::string(40958, 'm') + "\xC3\xA9" + "tail";
  if (!Utf8CaseHolds(text)) GTEST_SKIP() << "a UTF-8 case";
  m_log.LogMessage(0, "x.cpp", 1, "%s", text.c_str());
  LogLine line;
  ASSERT_TRUE(ParseLine(LogText(), &line));
  EXPECT_EQ(line.message, std::string(40958, 'm'));

  std::filesystem::remove(LogPath());
  const std::string fits = std::string(40957, 'm') + "\xC3\xA9" + "tail";
  m_log.LogMessage(0, "x.cpp", 1, "%s", fits.c_str());
  ASSERT_TRUE(ParseLine(LogText(), &line));
  EXPECT_EQ(line.message, std::string(40957, 'm') + "\xC3\xA9");
}

struct RotationCase {
  const char* szName;
  uintmax_t nExistingSize;
  bool bRotated;
};

class CxDebugUtilRotationTest : public CxDebugUtilTest,
                                public ::testing::WithParamInterface<RotationCase> {};

TEST_P(CxDebugUtilRotationTest, RotatesOnlyPastTenMebibytes) {
  const RotationCase& c = GetParam();
  WriteWholeFile(LogPath(), "");
  std::filesystem::resize_file(LogPath(), c.nExistingSize);
  const std::string oldPath = LogPath() + ".old.log";

  m_log.LogMessage(0, "x.cpp", 1, "after");

  const uintmax_t nSize = std::filesystem::file_size(LogPath());
  if (c.bRotated) {
    ASSERT_TRUE(std::filesystem::exists(oldPath));
    EXPECT_EQ(std::filesystem::file_size(oldPath), c.nExistingSize);
    LogLine line;
    ASSERT_TRUE(ParseLine(LogText(), &line)) << "the new log must hold only the new line";
    EXPECT_EQ(line.message, "after");
  } else {
    EXPECT_FALSE(std::filesystem::exists(oldPath));
    EXPECT_GT(nSize, c.nExistingSize);
    std::string text = LogText();
    LogLine line;
    ASSERT_TRUE(ParseLine(text.substr(c.nExistingSize), &line));
    EXPECT_EQ(line.message, "after");
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, CxDebugUtilRotationTest,
                         ::testing::Values(RotationCase{"Empty", 0, false},
                                           RotationCase{"ExactlyTenMebibytes", 10485760, false},
                                           RotationCase{"OneByteMore", 10485761, true}),
                         [](const ::testing::TestParamInfo<RotationCase>& info) {
                           return std::string(info.param.szName);
                         });

TEST_F(CxDebugUtilTest, RotationReplacesAnOlderCopy) {
  const std::string oldPath = LogPath() + ".old.log";
  WriteWholeFile(oldPath, "older copy");
  WriteWholeFile(LogPath(), "");
  std::filesystem::resize_file(LogPath(), 10485761);
  m_log.LogMessage(0, "x.cpp", 1, "after");
  EXPECT_EQ(std::filesystem::file_size(oldPath), 10485761u);
}

TEST_F(CxDebugUtilTest, MissingFolderLosesTheLineQuietly) {
  const std::string missing = m_tmp.File("no-such-folder") + "/";
  m_log.SetLogFolder(missing.c_str());
  m_log.LogMessage(0, "x.cpp", 1, "lost");
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(CxDebugUtilTest, NullFolderKeepsTheFolder) {
  m_log.SetLogFolder(nullptr);
  m_log.LogMessage(0, "x.cpp", 1, "kept");
  LogLine line;
  ASSERT_TRUE(ParseLine(LogText(), &line));
  EXPECT_EQ(line.message, "kept");
}

TEST_F(CxDebugUtilTest, GlobalLogAndMacroRecordTheCallSite) {
  g_DebugUtil.SetLogFolder(m_tmp.Folder().c_str());
  const int nLine = __LINE__ + 1;
  QM_LOG(0, "folder %s not found", "Contacts");
  g_DebugUtil.SetLogFolder("./");

  LogLine line;
  ASSERT_TRUE(ParseLine(LogText(), &line)) << LogText();
  EXPECT_EQ(line.source, Padded("CxDebugUtil_test.cpp"));
  EXPECT_EQ(std::stoi(line.line), nLine);
  EXPECT_EQ(line.message, "folder Contacts not found");
}

}  // namespace
