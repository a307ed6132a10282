#include <gtest/gtest.h>

#include <sstream>

#include "bench/Report.h"

namespace qmbench {
namespace {

TEST(Report, CountsGroupThousands) {
  const struct {
    int64_t n;
    const char* szText;
  } cases[] = {{0, "0"},           {999, "999"},         {1000, "1,000"},
               {100000, "100,000"}, {1234567, "1,234,567"}, {-12345, "-12,345"}};
  for (const auto& c : cases) EXPECT_EQ(FormatCount(c.n), c.szText) << c.n;
}

TEST(Report, SecondsTakeTheUnitThatReadsBest) {
  const struct {
    double d;
    const char* szText;
  } cases[] = {{2.5, "2.500 s"}, {1.0, "1.000 s"}, {0.0123, "12.3 ms"}, {0.001, "1.0 ms"},
               {0.0000456, "45.6 us"}};
  for (const auto& c : cases) EXPECT_EQ(FormatSeconds(c.d), c.szText) << c.d;
  EXPECT_EQ(FormatPerItem(1.0, 0), "-");
  EXPECT_EQ(FormatPerItem(1.0, 4), "250.0 ms");
}

TEST(Report, MedianOfOddAndEvenCounts) {
  EXPECT_EQ(Median(std::vector<double>{}), 0);
  EXPECT_EQ(Median(std::vector<double>{3, 1, 2}), 2);
  EXPECT_EQ(Median(std::vector<double>{4, 1, 3, 2}), 2.5);
  const Elapsed median = Median(std::vector<Elapsed>{{1, 9}, {3, 7}, {2, 8}});
  EXPECT_EQ(median.dWall, 2);
  EXPECT_EQ(median.dCpu, 8);
}

TEST(Report, VerdictHoldsAtTheLimit) {
  EXPECT_EQ(Verdict(1.5, 1.5), "met");
  EXPECT_EQ(Verdict(1.5001, 1.5), "MISSED");
}

TEST(Report, TablesLineUpTheirColumns) {
  Table table("Title", {"Kind", "N"});
  table.AddRow({"Contacts", "1,000"});
  table.AddRow({"Tasks"});  // a short row is filled with empty cells
  std::ostringstream out;
  table.Print(out);
  EXPECT_EQ(out.str(),
            "\n### Title\n\n"
            "| Kind     | N     |\n"
            "|----------|-------|\n"
            "| Contacts | 1,000 |\n"
            "| Tasks    |       |\n");
}

}  // namespace
}  // namespace qmbench
