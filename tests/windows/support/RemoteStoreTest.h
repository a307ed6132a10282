// Tests against the store's out-of-process automation server: a seeded store
// in a temporary folder, read first in this process (the store registered
// here, through real COM all the same), then through the server, which COM
// starts from its registration in the test prefix.
#pragma once

#include <string>
#include <vector>

#include "common/outlook/support/StoreOutlookTest.h"

class RemoteStoreTest : public StoreOutlookTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // From here on "Outlook.Application" is the server on this test's store,
  // started with these further arguments.
  void UseServer(const std::vector<std::wstring>& extraArgs = {});

  // Whether some line of the log, at level 0, contains this text.
  bool LoggedCritical(const std::string& strText) const;
};
