// Text conversion, automation dates and IDs: the values every other part of
// the store builds on.
#include <gtest/gtest.h>

#include "olstore/Ids.h"
#include "olstore/OleDate.h"
#include "olstore/Text.h"

namespace olstore {
namespace {

TEST(StoreText, RoundTripsEveryPlane) {
  const std::string samples[] = {"", "plain", "Jos\xC3\xA9 M\xC3\xBCller Stra\xC3\x9F" "e",
                                 "\xE4\xB8\xAD\xE6\x96\x87", "smile \xF0\x9F\x98\x80 end"};
  for (const std::string& sample : samples) EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(sample)), sample);
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), OleString(OLESTR("\xD83D\xDE00")));
}

TEST(StoreText, DamagedInputBecomesReplacementCharacters) {
  struct Case {
    std::string utf8;
    OleString utf16;
  } cases[] = {
      {"a\xFF" "b", OLESTR("a\uFFFD") "b"},  // not a lead byte
      {"\xC3", OLESTR("\uFFFD")},            // cut sequence
      // A sequence that is no character is one replacement, however long.
      {"\xC0\xAF", OLESTR("\uFFFD")},      // overlong form
      {"\xED\xA0\x80", OLESTR("\uFFFD")},  // an encoded surrogate
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
  EXPECT_EQ(Utf16ToUtf8(OleString(1, OLESTR('\xD800'))), "\xEF\xBF\xBD");  // lone surrogate
}

TEST(StoreDates, KnownDatesConvertBothWays) {
  struct Case {
    const char* text;
    double date;
  } cases[] = {
      {"1899-12-30T00:00:00", 0.0},
      {"1899-12-31T00:00:00", 1.0},
      {"1900-01-01T18:00:00", 2.75},
      {"1899-12-29T06:00:00", -1.25},  // negative dates count the time forwards
      {"2024-02-29T12:30:00", 45351.520833333336},
      {"4501-01-01T00:00:00", kNoDate},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatOleDate(c.date), c.text);
    ASSERT_TRUE(ParseOleDate(c.text).has_value()) << c.text;
    EXPECT_NEAR(*ParseOleDate(c.text), c.date, 1e-9) << c.text;
  }
}

TEST(StoreDates, ParsingRefusesWhatIsNotADate) {
  const char* bad[] = {"",           "2024-1-01",           "2024-02-30",     "2024-13-01",
                       "2024-01-01x", "2024-01-01T25:00",   "2024-01-01T10",  "0099-12-31",
                       "2024-01-01T10:00:00.5", "tomorrow"};
  for (const char* text : bad) EXPECT_FALSE(ParseOleDate(text).has_value()) << text;
  EXPECT_NEAR(*ParseOleDate("2024-01-01"), 45292.0, 1e-9);
  EXPECT_NEAR(*ParseOleDate("2024-01-01 06:00"), 45292.25, 1e-9);
  EXPECT_EQ(FormatOleDate(*ParseOleDate("2024-01-01T06:00:00.250")), "2024-01-01T06:00:00.250");
}

TEST(StoreDates, LinearArithmeticCrossesTheEpoch) {
  // One hour before 1899-12-30 01:00 is 1899-12-30 00:00; one more is -1 + 23:00.
  const double start = 1.0 / 24.0;
  EXPECT_NEAR(LinearToOle(OleToLinear(start) - 1.0 / 24.0), 0.0, 1e-12);
  EXPECT_NEAR(LinearToOle(OleToLinear(start) - 2.0 / 24.0), -1.0 - 23.0 / 24.0, 1e-12);
  EXPECT_EQ(OleWeekday(0.0), 6);    // a Saturday
  EXPECT_EQ(OleWeekday(45292.0), 1);  // 2024-01-01, a Monday
}

TEST(StoreIds, AreLongUpperCaseHexAndNormalise) {
  std::mt19937_64 engine(7);
  const std::string entry = NewEntryId(engine);
  const std::string store = NewStoreId(engine);
  EXPECT_GT(store.size(), 300u);
  EXPECT_NE(entry, NewEntryId(engine));
  for (const std::string& id : {entry, store}) {
    EXPECT_EQ(id.size() % 2, 0u);
    EXPECT_EQ(id.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_EQ(NormalizeId(id), id);
  }
  EXPECT_EQ(NormalizeId("00ab"), "00AB");
  for (const char* bad : {"", "ABC", "00XY", "00 1"}) EXPECT_FALSE(NormalizeId(bad)) << bad;
}

}  // namespace
}  // namespace olstore
