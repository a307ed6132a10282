// The MAPI namespace: the default folders, items by entry ID, and the store's
// folder tree.
#include "olstore/Dispatch.h"
#include "olstore/Ids.h"
#include "olstore/Objects.h"
#include "olstore/Text.h"

namespace olstore {

namespace {

enum Tag : int32_t { kGetDefaultFolder, kGetItemFromID, kFolders, kType, kApplication };

class NameSpaceObject final : public DispatchObject {
 public:
  NameSpaceObject(std::shared_ptr<Store> store, IDispatch* application)
      : m_store(std::move(store)), m_application(application) {
    m_application->AddRef();  // the namespace keeps Outlook running
  }

 protected:
  ~NameSpaceObject() override { m_application->Release(); }

  const MemberTable& Members() const override {
    static const MemberTable kMembers({
        {"GetDefaultFolder", MemberKind::Method, 1, 1, kGetDefaultFolder},
        {"GetItemFromID", MemberKind::Method, 1, 2, kGetItemFromID},
        {"Folders", MemberKind::ReadOnlyProperty, 0, 0, kFolders},
        {"Type", MemberKind::ReadOnlyProperty, 0, 0, kType},
        {"Application", MemberKind::ReadOnlyProperty, 0, 0, kApplication},
    });
    return kMembers;
  }

  HRESULT Get(const Member& member, VARIANT* result) override {
    switch (member.tag) {
      case kFolders: {
        std::optional<FolderRecord> root = m_store->RootFolder();
        if (!root) return E_FAIL;
        return ReturnObject(result, NewFolders(m_store, {*root}));
      }
      case kApplication:
        m_application->AddRef();
        return ReturnObject(result, m_application);
      default: return ReturnText(result, "MAPI");
    }
  }

  HRESULT Call(const Member& member, std::span<const VARIANT* const> args,
               VARIANT* result) override {
    if (member.tag == kGetDefaultFolder) return GetDefaultFolder(*args[0], result);
    return GetItemFromID(args, result);
  }

 private:
  HRESULT GetDefaultFolder(const VARIANT& which, VARIANT* result) {
    const std::optional<int32_t> id = IntFromVariant(which);
    if (!id) return DISP_E_TYPEMISMATCH;
    const std::optional<FolderKind> kind = FolderKindFromDefaultId(*id);
    if (!kind) return E_INVALIDARG;  // a default folder this store does not keep
    std::optional<FolderRecord> folder = m_store->DefaultFolder(*kind);
    if (!folder) return E_FAIL;
    return ReturnObject(result, NewFolder(m_store, std::move(*folder)));
  }

  // GetItemFromID(EntryIDItem [, EntryIDStore]): the store ID, when given,
  // must be this store's, as it would have to name an open store in Outlook.
  HRESULT GetItemFromID(std::span<const VARIANT* const> args, VARIANT* result) {
    const std::optional<std::string> entryId = TextFromVariant(*args[0]);
    if (!entryId) return DISP_E_TYPEMISMATCH;
    if (args.size() > 1 && !IsMissing(*args[1])) {
      const std::optional<std::string> storeId = TextFromVariant(*args[1]);
      if (!storeId) return DISP_E_TYPEMISMATCH;
      if (!IsWellFormedId(*storeId)) return kMapiEInvalidEntryId;
      if (!EqualsNoCase(*storeId, m_store->StoreId())) return kMapiENotFound;
    }
    if (!IsWellFormedId(*entryId)) return kMapiEInvalidEntryId;
    std::optional<ItemData> item = m_store->ItemHeaderByEntryId(*entryId);
    if (!item) return kMapiENotFound;
    return ReturnObject(result, NewItemObject(m_store, std::move(*item), false));
  }

  std::shared_ptr<Store> m_store;
  IDispatch* m_application;
};

}  // namespace

IDispatch* NewNameSpace(std::shared_ptr<Store> store, IDispatch* application) {
  return new NameSpaceObject(std::move(store), application);
}

}  // namespace olstore
