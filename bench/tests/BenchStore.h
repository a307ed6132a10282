// A small store made item by item for the tests of the measuring code, in a
// temporary folder, answering as "Outlook.Application" while the test runs.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench/StoreCache.h"
#include "common/misc/CxDebugUtil.h"
#include "olstore/Item.h"
#include "olstore/Store.h"
#include "olstore/olstore.h"
#include "platform/win32.h"

namespace qmbench {

typedef std::vector<std::pair<std::string, olstore::Value>> ItemValues;

class BenchStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* szTemp = getenv("TMPDIR");
    std::string strTemplate = std::string(szTemp && *szTemp ? szTemp : "/tmp") + "/qmbench-test-XXXXXX";
    ASSERT_NE(mkdtemp(strTemplate.data()), nullptr);
    m_strFolder = strTemplate;
    m_strPath = m_strFolder + "/store.db";
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    g_DebugUtil.SetLogFolder((m_strFolder + "/").c_str());
    std::string strError;
    m_pStore = olstore::Store::Open(m_strPath, strError);
    ASSERT_TRUE(m_pStore) << strError;
    ASSERT_TRUE(olstore::RegisterOutlookApplication()) << olstore::LastError();
  }

  void TearDown() override {
    olstore::UnregisterOutlookApplication();
    m_pStore.reset();
    g_DebugUtil.SetLogFolder("./");
    CoUninitialize();
    std::error_code ec;
    std::filesystem::remove_all(m_strFolder, ec);
  }

  // The folder at path below the kind's default folder, made when missing.
  int64_t Folder(olstore::FolderKind nKind, const std::vector<std::string>& path = {}) {
    std::optional<olstore::FolderRecord> folder = m_pStore->DefaultFolder(nKind);
    for (const std::string& strName : path) {
      if (!folder) break;
      std::optional<olstore::FolderRecord> child = m_pStore->SubfolderByName(folder->id, strName);
      folder = child ? child : m_pStore->CreateFolder(folder->id, strName);
    }
    EXPECT_TRUE(folder) << m_pStore->ErrorMessage();
    return folder ? folder->id : 0;
  }

  // Adds an item; pattern properties make an appointment recurring.
  std::string Add(olstore::ItemKind nKind, int64_t nFolderId, const ItemValues& values) {
    olstore::ItemData item = olstore::NewItem(nKind);
    item.folderId = nFolderId;
    const olstore::KindInfo& info = item.Info();
    for (const auto& [strName, value] : values) {
      size_t nIndex = olstore::FindProperty(info, strName);
      if (nIndex == olstore::kNoIndex) {
        nIndex = olstore::FindProperty(info, strName, olstore::Scope::Pattern);
        if (nIndex != olstore::kNoIndex) olstore::MakeRecurring(item);
      }
      EXPECT_NE(nIndex, olstore::kNoIndex) << strName;
      if (nIndex == olstore::kNoIndex) continue;
      EXPECT_EQ(olstore::SetStoredValue(item, nIndex, value), olstore::PutStatus::Ok) << strName;
    }
    EXPECT_EQ(olstore::CheckItem(item), "");
    EXPECT_TRUE(m_pStore->InsertItem(item)) << m_pStore->ErrorMessage();
    return item.entryId;
  }

  olstore::ItemData Stored(const std::string& strEntryID) {
    std::optional<olstore::ItemData> item = m_pStore->ItemByEntryId(strEntryID);
    EXPECT_TRUE(item) << strEntryID;
    return item ? *item : olstore::ItemData{};
  }

  olstore::Store& Store() { return *m_pStore; }
  const std::string& Path() const { return m_strPath; }

 private:
  std::string m_strFolder;
  std::string m_strPath;
  std::shared_ptr<olstore::Store> m_pStore;
};

}  // namespace qmbench
