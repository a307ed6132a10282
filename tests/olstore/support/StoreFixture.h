// A store in a temporary folder per test, found through OLSTORE_PATH, with
// "Outlook.Application" registered on a COM-initialised thread.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "olstore/Item.h"
#include "olstore/Store.h"
#include "olstore/support/Automation.h"
#include "support/Environment.h"
#include "support/TempFolder.h"

namespace olstore::test {

using PropertyValues = std::vector<std::pair<std::string, Value>>;

class OutlookTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The store opened directly, to arrange items before Outlook reads them.
  std::shared_ptr<Store> DirectStore();
  // Adds an item (stored values by property name) to the kind's default
  // folder or to folderId; returns its entry ID.
  std::string AddItem(ItemKind kind, const PropertyValues& values, int64_t folderId = 0);
  int64_t AddFolder(FolderKind kind, const std::vector<std::string>& path);

  // CoCreateInstance("Outlook.Application") and its MAPI namespace.
  Obj CreateApplication(HRESULT* status = nullptr);
  Obj NameSpace();
  Obj DefaultFolder(int32_t olDefaultFolder);
  Obj ItemById(const std::string& entryId);

  TempFolder m_dir{"olstore"};
  std::string m_storePath;
  ScopedEnvironment m_env;

 private:
  std::shared_ptr<Store> m_direct;
};

}  // namespace olstore::test
