#include "olstore/Store.h"

#include <sqlite3.h>

#include <filesystem>

#include "olstore/Files.h"
#include "olstore/Ids.h"
#include "olstore/Schema.h"

namespace olstore {

namespace {

// Long enough for another program's save to finish, short enough that a store
// held by a stuck program is reported rather than waited on.
constexpr int kBusyTimeoutMs = 1500;

constexpr std::string_view kItemColumns =
    "i.id, i.folder_id, i.class, i.entry_id, i.created, i.modified";
constexpr int kFirstValueColumn = 6;

constexpr std::string_view kIncomplete = "the store is damaged (an item is incomplete)";

// The statements of one kind, made from its property table.
struct KindSql {
  std::vector<size_t> stored;  // indexes of the properties with a column
  std::string columns;         // ", k.col1, k.col2, ..." in that order
  std::string select;          // one item by id
  std::string insert;
};

std::string Quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

KindSql MakeKindSql(const KindInfo& info) {
  KindSql sql;
  std::string columns, params;
  int param = 2;  // ?1 is the item id
  for (size_t i = 0; i < info.props.size(); ++i) {
    if (!info.props[i].stored) continue;
    sql.stored.push_back(i);
    const std::string column = Quoted(info.props[i].name);
    const std::string placeholder = "?" + std::to_string(param++);
    sql.columns += ", k." + column;
    columns += ", " + column;
    params += ", " + placeholder;
  }
  const std::string table(info.table);
  sql.select = "SELECT " + std::string(kItemColumns) + sql.columns + " FROM items i JOIN " +
               table + " k ON k.item_id = i.id WHERE i.id = ?1";
  sql.insert = "INSERT INTO " + table + " (item_id" + columns + ") VALUES (?1" + params + ")";
  return sql;
}

const KindSql& SqlFor(ItemKind kind) {
  static const std::vector<KindSql> kSql = [] {
    std::vector<KindSql> all;
    for (const KindInfo& info : AllKinds()) all.push_back(MakeKindSql(info));
    return all;
  }();
  return kSql[static_cast<size_t>(kind)];
}

// The walk over a folder of one kind: every item of the folder with the values
// of each kind such folders hold (a contacts folder also holds distribution
// lists), one row per item. Each kind's part starts with its table's item_id,
// which is null when the item has no row there.
struct WalkSql {
  std::string select;
  std::vector<std::pair<ItemKind, int>> parts;  // a kind and its part's first column
};

WalkSql MakeWalkSql(FolderKind folderKind) {
  WalkSql sql;
  std::string columns, joins;
  int column = kFirstValueColumn;
  for (const KindInfo& info : AllKinds()) {
    if (info.folder != folderKind) continue;
    const std::string alias = "k" + std::to_string(sql.parts.size());
    const KindSql& kindSql = SqlFor(info.kind);
    sql.parts.emplace_back(info.kind, column);
    std::string kindColumns = kindSql.columns;
    for (size_t at = 0; (at = kindColumns.find(", k.", at)) != std::string::npos; at += 2)
      kindColumns.replace(at + 2, 1, alias);
    columns += ", " + alias + ".item_id" + kindColumns;
    joins += " LEFT JOIN " + std::string(info.table) + " " + alias + " ON " + alias +
             ".item_id = i.id";
    column += 1 + static_cast<int>(kindSql.stored.size());
  }
  sql.select = "SELECT " + std::string(kItemColumns) + columns + " FROM items i" + joins +
               " WHERE i.folder_id = ?1 AND i.id > ?2 ORDER BY i.id";
  return sql;
}

const WalkSql& WalkSqlFor(FolderKind folderKind) {
  static const std::vector<WalkSql> kSql = [] {
    std::vector<WalkSql> all;
    for (FolderKind kind : {FolderKind::Root, FolderKind::Contacts, FolderKind::Calendar,
                            FolderKind::Tasks, FolderKind::Notes})
      all.push_back(MakeWalkSql(kind));
    return all;
  }();
  return kSql[static_cast<size_t>(folderKind)];
}

Value ReadValue(const Query& query, int column, ValueType type) {
  switch (type) {
    case ValueType::Int: return static_cast<int32_t>(query.Int(column));
    case ValueType::Bool: return query.Int(column) != 0;
    case ValueType::Date: return query.IsNull(column) ? kNoDate : query.Double(column);
    case ValueType::Text:
    case ValueType::Members: break;
  }
  return query.Text(column);
}

// The item of a row that starts with kItemColumns, its values left empty.
ItemData HeaderFromRow(const Query& row, ItemKind kind) {
  ItemData item;
  item.kind = kind;
  item.id = row.Int(0);
  item.folderId = row.Int(1);
  item.entryId = row.Text(3);
  item.created = row.Double(4);
  item.modified = row.Double(5);
  return item;
}

// The item of a row that starts with kItemColumns and holds the kind's stored
// values from firstValue on, in property order.
ItemData ItemFromRow(const Query& row, ItemKind kind, int firstValue) {
  ItemData item = HeaderFromRow(row, kind);
  const auto& props = item.Info().props;
  item.values.reserve(props.size());
  int column = firstValue;
  for (const PropDef& prop : props)
    item.values.push_back(prop.stored ? ReadValue(row, column++, prop.type) : DefaultValue(prop));
  return item;
}

void BindValue(Query& query, int index, const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) query.Bind(index, std::string_view(*text));
  else if (const auto* number = std::get_if<int32_t>(&value)) query.Bind(index, int64_t{*number});
  else if (const auto* flag = std::get_if<bool>(&value)) query.Bind(index, int64_t{*flag ? 1 : 0});
  else if (IsNoDate(std::get<double>(value))) query.BindNull(index);
  else query.Bind(index, std::get<double>(value));
}

std::string FolderSelect(std::string_view where) {
  return "SELECT id, parent_id, entry_id, name, kind, is_default FROM folders " + std::string(where);
}

bool IsBusy(int code) {
  const int primary = code & 0xFF;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

// Why a database error keeps the store from being used, in the user's terms.
std::string Explain(const Database& db) {
  const int code = db.ErrorCode() & 0xFF;
  if (code == SQLITE_NOTADB) return "the file is not a store (not a database)";
  if (IsBusy(code)) return "the store is locked by another program";
  if (code == SQLITE_READONLY) return "the store is read-only";
  if (code == SQLITE_CORRUPT) return "the store is damaged (" + db.ErrorMessage() + ")";
  return db.ErrorMessage();
}

std::string WriteProtection(const std::string& path) {
  switch (ProbeFile(path)) {
    case FileState::NotAFile:
      return "the path is not a file";
    case FileState::ReadOnlyFile:
      return "the store is read-only";
    default:
      return {};
  }
}

bool ApplyMigrations(Database& db, int64_t fromVersion, std::string& error) {
  for (const Migration& migration : Migrations()) {
    if (migration.version <= fromVersion) continue;
    Transaction tx(db);
    if (!tx.Active() || !db.Exec(migration.sql) ||
        !db.Exec("PRAGMA user_version = " + std::to_string(migration.version)) || !tx.Commit()) {
      error = "cannot bring the store to version " + std::to_string(migration.version) + ": " +
              Explain(db);
      return false;
    }
  }
  return true;
}

bool InsertFolder(Database& db, int64_t parentId, std::string_view entryId, std::string_view name,
                  FolderKind kind, bool isDefault) {
  Query query = db.Prepare(
      "INSERT INTO folders (parent_id, entry_id, name, kind, is_default) VALUES (?1, ?2, ?3, ?4, ?5)");
  if (parentId == 0) query.BindNull(1);
  else query.Bind(1, parentId);
  query.Bind(2, entryId).Bind(3, name).Bind(4, int64_t{static_cast<int>(kind)});
  query.Bind(5, int64_t{isDefault ? 1 : 0});
  return query.Run();
}

// Builds a complete new store under a temporary name and only then gives it
// the real name, so no half-made store is ever found at the path.
bool CreateStoreFile(const std::string& path, std::mt19937_64& random, std::string& error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path parent = PathFromUtf8(path).parent_path();
  if (!parent.empty() && !fs::create_directories(parent, ec) && ec) {
    const std::u8string folder = parent.u8string();
    error = "cannot create the folder " + std::string(folder.begin(), folder.end()) + ": " +
            ec.message();
    return false;
  }
  const std::string temp = path + ".new-" + std::to_string(CurrentProcessId()) + "-" +
                           NewEntryId(random).substr(40, 8);
  auto removeTemp = [&temp] {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) RemoveFile(temp + suffix);
  };
  {
    Database db;
    bool ok = db.Open(temp, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) &&
              db.Exec("PRAGMA journal_mode = WAL") && ApplyMigrations(db, 0, error);
    if (ok) {
      Transaction tx(db);
      Query info = db.Prepare("INSERT INTO store_info (key, value) VALUES (?1, ?2)");
      ok = tx.Active() && db.Exec("PRAGMA application_id = " + std::to_string(kApplicationId)) &&
           info.Bind(1, std::string_view("store_id")).Bind(2, std::string_view(NewStoreId(random))).Run() &&
           InsertFolder(db, 0, NewEntryId(random), DefaultFolderName(FolderKind::Root),
                        FolderKind::Root, false);
      const int64_t rootId = db.LastInsertId();
      for (FolderKind kind : {FolderKind::Contacts, FolderKind::Calendar, FolderKind::Tasks,
                              FolderKind::Notes})
        ok = ok && InsertFolder(db, rootId, NewEntryId(random), DefaultFolderName(kind), kind, true);
      ok = ok && tx.Commit();
    }
    if (!ok) {
      if (error.empty()) error = "cannot create the store: " + db.ErrorMessage();
      db.Close();
      removeTemp();
      return false;
    }
  }
  // A store another program created meanwhile wins.
  std::string publishError;
  const bool published = PublishNewFile(temp, path, publishError);
  removeTemp();
  if (!published) error = "cannot create the store: " + publishError;
  return published;
}

}  // namespace

std::shared_ptr<Store> Store::Open(const std::string& path, std::string& error, bool create) {
  error.clear();
  if (path.empty()) {
    error = "no store path given";
    return nullptr;
  }
  std::shared_ptr<Store> store(new Store());
  store->m_random = MakeRandomEngine();
  store->m_path = path;
  if (ProbeFile(path) == FileState::Missing) {
    if (!create) {
      error = "there is no store at " + path;
      return nullptr;
    }
    if (!CreateStoreFile(path, store->m_random, error)) return nullptr;
  }
  if (!store->OpenExisting(path, error)) return nullptr;
  return store;
}

bool Store::OpenExisting(const std::string& path, std::string& error) {
  error = WriteProtection(path);
  if (!error.empty()) return false;
  if (!m_db.Open(path, SQLITE_OPEN_READWRITE)) {
    error = m_db.ErrorMessage();
    return false;
  }
  m_db.SetBusyTimeout(kBusyTimeoutMs);

  // Only reads until the file has shown that it is a store of a known version.
  const std::optional<int64_t> appId = m_db.QueryInt("PRAGMA application_id");
  if (!appId) {
    error = Explain(m_db);
    return false;
  }
  const std::optional<int64_t> version = m_db.QueryInt("PRAGMA user_version");
  if (*appId != kApplicationId || !version) {
    error = "the file is not a store";
    return false;
  }
  if (*version > CurrentSchemaVersion()) {
    error = "the store was made by a newer version (schema " + std::to_string(*version) +
            "; this version knows up to " + std::to_string(CurrentSchemaVersion()) + ")";
    return false;
  }
  {
    // Whether the store can be written now, before anything is changed.
    Transaction probe(m_db);
    if (!probe.Active()) {
      error = Explain(m_db);
      return false;
    }
  }
  if (!m_db.Exec("PRAGMA journal_mode = WAL") || !m_db.Exec("PRAGMA foreign_keys = ON") ||
      !ApplyMigrations(m_db, *version, error)) {
    if (error.empty()) error = Explain(m_db);
    return false;
  }
  Query query = m_db.Prepare("SELECT value FROM store_info WHERE key = 'store_id'");
  if (!query.Next()) {
    // A page that cannot be read hides the ID it may well hold.
    error = query.Failed() ? Explain(m_db) : "the file is not a store (it has no store ID)";
    return false;
  }
  m_storeId = query.Text(0);
  return true;
}

std::optional<FolderRecord> Store::ReadFolder(Query& query) {
  if (!query.Next()) return std::nullopt;
  FolderRecord folder;
  folder.id = query.Int(0);
  folder.parentId = query.IsNull(1) ? 0 : query.Int(1);
  folder.entryId = query.Text(2);
  folder.name = query.Text(3);
  folder.kind = static_cast<FolderKind>(query.Int(4));
  folder.isDefault = query.Int(5) != 0;
  return folder;
}


std::optional<FolderRecord> Store::FolderById(int64_t id) {
  Query query = m_db.Prepare(FolderSelect("WHERE id = ?1"));
  query.Bind(1, id);
  return ReadFolder(query);
}

std::optional<FolderRecord> Store::RootFolder() {
  Query query = m_db.Prepare(FolderSelect("WHERE parent_id IS NULL ORDER BY id LIMIT 1"));
  return ReadFolder(query);
}

std::optional<FolderRecord> Store::DefaultFolder(FolderKind kind) {
  Query query = m_db.Prepare(FolderSelect("WHERE kind = ?1 AND is_default = 1"));
  query.Bind(1, int64_t{static_cast<int>(kind)});
  return ReadFolder(query);
}

std::vector<FolderRecord> Store::Subfolders(int64_t parentId) {
  Query query = m_db.Prepare(FolderSelect("WHERE parent_id = ?1 ORDER BY id"));
  query.Bind(1, parentId);
  std::vector<FolderRecord> folders;
  while (std::optional<FolderRecord> folder = ReadFolder(query)) folders.push_back(*folder);
  return folders;
}

std::optional<FolderRecord> Store::SubfolderByName(int64_t parentId, std::string_view name) {
  Query query = m_db.Prepare(FolderSelect("WHERE parent_id = ?1 AND name = ?2"));
  query.Bind(1, parentId).Bind(2, name);
  return ReadFolder(query);
}

std::optional<FolderRecord> Store::CreateFolder(int64_t parentId, std::string_view name) {
  const std::optional<FolderRecord> parent = FolderById(parentId);
  if (!parent || parent->kind == FolderKind::Root || name.empty() ||
      name.find_first_of("/\\") != std::string_view::npos)
    return std::nullopt;
  if (!InsertFolder(m_db, parentId, NewEntryId(m_random), name, parent->kind, false))
    return std::nullopt;
  return FolderById(m_db.LastInsertId());
}

std::string Store::FolderPath(int64_t folderId, std::string_view separator) {
  std::string path;
  for (std::optional<FolderRecord> folder = FolderById(folderId);
       folder && folder->kind != FolderKind::Root; folder = FolderById(folder->parentId))
    path = path.empty() ? folder->name : folder->name + std::string(separator) + path;
  return path;
}

int64_t Store::CountItems(int64_t folderId) {
  Query query = m_db.Prepare("SELECT count(*) FROM items WHERE folder_id = ?1");
  query.Bind(1, folderId);
  return query.Next() ? query.Int(0) : 0;
}

std::vector<std::pair<ItemKind, int64_t>> Store::CountByKind(int64_t folderId) {
  Query query = m_db.Prepare(
      "SELECT class, count(*) FROM items WHERE folder_id = ?1 GROUP BY class ORDER BY class");
  query.Bind(1, folderId);
  std::vector<std::pair<ItemKind, int64_t>> counts;
  while (query.Next())
    if (std::optional<ItemKind> kind = KindFromClass(static_cast<int32_t>(query.Int(0))))
      counts.emplace_back(*kind, query.Int(1));
  return counts;
}

std::optional<ItemData> Store::LoadAs(int64_t id, int32_t olClass, std::string* failure) {
  // Every item is written whole with its values in one transaction, so one of
  // unknown class or without its values is damage as much as a page that
  // cannot be read.
  const std::optional<ItemKind> kind = KindFromClass(olClass);
  if (!kind) {
    if (failure) *failure = kIncomplete;
    return std::nullopt;
  }
  const KindSql& sql = SqlFor(*kind);
  Query query = m_db.Prepare(sql.select);
  query.Bind(1, id);
  if (!query.Next()) {
    if (failure) *failure = query.Failed() ? Explain(m_db) : std::string(kIncomplete);
    return std::nullopt;
  }
  return ItemFromRow(query, *kind, kFirstValueColumn);
}

ItemWalk Store::WalkItems(int64_t folderId, int64_t afterId) {
  const std::optional<FolderRecord> folder = FolderById(folderId);
  const FolderKind folderKind = folder ? folder->kind : FolderKind::Root;
  // A statement that could not be prepared fails its first step, so a damaged
  // schema ends up in Next as well as a damaged page of the items.
  Query query = m_db.Prepare(WalkSqlFor(folderKind).select);
  query.Bind(1, folderId).Bind(2, afterId);
  return ItemWalk(*this, std::move(query), folderKind);
}

std::optional<ItemData> ItemWalk::Next(std::string* failure) {
  if (failure) failure->clear();
  if (!m_query.Next()) {
    if (failure && m_query.Failed()) *failure = Explain(m_store->m_db);
    return std::nullopt;
  }
  const int32_t olClass = static_cast<int32_t>(m_query.Int(2));
  const std::optional<ItemKind> kind = KindFromClass(olClass);
  for (const auto& [partKind, firstColumn] : WalkSqlFor(m_folderKind).parts) {
    if (kind != partKind) continue;
    // Every item is written whole with its values in one transaction, so one
    // without its values is damage as much as a page that cannot be read.
    if (m_query.IsNull(firstColumn)) {
      if (failure) *failure = kIncomplete;
      return std::nullopt;
    }
    return ItemFromRow(m_query, *kind, firstColumn + 1);
  }
  // A kind such folders do not hold, or no known kind at all.
  return m_store->LoadAs(m_query.Int(0), olClass, failure);
}

std::optional<ItemData> Store::NextItem(int64_t folderId, int64_t afterId, std::string* failure) {
  return WalkItems(folderId, afterId).Next(failure);
}

std::optional<ItemData> Store::ItemAt(int64_t folderId, int64_t index) {
  if (index < 0) return std::nullopt;
  Query query = m_db.Prepare(
      "SELECT id, class FROM items WHERE folder_id = ?1 ORDER BY id LIMIT 1 OFFSET ?2");
  query.Bind(1, folderId).Bind(2, index);
  if (!query.Next()) return std::nullopt;
  return LoadAs(query.Int(0), static_cast<int32_t>(query.Int(1)));
}

std::optional<ItemData> Store::ItemByEntryId(std::string_view entryId) {
  std::optional<ItemData> item = ItemHeaderByEntryId(entryId);
  if (!item || !LoadValues(*item)) return std::nullopt;
  return item;
}

std::optional<ItemData> Store::ItemHeaderByEntryId(std::string_view entryId) {
  const std::optional<std::string> normalized = NormalizeId(entryId);
  if (!normalized) return std::nullopt;
  static const std::string kSelect =
      "SELECT " + std::string(kItemColumns) + " FROM items i WHERE i.entry_id = ?1";
  Query query = m_db.Prepare(kSelect);
  query.Bind(1, std::string_view(*normalized));
  if (!query.Next()) return std::nullopt;
  const std::optional<ItemKind> kind = KindFromClass(static_cast<int32_t>(query.Int(2)));
  if (!kind) return std::nullopt;
  return HeaderFromRow(query, *kind);
}

bool Store::LoadValues(ItemData& item) {
  std::optional<ItemData> loaded = LoadAs(item.id, item.Info().olClass);
  if (!loaded) return false;
  item.values = std::move(loaded->values);
  return true;
}

bool Store::EntryIdExists(std::string_view entryId) {
  Query query = m_db.Prepare("SELECT 1 FROM items WHERE entry_id = ?1");
  query.Bind(1, entryId);
  return query.Next();
}

bool Store::InsertItem(ItemData& item) {
  const KindInfo& info = item.Info();
  const std::optional<FolderRecord> folder = FolderById(item.folderId);
  if (!folder || folder->kind != info.folder) return false;
  if (item.entryId.empty()) {
    do item.entryId = NewEntryId(m_random);
    while (EntryIdExists(item.entryId));
  }
  const double now = OleNow();
  if (IsNoDate(item.created)) item.created = now;
  if (IsNoDate(item.modified)) item.modified = item.created;

  Query row = m_db.Prepare(
      "INSERT INTO items (folder_id, class, entry_id, created, modified) VALUES (?1, ?2, ?3, ?4, ?5)");
  row.Bind(1, item.folderId).Bind(2, int64_t{info.olClass}).Bind(3, std::string_view(item.entryId));
  row.Bind(4, item.created).Bind(5, item.modified);
  if (!row.Run()) return false;
  item.id = m_db.LastInsertId();

  const KindSql& sql = SqlFor(item.kind);
  Query values = m_db.Prepare(sql.insert);
  values.Bind(1, item.id);
  int param = 2;
  for (size_t index : sql.stored) BindValue(values, param++, item.values[index]);
  return values.Run();
}

SaveResult Store::SaveItem(ItemData& item, std::span<const size_t> indexes) {
  const auto failed = [this] {
    return IsBusy(m_db.ErrorCode()) ? SaveResult::Locked : SaveResult::Failed;
  };
  const auto& props = item.Info().props;
  std::string assignments;
  std::vector<size_t> stored;
  for (size_t index : indexes) {
    if (!props[index].stored) continue;
    assignments += (stored.empty() ? "" : ", ") + Quoted(props[index].name) + " = ?" +
                   std::to_string(stored.size() + 2);
    stored.push_back(index);
  }
  Transaction tx(m_db);
  if (!tx.Active()) return failed();
  if (!stored.empty()) {
    Query values = m_db.Prepare("UPDATE " + std::string(item.Info().table) + " SET " +
                                assignments + " WHERE item_id = ?1");
    values.Bind(1, item.id);
    int param = 2;
    for (size_t index : stored) {
      if (const auto* text = std::get_if<std::string>(&item.values[index]))
        values.BindInPlace(param++, *text);
      else
        BindValue(values, param++, item.values[index]);
    }
    if (!values.Run()) return failed();
    if (m_db.Changes() == 0) return SaveResult::NotFound;
  }

  const double now = OleNow();
  Query row = m_db.Prepare("UPDATE items SET modified = ?2 WHERE id = ?1");
  row.Bind(1, item.id).Bind(2, now);
  if (!row.Run()) return failed();
  if (m_db.Changes() == 0) return SaveResult::NotFound;
  if (!tx.Commit()) return failed();
  item.modified = now;
  return SaveResult::Saved;
}

}  // namespace olstore
