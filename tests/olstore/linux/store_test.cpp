// Where the store lives by default on Linux: the XDG data folder, else the
// one under the home folder.
#include <gtest/gtest.h>

#include <string>

#include "olstore/olstore.h"
#include "support/Environment.h"

namespace olstore {
namespace {

TEST(StorePath, FollowsTheXdgDataFolder) {
  struct Case {
    const char* xdgDataHome;
    const char* home;
    std::string expected;
  } cases[] = {
      {"/data", "/home/u", "/data/olstore/store.db"},
      {"relative/data", "/home/u", "/home/u/.local/share/olstore/store.db"},
      {"", "/home/v", "/home/v/.local/share/olstore/store.db"},
      {nullptr, "/home/u", "/home/u/.local/share/olstore/store.db"},
  };
  ScopedEnvironment env;
  env.Set("OLSTORE_PATH", nullptr);
  for (const Case& c : cases) {
    env.Set("XDG_DATA_HOME", c.xdgDataHome);
    env.Set("HOME", c.home);
    EXPECT_EQ(ResolveStorePath(), c.expected) << (c.xdgDataHome ? c.xdgDataHome : "(unset)");
  }
}

}  // namespace
}  // namespace olstore
