#include "common/outlook/support/StoreOutlookTest.h"

#include "common/outlook/OlComm.h"
#include "olstore/olstore.h"

void StoreOutlookTest::SetUp() {
  m_strPath = m_env.Temp().File("store.db");
  m_environment.Set("OLSTORE_PATH", m_strPath);
  std::string strError;
  m_pStore = olstore::Store::Open(m_strPath, strError);
  ASSERT_TRUE(m_pStore) << strError;
  ASSERT_TRUE(olstore::RegisterOutlookApplication()) << olstore::LastError();
}

void StoreOutlookTest::TearDown() {
  EXPECT_EQ(OlBaseUtil::GetUseCount(), 0u);
  olstore::UnregisterOutlookApplication();
  m_pStore.reset();
}

void StoreOutlookTest::Seed(const std::function<void()>& fnSeed) {
  olstore::Transaction transaction(m_pStore->Db());
  ASSERT_TRUE(transaction.Active()) << m_pStore->ErrorMessage();
  fnSeed();
  EXPECT_TRUE(transaction.Commit()) << m_pStore->ErrorMessage();
}

int64_t StoreOutlookTest::Folder(olstore::FolderKind nKind, const std::vector<std::string>& path) {
  std::optional<olstore::FolderRecord> folder = m_pStore->DefaultFolder(nKind);
  for (const std::string& strName : path) {
    if (!folder) break;
    std::optional<olstore::FolderRecord> child = m_pStore->SubfolderByName(folder->id, strName);
    folder = child ? child : m_pStore->CreateFolder(folder->id, strName);
  }
  EXPECT_TRUE(folder) << m_pStore->ErrorMessage();
  return folder ? folder->id : 0;
}

std::string StoreOutlookTest::Add(olstore::ItemKind nKind, int64_t nFolderId,
                                  const StoreValues& values) {
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

olstore::ItemData StoreOutlookTest::Stored(const std::string& strEntryID) {
  std::optional<olstore::ItemData> item = m_pStore->ItemByEntryId(strEntryID);
  EXPECT_TRUE(item) << strEntryID;
  return item ? *item : olstore::ItemData{};
}

std::vector<std::string> StoreOutlookTest::Differences(const olstore::ItemData& before,
                                                       const olstore::ItemData& after) {
  std::vector<std::string> names;
  if (before.entryId != after.entryId) names.push_back("EntryID");
  if (before.folderId != after.folderId) names.push_back("(folder)");
  if (before.created != after.created) names.push_back("CreationTime");
  const auto& props = before.Info().props;
  for (size_t i = 0; i < props.size() && i < before.values.size() && i < after.values.size(); ++i) {
    if (!(before.values[i] == after.values[i])) names.push_back(std::string(props[i].name));
  }
  return names;
}
