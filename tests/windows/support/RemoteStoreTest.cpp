#include "windows/support/RemoteStoreTest.h"

#include "olstore/Seed.h"
#include "olstore/Text.h"
#include "olstore/olstore.h"
#include "windows/support/ServerProcess.h"

void RemoteStoreTest::SetUp() {
  StoreOutlookTest::SetUp();
  if (HasFatalFailure()) return;
  olstore::SeedOptions options;
  options.contacts = 12;
  options.appointments = 8;
  options.tasks = 8;
  options.notes = 6;
  options.today = 46000;  // a fixed day, so the data is the same every run
  olstore::SeedCounts counts;
  std::string strError;
  ASSERT_TRUE(olstore::SeedStore(Store(), options, counts, strError)) << strError;
}

void RemoteStoreTest::TearDown() {
  EXPECT_EQ(RunServer({L"--unregister"}), 0);
  // A server that outlives its last client would keep the next test waiting.
  EXPECT_TRUE(WaitForNoServer());
  KillServers();
  StoreOutlookTest::TearDown();
}

void RemoteStoreTest::UseServer(const std::vector<std::wstring>& extraArgs) {
  olstore::UnregisterOutlookApplication();
  std::vector<std::wstring> args = {L"--register", L"--store",
                                    olstore::Utf8ToUtf16(Store().Path())};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  ASSERT_EQ(RunServer(args), 0);
}

bool RemoteStoreTest::LoggedCritical(const std::string& strText) const {
  for (const LogLine& line : m_env.Log())
    if (line.bCritical && line.strMessage.find(strText) != std::string::npos) return true;
  return false;
}
