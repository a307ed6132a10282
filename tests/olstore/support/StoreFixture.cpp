#include "olstore/support/StoreFixture.h"

#include "olstore/olstore.h"

namespace olstore::test {

void OutlookTest::SetUp() {
  m_storePath = m_dir.File("store.db");
  m_env.Set("OLSTORE_PATH", m_storePath);
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  ASSERT_TRUE(RegisterOutlookApplication()) << LastError();
}

void OutlookTest::TearDown() {
  m_direct.reset();
  UnregisterOutlookApplication();
  CoUninitialize();
}

std::shared_ptr<Store> OutlookTest::DirectStore() {
  if (!m_direct) {
    std::string error;
    m_direct = Store::Open(m_storePath, error);
    EXPECT_TRUE(m_direct) << error;
  }
  return m_direct;
}

std::string OutlookTest::AddItem(ItemKind kind, const PropertyValues& values, int64_t folderId) {
  std::shared_ptr<Store> store = DirectStore();
  ItemData item = NewItem(kind);
  item.folderId = folderId ? folderId : store->DefaultFolder(item.Info().folder)->id;
  for (const auto& [name, value] : values) {
    const size_t index = FindProperty(item.Info(), name, Scope::Item) != kNoIndex
                             ? FindProperty(item.Info(), name, Scope::Item)
                             : FindProperty(item.Info(), name, Scope::Pattern);
    EXPECT_NE(index, kNoIndex) << name;
    if (index != kNoIndex) {
      EXPECT_EQ(SetStoredValue(item, index, value), PutStatus::Ok) << name;
    }
  }
  EXPECT_EQ(CheckItem(item), "");
  EXPECT_TRUE(store->InsertItem(item)) << store->ErrorMessage();
  return item.entryId;
}

int64_t OutlookTest::AddFolder(FolderKind kind, const std::vector<std::string>& path) {
  std::shared_ptr<Store> store = DirectStore();
  int64_t id = store->DefaultFolder(kind)->id;
  for (const std::string& name : path) {
    std::optional<FolderRecord> folder = store->SubfolderByName(id, name);
    if (!folder) folder = store->CreateFolder(id, name);
    EXPECT_TRUE(folder) << name;
    id = folder ? folder->id : 0;
  }
  return id;
}

Obj OutlookTest::CreateApplication(HRESULT* status) {
  CLSID clsid{};
  HRESULT hr = CLSIDFromProgID(OLESTR("Outlook.Application"), &clsid);
  IUnknown* unknown = nullptr;
  if (SUCCEEDED(hr))
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER |
                          CLSCTX_REMOTE_SERVER, IID_IUnknown, reinterpret_cast<void**>(&unknown));
  IDispatch* dispatch = nullptr;
  if (SUCCEEDED(hr)) {
    hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    unknown->Release();
  }
  if (status) *status = hr;
  else EXPECT_EQ(hr, S_OK);
  return Obj(dispatch);
}

Obj OutlookTest::NameSpace() {
  return CreateApplication().CallObject("GetNameSpace", {Var::Text("MAPI")});
}

Obj OutlookTest::DefaultFolder(int32_t olDefaultFolder) {
  return NameSpace().CallObject("GetDefaultFolder", {Var::Int(olDefaultFolder)});
}

Obj OutlookTest::ItemById(const std::string& entryId) {
  return NameSpace().CallObject("GetItemFromID", {Var::Text(entryId)});
}

}  // namespace olstore::test
