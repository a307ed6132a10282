// Opening a store: a new one is made whole, an existing one is used only when
// it is a store of a known version that may be written; a refused file stays
// byte for byte as it was.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <functional>
#include <set>

#include "olstore/Kinds.h"
#include "olstore/Schema.h"
#include "olstore/Store.h"
#include "olstore/olstore.h"
#include "olstore/support/StoreFixture.h"
#include "support/DamagedStore.h"

namespace olstore::test {
namespace {

// A raw connection, for arranging files the store itself would never write.
class RawDb {
 public:
  explicit RawDb(const std::string& path) {
    EXPECT_EQ(sqlite3_open(path.c_str(), &m_db), SQLITE_OK);
  }
  ~RawDb() { sqlite3_close(m_db); }
  void Exec(const std::string& sql) {
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK)
        << sql << ": " << (message ? message : "");
    sqlite3_free(message);
  }
  sqlite3* get() { return m_db; }

 private:
  sqlite3* m_db = nullptr;
};

std::shared_ptr<Store> OpenOrFail(const std::string& path) {
  std::string error;
  std::shared_ptr<Store> store = Store::Open(path, error);
  EXPECT_TRUE(store) << error;
  return store;
}

TEST(StoreOpen, MissingFileAndFolderBecomeANewStore) {
  TempFolder dir;
  const std::string path = dir.File("deeper/still/store.db");
  std::shared_ptr<Store> store = OpenOrFail(path);
  ASSERT_TRUE(store);
  EXPECT_GT(store->StoreId().size(), 300u);

  const std::optional<FolderRecord> root = store->RootFolder();
  ASSERT_TRUE(root);
  std::vector<std::string> names;
  for (const FolderRecord& folder : store->Subfolders(root->id)) {
    names.push_back(folder.name);
    EXPECT_TRUE(folder.isDefault);
    EXPECT_EQ(store->DefaultFolder(folder.kind)->id, folder.id);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Contacts", "Calendar", "Tasks", "Notes"}));

  RawDb raw(path);
  const char* mode = nullptr;
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(raw.get(), "PRAGMA journal_mode", -1, &stmt, nullptr);
  ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
  mode = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
  EXPECT_STREQ(mode, "wal");
  sqlite3_finalize(stmt);
}

TEST(StoreOpen, ReopeningKeepsIdentityAndItems) {
  TempFolder dir;
  const std::string path = dir.File("store.db");
  std::string storeId, entryId;
  {
    std::shared_ptr<Store> store = OpenOrFail(path);
    ItemData item = NewItem(ItemKind::Contact);
    item.folderId = store->DefaultFolder(FolderKind::Contacts)->id;
    item.values[FindProperty(item.Info(), "LastName")] = std::string("Kowalski");
    ASSERT_TRUE(store->InsertItem(item));
    storeId = store->StoreId();
    entryId = item.entryId;
  }
  std::shared_ptr<Store> again = OpenOrFail(path);
  EXPECT_EQ(again->StoreId(), storeId);
  const std::optional<ItemData> item = again->ItemByEntryId(entryId);
  ASSERT_TRUE(item);
  EXPECT_EQ(item->TextAt(FindProperty(item->Info(), "LastName")), "Kowalski");
}

TEST(StoreOpen, EveryStoredPropertyHasAColumnOfItsType) {
  TempFolder dir;
  std::shared_ptr<Store> store = OpenOrFail(dir.File("store.db"));
  for (const KindInfo& info : AllKinds()) {
    std::map<std::string, std::string> columns;
    Query query = store->Db().Prepare("SELECT name, type FROM pragma_table_info('" +
                                      std::string(info.table) + "')");
    while (query.Next()) columns[query.Text(0)] = query.Text(1);
    for (const PropDef& prop : info.props) {
      if (!prop.stored) {
        EXPECT_EQ(columns.count(std::string(prop.name)), 0u) << prop.name;
        continue;
      }
      const char* type = prop.type == ValueType::Date                              ? "REAL"
                         : prop.type == ValueType::Int || prop.type == ValueType::Bool ? "INTEGER"
                                                                                    : "TEXT";
      EXPECT_EQ(columns[std::string(prop.name)], type) << info.table << "." << prop.name;
    }
  }
}

// Files that must be refused, and what the refusal must say.
struct Refusal {
  const char* name;
  std::function<void(const std::string& path)> arrange;
  const char* reason;
};

void MakeStoreAt(const std::string& path) { OpenOrFail(path); }

const Refusal kRefusals[] = {
    // Only the tool makes a store: the application does not make one where there is none.
    {"no file", [](const std::string&) {}, "there is no store there (olstore init makes one"},
    {"text file", [](const std::string& p) { WriteWholeFile(p, std::string(5000, 'x')); },
     "not a store"},
    {"empty file", [](const std::string& p) { WriteWholeFile(p, ""); }, "not a store"},
    {"other database",
     [](const std::string& p) { RawDb(p).Exec("CREATE TABLE t(a); INSERT INTO t VALUES (1);"); },
     "not a store"},
    {"newer version",
     [](const std::string& p) {
       MakeStoreAt(p);
       RawDb(p).Exec("PRAGMA user_version = 99");
     },
     "newer version"},
    {"read-only store",
     [](const std::string& p) {
       MakeStoreAt(p);
       using std::filesystem::perms;
       std::filesystem::permissions(p, perms::owner_write | perms::group_write | perms::others_write,
                                    std::filesystem::perm_options::remove);
     },
     "read-only"},
    // A page that cannot be read may well hold the ID: it is not taken for a missing one.
    {"damaged store ID page",
     [](const std::string& p) {
       MakeStoreAt(p);
       EXPECT_TRUE(damage::DamageRootOf(p, "store_info"));
     },
     "the store is damaged (database disk image is malformed)"},
};

class RefusedStore : public OutlookTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedStore, FailsToStartAndLeavesTheFileAlone) {
  GetParam().arrange(m_storePath);
  const std::string before = ReadWholeFile(m_storePath);

  testing::internal::CaptureStderr();
  HRESULT hr = S_OK;
  Obj app = CreateApplication(&hr);
  const std::string stderrText = testing::internal::GetCapturedStderr();

  EXPECT_LT(hr, 0);
  EXPECT_FALSE(app);
  EXPECT_NE(LastError().find(GetParam().reason), std::string::npos) << LastError();
  EXPECT_NE(LastError().find(m_storePath), std::string::npos) << LastError();
  EXPECT_EQ(stderrText, "olstore: " + LastError() + "\n");
  EXPECT_EQ(ReadWholeFile(m_storePath), before);
}

INSTANTIATE_TEST_SUITE_P(Files, RefusedStore, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& ch : name)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

using LockedStore = OutlookTest;

TEST_F(LockedStore, IsRefusedUntilTheOtherWriterIsDoneAndStaysUnchanged) {
  MakeStoreAt(m_storePath);
  RawDb other(m_storePath);
  other.Exec("BEGIN IMMEDIATE; INSERT INTO store_info (key, value) VALUES ('x', 'y');");
  const std::string before = ReadWholeFile(m_storePath);

  testing::internal::CaptureStderr();
  HRESULT hr = S_OK;
  Obj app = CreateApplication(&hr);
  testing::internal::GetCapturedStderr();

  EXPECT_LT(hr, 0);
  EXPECT_NE(LastError().find("locked"), std::string::npos) << LastError();
  EXPECT_EQ(ReadWholeFile(m_storePath), before);
  other.Exec("ROLLBACK");
  Obj retry = CreateApplication(&hr);
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(LastError(), "");
}

// The user's data folder: on Linux $XDG_DATA_HOME, pointed somewhere for the
// test; Windows' is the system's.
std::string DataFolder([[maybe_unused]] ScopedEnvironment& env) {
#ifdef _WIN32
  char folder[MAX_PATH] = "";
  EXPECT_EQ(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder),
            S_OK);
  return folder;
#else
  env.Set("XDG_DATA_HOME", "/data");
  return "/data";
#endif
}

TEST(StorePath, OlstorePathWinsOverTheDataFolder) {
  ScopedEnvironment env;
  const std::string fallback =
      DataFolder(env) + PAL_PATH_SEPARATOR_STR "olstore" PAL_PATH_SEPARATOR_STR "store.db";
  struct Case {
    const char* olstorePath;
    std::string expected;
  } cases[] = {
      {"x" PAL_PATH_SEPARATOR_STR "my.db", "x" PAL_PATH_SEPARATOR_STR "my.db"},
      {nullptr, fallback},
      {"", fallback},
  };
  for (const Case& c : cases) {
    env.Set("OLSTORE_PATH", c.olstorePath);
    EXPECT_EQ(ResolveStorePath(), c.expected) << (c.olstorePath ? c.olstorePath : "(unset)");
  }
}

TEST(Migrations, AscendAndEndAtTheCurrentVersion) {
  int last = 0;
  for (const Migration& migration : Migrations()) {
    EXPECT_GT(migration.version, last);
    last = migration.version;
  }
  EXPECT_EQ(last, CurrentSchemaVersion());
}

}  // namespace
}  // namespace olstore::test
