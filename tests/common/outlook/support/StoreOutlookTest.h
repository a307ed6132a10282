// The fixture of the tests against the real local store: a fresh store file
// in a temporary folder, found through OLSTORE_PATH, registered as
// "Outlook.Application", with helpers to arrange folders and items directly
// in the store and to look at an item's stored values afterwards.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/outlook/support/OutlookTestEnv.h"
#include "olstore/Item.h"
#include "olstore/Store.h"
#include "support/Environment.h"

typedef std::vector<std::pair<std::string, olstore::Value>> StoreValues;

class StoreOutlookTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  olstore::Store& Store() { return *m_pStore; }
  const std::string& StoreId() const { return m_pStore->StoreId(); }
  // Runs the arranging steps in one store transaction (much faster than one
  // transaction per item).
  void Seed(const std::function<void()>& fnSeed);
  // The folder at path below the kind's default folder, made when missing;
  // an empty path is the default folder itself.
  int64_t Folder(olstore::FolderKind nKind, const std::vector<std::string>& path = {});
  // Adds an item with these stored values (pattern values of an appointment
  // make it recurring); returns its entry ID.
  std::string Add(olstore::ItemKind nKind, int64_t nFolderId, const StoreValues& values);
  // The item as the store holds it now.
  olstore::ItemData Stored(const std::string& strEntryID);
  // Closes the fixture's own connection, so the file holds everything and can
  // be damaged on purpose; Store() and what uses it are gone afterwards.
  void CloseStore() { m_pStore.reset(); }
  const std::string& StorePath() const { return m_strPath; }
  // The names of the properties whose stored values differ between two states
  // of an item.
  static std::vector<std::string> Differences(const olstore::ItemData& before,
                                              const olstore::ItemData& after);

  OutlookTestEnv m_env;

 private:
  ScopedEnvironment m_environment;
  std::string m_strPath;
  std::shared_ptr<olstore::Store> m_pStore;
};
