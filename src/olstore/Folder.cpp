// A folder: its names and IDs, its items and its direct subfolders.
#include "olstore/Dispatch.h"
#include "olstore/Objects.h"

namespace olstore {

namespace {

enum Tag : int32_t { kName, kEntryID, kStoreID, kItems, kFolders, kDefaultItemType, kFolderPath };

class FolderObject final : public DispatchObject {
 public:
  FolderObject(std::shared_ptr<Store> store, FolderRecord folder)
      : m_store(std::move(store)), m_folder(std::move(folder)) {}

 protected:
  const MemberTable& Members() const override {
    static const MemberTable kMembers({
        {"Name", MemberKind::ReadOnlyProperty, 0, 0, kName},
        {"EntryID", MemberKind::ReadOnlyProperty, 0, 0, kEntryID},
        {"StoreID", MemberKind::ReadOnlyProperty, 0, 0, kStoreID},
        {"Items", MemberKind::ReadOnlyProperty, 0, 0, kItems},
        {"Folders", MemberKind::ReadOnlyProperty, 0, 0, kFolders},
        {"DefaultItemType", MemberKind::ReadOnlyProperty, 0, 0, kDefaultItemType},
        {"FolderPath", MemberKind::ReadOnlyProperty, 0, 0, kFolderPath},
    });
    return kMembers;
  }

  HRESULT Get(const Member& member, VARIANT* result) override {
    switch (member.tag) {
      case kName: return ReturnText(result, m_folder.name);
      case kEntryID: return ReturnText(result, m_folder.entryId);
      case kStoreID: return ReturnText(result, m_store->StoreId());
      case kItems: return ReturnObject(result, NewItems(m_store, m_folder.id));
      case kFolders: return ReturnObject(result, NewFolders(m_store, m_store->Subfolders(m_folder.id)));
      case kDefaultItemType: return ReturnInt(result, FolderItemType(m_folder.kind));
      default: return ReturnText(result, FolderPath());
    }
  }

 private:
  // Outlook's form: "\\<store>\<folder>\<subfolder>".
  std::string FolderPath() {
    std::string path = "\\\\" + std::string(DefaultFolderName(FolderKind::Root));
    const std::string below = m_store->FolderPath(m_folder.id, "\\");
    return below.empty() ? path : path + "\\" + below;
  }

  std::shared_ptr<Store> m_store;
  FolderRecord m_folder;
};

}  // namespace

IDispatch* NewFolder(std::shared_ptr<Store> store, FolderRecord folder) {
  return new FolderObject(std::move(store), std::move(folder));
}

}  // namespace olstore
