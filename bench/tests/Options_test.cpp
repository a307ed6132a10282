#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/Options.h"

namespace qmbench {
namespace {

bool Parse(std::vector<std::string> args, Options& options, std::string& strMessage) {
  args.insert(args.begin(), "qmbench");
  std::vector<char*> argv;
  for (std::string& strArg : args) argv.push_back(strArg.data());
  return ParseOptions(static_cast<int>(argv.size()), argv.data(), options, strMessage);
}

TEST(Options, DefaultsMeasureEverythingAtThreeSizes) {
  Options options;
  std::string strMessage;
  ASSERT_TRUE(Parse({}, options, strMessage)) << strMessage;
  EXPECT_EQ(options.sizes, (std::vector<int64_t>{1000, 10000, 100000}));
  EXPECT_EQ(options.kinds.size(), 4u);
  for (const char* szMeasure : {"read", "apply", "save", "batch", "list", "memory", "startup"})
    EXPECT_TRUE(options.Wants(szMeasure)) << szMeasure;
  EXPECT_EQ(options.RepsFor(10000), 5);
  EXPECT_EQ(options.RepsFor(10001), 3);
  EXPECT_FALSE(options.strCacheFolder.empty());
}

TEST(Options, ValuesReplaceTheDefaults) {
  Options options;
  std::string strMessage;
  ASSERT_TRUE(Parse({"--sizes", "10,20", "--kinds", "notes", "--only", "read,save", "--reps", "2",
                     "--cache", "/c", "--work-dir", "/w", "--startup-runs", "4"},
                    options, strMessage))
      << strMessage;
  EXPECT_EQ(options.sizes, (std::vector<int64_t>{10, 20}));
  EXPECT_EQ(options.kinds, (std::vector<std::string>{"notes"}));
  EXPECT_TRUE(options.Wants("read"));
  EXPECT_TRUE(options.Wants("save"));
  EXPECT_FALSE(options.Wants("apply"));
  EXPECT_EQ(options.RepsFor(100000), 2);
  EXPECT_EQ(options.nStartupRuns, 4);
  EXPECT_EQ(options.strCacheFolder, "/c");
  EXPECT_EQ(options.strWorkFolder, "/w");
}

TEST(Options, ChildModesTakeTheirArguments) {
  Options options;
  std::string strMessage;
  ASSERT_TRUE(Parse({"--child-memory", "tasks", "/s.db"}, options, strMessage)) << strMessage;
  EXPECT_EQ(options.strChildMemoryKind, "tasks");
  EXPECT_EQ(options.strChildMemoryStore, "/s.db");
  ASSERT_TRUE(Parse({"--child-startup"}, options, strMessage)) << strMessage;
  EXPECT_TRUE(options.bChildStartup);
}

TEST(Options, RefusesWhatItCannotUse) {
  const std::vector<std::vector<std::string>> cases = {
      {"--sizes", "0"},       {"--sizes", "10,x"},  {"--sizes", ","},      {"--kinds", "mail"},
      {"--kinds", ""},        {"--only", "speed"},  {"--reps", "0"},       {"--reps", "1001"},
      {"--reps"},             {"--child-memory", "tasks"},                 {"--frobnicate", "1"},
      {"--help"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(args.front() + (args.size() > 1 ? " " + args[1] : ""));
    Options options;
    std::string strMessage;
    EXPECT_FALSE(Parse(args, options, strMessage));
    EXPECT_NE(strMessage.find("usage: qmbench"), std::string::npos);
  }
}

}  // namespace
}  // namespace qmbench
