// Runs, previews and undos over a real local store: the store fixture, a run
// journal in the test's folder, one kind's accessor with every item read, and
// the store's export to compare before and after.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "common/misc/CxList.h"
#include "common/outlook/support/StoreOutlookTest.h"
#include "update/CxKindAccess.h"
#include "update/CxRunJournal.h"

// The items of a mode (1, 2, 4 or 8): connected and read.
std::unique_ptr<CxKindAccess> OpenKind(int32_t nMode);

class RunStoreTest : public StoreOutlookTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The whole store as its JSON export.
  nlohmann::json Export();
  // The export without any item's LastModificationTime.
  static nlohmann::json WithoutModificationTimes(nlohmann::json document);

  std::string m_strJournal;
  CxRunJournal m_Journal;
};
