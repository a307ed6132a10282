// The two collections of the object model. Both walk in insertion order with
// GetFirst / GetNext, answer Nothing past the end, and index from 1. A step
// the store cannot read fails with the reason.
#include "olstore/Dispatch.h"
#include "olstore/Objects.h"
#include "olstore/Text.h"

namespace olstore {

namespace {

enum Tag : int32_t { kGetFirst, kGetNext, kCount, kItem };

const MemberTable& CollectionMembers() {
  static const MemberTable kMembers({
      {"GetFirst", MemberKind::Method, 0, 0, kGetFirst},
      {"GetNext", MemberKind::Method, 0, 0, kGetNext},
      {"Count", MemberKind::ReadOnlyProperty, 0, 0, kCount},
      {"Item", MemberKind::Method, 1, 1, kItem},
  });
  return kMembers;
}

// A folder's items, read from the store as the walk goes, so that a walk over
// many items holds one item at a time. GetFirst starts the walk again.
class ItemsObject final : public DispatchObject {
 public:
  ItemsObject(std::shared_ptr<Store> store, int64_t folderId)
      : m_store(std::move(store)), m_folderId(folderId) {}

 protected:
  const MemberTable& Members() const override { return CollectionMembers(); }

  HRESULT Get(const Member&, VARIANT* result) override {
    return ReturnInt(result, static_cast<int32_t>(m_store->CountItems(m_folderId)));
  }

  HRESULT Call(const Member& member, std::span<const VARIANT* const> args,
               VARIANT* result) override {
    if (member.tag == kItem) {
      const std::optional<int32_t> index = IntFromVariant(*args[0]);
      if (!index) return DISP_E_TYPEMISMATCH;
      std::optional<ItemData> item = m_store->ItemAt(m_folderId, int64_t{*index} - 1);
      if (!item) return kDispEBadIndex;
      return ReturnObject(result, NewItemObject(m_store, std::move(*item)));
    }
    if (member.tag == kGetFirst) {
      // The old walk's statement goes back to the store before the new one is made.
      m_walk.reset();
      m_failure.clear();
      m_ended = false;
    }
    if (!m_walk && !m_ended) m_walk.emplace(m_store->WalkItems(m_folderId));
    std::optional<ItemData> item;
    if (m_walk && m_failure.empty()) item = m_walk->Next(&m_failure);
    // A store that cannot be read must not look like the end of the folder,
    // now or at any later step of this walk.
    if (!m_failure.empty()) return Raise(E_FAIL, m_failure);
    if (!item) {
      m_walk.reset();
      m_ended = true;
      return ReturnNothing(result);
    }
    return ReturnObject(result, NewItemObject(m_store, std::move(*item)));
  }

 private:
  std::shared_ptr<Store> m_store;
  int64_t m_folderId;
  std::optional<ItemWalk> m_walk;  // none before the first step and after the end
  bool m_ended = false;
  std::string m_failure;  // why the walk stopped early
};

class FoldersObject final : public DispatchObject {
 public:
  FoldersObject(std::shared_ptr<Store> store, std::vector<FolderRecord> folders)
      : m_store(std::move(store)), m_folders(std::move(folders)) {}

 protected:
  const MemberTable& Members() const override { return CollectionMembers(); }

  HRESULT Get(const Member&, VARIANT* result) override {
    return ReturnInt(result, static_cast<int32_t>(m_folders.size()));
  }

  HRESULT Call(const Member& member, std::span<const VARIANT* const> args,
               VARIANT* result) override {
    if (member.tag == kItem) return ItemOf(*args[0], result);
    if (member.tag == kGetFirst) m_next = 0;
    if (m_next >= m_folders.size()) return ReturnNothing(result);
    return ReturnObject(result, NewFolder(m_store, m_folders[m_next++]));
  }

 private:
  // Folders.Item takes a 1-based index or a folder name.
  HRESULT ItemOf(const VARIANT& key, VARIANT* result) {
    if (const std::optional<int32_t> index = IntFromVariant(key)) {
      if (*index < 1 || static_cast<size_t>(*index) > m_folders.size()) return kDispEBadIndex;
      return ReturnObject(result, NewFolder(m_store, m_folders[static_cast<size_t>(*index) - 1]));
    }
    const std::optional<std::string> name = TextFromVariant(key);
    if (!name) return DISP_E_TYPEMISMATCH;
    for (const FolderRecord& folder : m_folders)
      if (EqualsNoCase(folder.name, *name)) return ReturnObject(result, NewFolder(m_store, folder));
    return kMapiENotFound;
  }

  std::shared_ptr<Store> m_store;
  std::vector<FolderRecord> m_folders;
  size_t m_next = 0;
};

}  // namespace

IDispatch* NewItems(std::shared_ptr<Store> store, int64_t folderId) {
  return new ItemsObject(std::move(store), folderId);
}

IDispatch* NewFolders(std::shared_ptr<Store> store, std::vector<FolderRecord> folders) {
  return new FoldersObject(std::move(store), std::move(folders));
}

}  // namespace olstore
