#include "support/TestStore.h"

#include "olstore/olstore.h"
#include "platform/win32.h"

namespace {

olstore::FolderKind FolderOf(olstore::ItemKind nKind) { return olstore::Kind(nKind).folder; }

}  // namespace

TestStore::TestStore(const std::string& strPath) : m_bRegistered(false) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  m_pStore = olstore::Store::Open(strPath, m_strError);
  if (!m_pStore) return;
  m_bRegistered = olstore::RegisterOutlookApplication();
  if (!m_bRegistered) m_strError = olstore::LastError();
}

TestStore::~TestStore() {
  if (m_bRegistered) olstore::UnregisterOutlookApplication();
}

std::string TestStore::Add(olstore::ItemKind nKind, const StoreValues& values) {
  if (!m_pStore) return std::string();
  const std::optional<olstore::FolderRecord> folder = m_pStore->DefaultFolder(FolderOf(nKind));
  if (!folder) return std::string();
  olstore::ItemData item = olstore::NewItem(nKind);
  item.folderId = folder->id;
  for (const auto& [strName, value] : values) {
    const size_t nIndex = olstore::FindProperty(item.Info(), strName);
    if (nIndex == olstore::kNoIndex ||
        olstore::SetStoredValue(item, nIndex, value) != olstore::PutStatus::Ok)
      return std::string();
  }
  if (!olstore::CheckItem(item).empty() || !m_pStore->InsertItem(item)) return std::string();
  return item.entryId;
}

std::string TestStore::Text(const std::string& strEntryID, const std::string& strProperty) {
  if (!m_pStore) return std::string();
  const std::optional<olstore::ItemData> item = m_pStore->ItemByEntryId(strEntryID);
  if (!item) return std::string();
  const size_t nIndex = olstore::FindProperty(item->Info(), strProperty);
  if (nIndex == olstore::kNoIndex) return std::string();
  const olstore::Value value = olstore::GetValue(*item, nIndex);
  const std::string* pText = std::get_if<std::string>(&value);
  return pText ? *pText : std::string();
}

bool TestStore::Remove(const std::string& strEntryID) {
  if (!m_pStore) return false;
  // The kind's own row goes with it (ON DELETE CASCADE).
  olstore::Query query = m_pStore->Db().Prepare("DELETE FROM items WHERE entry_id = ?");
  return query.Bind(1, strEntryID).Run() && m_pStore->Db().Changes() == 1;
}
