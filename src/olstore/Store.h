// One store: a SQLite database file holding folders and items. Opening checks
// that the file is a store this version understands and may write, creating a
// new one (with its four default folders) when there is no file yet.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "olstore/Item.h"
#include "olstore/Kinds.h"
#include "olstore/Sqlite.h"

namespace olstore {

struct FolderRecord {
  int64_t id = 0;
  int64_t parentId = 0;  // 0 for the root folder
  std::string entryId;
  std::string name;
  FolderKind kind = FolderKind::Root;
  bool isDefault = false;
};

// Locked: another program holds the store's write lock (the wait for it ran out).
enum class SaveResult : uint8_t { Saved, NotFound, Locked, Failed };

class Store;

// A walk over one folder's items in insertion order: one statement steps over
// the folder and each item is built from its row, so the walk reads the
// folder as it stood at its first step.
class ItemWalk {
 public:
  ItemWalk(ItemWalk&&) noexcept = default;
  ItemWalk& operator=(ItemWalk&&) = delete;

  // The next item; none at the end, and none when the store cannot be read:
  // then *failure (when given) says why in the user's terms ("the store is
  // damaged (...)"), while at the end it is left empty.
  std::optional<ItemData> Next(std::string* failure = nullptr);

 private:
  friend class Store;
  ItemWalk(Store& store, Query query, FolderKind folderKind)
      : m_store(&store), m_query(std::move(query)), m_folderKind(folderKind) {}

  Store* m_store;
  Query m_query;
  FolderKind m_folderKind;
};

class Store {
 public:
  // The store at path, created when the file does not exist; null with the
  // reason in error when it cannot be used (not a store, made by a newer
  // version, read-only, locked by another program, ...). A file that is
  // refused is left exactly as it was. With create false a missing file is
  // refused too.
  static std::shared_ptr<Store> Open(const std::string& path, std::string& error,
                                     bool create = true);

  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  const std::string& Path() const { return m_path; }
  const std::string& StoreId() const { return m_storeId; }
  Database& Db() { return m_db; }
  std::string ErrorMessage() const { return m_db.ErrorMessage(); }
  std::mt19937_64& Random() { return m_random; }

  // Folders, children in the order they were made.
  std::optional<FolderRecord> FolderById(int64_t id);
  std::optional<FolderRecord> RootFolder();
  std::optional<FolderRecord> DefaultFolder(FolderKind kind);
  std::vector<FolderRecord> Subfolders(int64_t parentId);
  std::optional<FolderRecord> SubfolderByName(int64_t parentId, std::string_view name);
  // A new subfolder of the parent's kind; null (see ErrorMessage) when the
  // name is empty, holds a path separator or is taken by a sibling.
  std::optional<FolderRecord> CreateFolder(int64_t parentId, std::string_view name);
  // Names from the default folder down, joined by separator ("Contacts/Clients").
  std::string FolderPath(int64_t folderId, std::string_view separator = "/");

  // Items, in insertion order within a folder.
  int64_t CountItems(int64_t folderId);
  // How many items of each kind a folder holds (kinds without items left out).
  std::vector<std::pair<ItemKind, int64_t>> CountByKind(int64_t folderId);
  // The folder's items after afterId (0: all of them). A folder that does not
  // exist has none.
  ItemWalk WalkItems(int64_t folderId, int64_t afterId = 0);
  // The item after afterId, as WalkItems(folderId, afterId).Next(failure).
  std::optional<ItemData> NextItem(int64_t folderId, int64_t afterId,
                                   std::string* failure = nullptr);
  std::optional<ItemData> ItemAt(int64_t folderId, int64_t index);
  std::optional<ItemData> ItemByEntryId(std::string_view entryId);
  // The item's kind, folder, entry ID and times, its values left empty (for
  // LoadValues), so that an item fetched to be changed reads nothing else.
  std::optional<ItemData> ItemHeaderByEntryId(std::string_view entryId);
  // Fills the values of an item from ItemHeaderByEntryId; false when the item
  // is gone or cannot be read.
  bool LoadValues(ItemData& item);
  bool EntryIdExists(std::string_view entryId);

  // Adds the item to its folder. An empty entry ID gets a new one and unset
  // times become now. Runs inside the caller's transaction when there is one.
  bool InsertItem(ItemData& item);
  // Writes the values of the properties at indexes (the stored ones among
  // them) and a new LastModificationTime in one transaction. The texts are
  // bound where they lie.
  SaveResult SaveItem(ItemData& item, std::span<const size_t> indexes);

 private:
  friend class ItemWalk;

  Store() = default;
  bool OpenExisting(const std::string& path, std::string& error);
  // The item of that id and class; none when there is none, with *failure
  // (when given) saying why the item found could not be loaded.
  std::optional<ItemData> LoadAs(int64_t id, int32_t olClass, std::string* failure = nullptr);
  std::optional<FolderRecord> ReadFolder(Query& query);

  Database m_db;
  std::string m_path;
  std::string m_storeId;
  std::mt19937_64 m_random;
};

}  // namespace olstore
