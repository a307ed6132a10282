// The program's data folder where the shared data folder can be pointed
// anywhere: here the layer's XDG data folder.
#include "app/Apputil.h"

#include <gtest/gtest.h>

#include "support/Environment.h"
#include "support/TempFolder.h"

namespace {

TEST(AppDataFolder, FailsWhereAFileTakesTheVendorFolder) {
  TempFolder tmp;
  ScopedEnvironment env;
  env.Set("XDG_DATA_HOME", tmp.Path());
  ASSERT_TRUE(WriteWholeFile(tmp.File("norvask"), "not a folder"));
  char szFolder[MAX_PATH] = "untouched";
  EXPECT_FALSE(GetAppDataFolder(szFolder, sizeof(szFolder)));
  EXPECT_STREQ(szFolder, "untouched");
  EXPECT_EQ(ReadWholeFile(tmp.File("norvask")), "not a folder");
}

}  // namespace
