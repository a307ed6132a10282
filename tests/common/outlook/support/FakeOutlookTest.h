// The fixture of the tests against the scripted Outlook: a fresh Outlook per
// test, and at the end no connection count left and no reference leaked or
// given back twice.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/outlook/OlComm.h"
#include "common/outlook/support/FakeOutlook.h"
#include "common/outlook/support/OutlookTestEnv.h"

class FakeOutlookTest : public testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(OlBaseUtil::GetUseCount(), 0u);
    m_pOutlook.reset();
    EXPECT_EQ(FakeObject::LiveCount(), 0);
    EXPECT_EQ(FakeObject::OverReleases(), 0);
  }

  // The puts and the save that reached one object, in order.
  static std::vector<std::string> Writes(const FakeObject* pObject) {
    std::vector<std::string> writes;
    for (const std::string& strLine : FakeJournalOf(pObject->Label())) {
      if (strLine.rfind("put ", 0) == 0 || strLine.rfind("Save(", 0) == 0)
        writes.push_back(strLine);
    }
    return writes;
  }
  // The property gets and method calls that reached one object, in order.
  static std::vector<std::string> Reads(const FakeObject* pObject) {
    std::vector<std::string> reads;
    for (const std::string& strLine : FakeJournalOf(pObject->Label())) {
      if (strLine.rfind("put ", 0) != 0) reads.push_back(strLine);
    }
    return reads;
  }

  OutlookTestEnv m_env;
  std::unique_ptr<FakeOutlook> m_pOutlook{new FakeOutlook};
};

// Reads the accessor's folder and hands back the first record's image.
template <typename TUtil>
auto FirstImage(TUtil& util) -> decltype(util.GetContainer()->First()->Image) {
  util.ReadItems();
  auto* pRecord = util.GetContainer()->First();
  return pRecord ? pRecord->Image : nullptr;
}
