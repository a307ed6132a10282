// A damaged store says so: a walk of a folder's items that meets a page it
// cannot read stops with the reason, in the store and through the object
// model, instead of passing for the end of the folder; and nothing is
// written to the damaged file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "olstore/Dispatch.h"
#include "olstore/Kinds.h"
#include "olstore/Store.h"
#include "olstore/Text.h"
#include "olstore/support/StoreFixture.h"
#include "support/DamagedStore.h"

namespace olstore::test {
namespace {

// Enough contacts for the items' b-tree to have many leaves.
constexpr int kContacts = 300;
constexpr char kMalformed[] = "the store is damaged (database disk image is malformed)";

bool ExecRaw(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  const bool done = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
                    sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return done;
}

// A closed store whose Contacts folder holds kContacts contacts, each named
// by its place.
class SeededStore : public OutlookTest {
 protected:
  void SetUp() override {
    OutlookTest::SetUp();
    std::string error;
    std::shared_ptr<Store> store = Store::Open(m_storePath, error);
    ASSERT_TRUE(store) << error;
    m_folder = store->DefaultFolder(FolderKind::Contacts)->id;
    Transaction tx(store->Db());
    for (int i = 0; i < kContacts; ++i) {
      ItemData item = NewItem(ItemKind::Contact);
      item.folderId = m_folder;
      item.values[FindProperty(item.Info(), "LastName")] = "Contact " + std::to_string(i);
      ASSERT_TRUE(store->InsertItem(item)) << store->ErrorMessage();
      m_ids.push_back(item.entryId);
    }
    ASSERT_TRUE(tx.Commit()) << store->ErrorMessage();
  }

  // The items read are the folder's first ones, and not all of them.
  void ExpectAStartOfTheFolder(const std::vector<std::string>& read) const {
    EXPECT_GT(read.size(), 0u);
    EXPECT_LT(read.size(), m_ids.size());
    for (size_t i = 0; i < read.size() && i < m_ids.size(); ++i) EXPECT_EQ(read[i], m_ids[i]) << i;
  }

  int64_t m_folder = 0;
  std::vector<std::string> m_ids;  // in the order the folder holds them
};

// Runs the statement, which ends in "= ", on the item in the middle of the folder.
std::function<bool(const std::string& path)> OnMiddleItem(std::string sql) {
  return [sql](const std::string& path) {
    return ExecRaw(path, (sql + "(SELECT id FROM items ORDER BY id LIMIT 1 OFFSET " +
                          std::to_string(kContacts / 2) + ")")
                             .c_str());
  };
}

struct Damage {
  const char* name;
  std::function<bool(const std::string& path)> apply;  // false: the damage was not done
  // Applied to the closed store (0), or while it is open, once that many
  // items have been read.
  size_t afterItems;
  const char* reason;
};

void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.name; }

const Damage kDamages[] = {
    {"garbage over a page of the items",
     [](const std::string& path) { return damage::DamageMiddleOf(path, "items"); }, 0, kMalformed},
    {"garbage over a page of the contacts' values",
     [](const std::string& path) { return damage::DamageMiddleOf(path, "contacts"); }, 0,
     kMalformed},
    {"an item without its values", OnMiddleItem("DELETE FROM contacts WHERE item_id = "), 0,
     "the store is damaged (an item is incomplete)"},
    {"an item of no known class", OnMiddleItem("UPDATE items SET class = 999 WHERE id = "), 0,
     "the store is damaged (an item is incomplete)"},
    {"the file cut short while it is open", &damage::CutShort, 1, kMalformed},
};

class DamagedStore : public SeededStore, public ::testing::WithParamInterface<Damage> {
 protected:
  // Damages the store when the walk has read `read` items; afterwards
  // m_untouched holds what the file and its log must stay.
  void DamageAt(size_t read) {
    if (read != GetParam().afterItems) return;
    EXPECT_TRUE(GetParam().apply(m_storePath));
    m_untouched = damage::FileAndLog(m_storePath);
  }

  std::string m_untouched;
};

TEST_P(DamagedStore, WalkInTheStoreStopsWithTheReason) {
  DamageAt(0);
  std::string error;
  std::shared_ptr<Store> store = Store::Open(m_storePath, error);
  ASSERT_TRUE(store) << error;

  std::vector<std::string> read;
  std::string failure;
  int64_t last = 0;
  while (std::optional<ItemData> item = store->NextItem(m_folder, last, &failure)) {
    read.push_back(item->entryId);
    last = item->id;
    DamageAt(read.size());
  }
  EXPECT_EQ(failure, GetParam().reason);
  ExpectAStartOfTheFolder(read);
  EXPECT_EQ(damage::FileAndLog(m_storePath), m_untouched);
}

// GetFirst / GetNext with a place for the exception, as a program that wants
// Outlook's reason calls them.
HRESULT Step(const Obj& items, const char* method, Var& result, EXCEPINFO& info) {
  DISPID id = 0;
  const HRESULT hr = items.Id(method, &id);
  if (FAILED(hr)) return hr;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  return items.get()->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &none,
                             result.get(), &info, nullptr);
}

std::string Utf8(BSTR text) { return Utf16ToUtf8(OleStringView(text, SysStringLen(text))); }

TEST_P(DamagedStore, ObjectModelWalkFailsWithTheReasonAndKeepsFailing) {
  DamageAt(0);
  const Obj items = DefaultFolder(10).Object("Items");
  ASSERT_TRUE(items);

  std::vector<std::string> read;
  HRESULT hr = S_OK;
  EXCEPINFO info{};
  for (const char* method = "GetFirst";; method = "GetNext") {
    Var result;
    hr = Step(items, method, result, info);
    if (hr != S_OK || !result.v().pdispVal) break;
    IDispatch* item = result.v().pdispVal;
    item->AddRef();  // the result keeps its own reference
    read.push_back(Obj(item).Text("EntryID"));
    DamageAt(read.size());
  }
  EXPECT_EQ(hr, DISP_E_EXCEPTION);
  EXPECT_EQ(info.scode, E_FAIL);
  EXPECT_EQ(Utf8(info.bstrSource), "Outlook");
  EXPECT_EQ(Utf8(info.bstrDescription), GetParam().reason);
  ExpectAStartOfTheFolder(read);
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);

  // The walk does not turn into an end that the next step would believe.
  Var again;
  EXCEPINFO second{};
  EXPECT_EQ(Step(items, "GetNext", again, second), DISP_E_EXCEPTION);
  EXPECT_EQ(Utf8(second.bstrDescription), GetParam().reason);
  SysFreeString(second.bstrSource);
  SysFreeString(second.bstrDescription);
  EXPECT_EQ(damage::FileAndLog(m_storePath), m_untouched);
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedStore, ::testing::ValuesIn(kDamages),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& ch : name)
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           return name;
                         });

// SQLite meets a schema that no longer reads when it steps a statement
// prepared before the damage, and when it prepares one after a step dropped
// the schema: the walk says so either way. Only a store already open can meet
// it; opening one refuses it.
TEST_F(SeededStore, SchemaThatNoLongerReadsStopsTheWalkAtStepAndAtPrepare) {
  const struct {
    const char* name;
    bool countFirst;  // a count steps first, so the walk's statement is prepared against no schema
  } cases[] = {{"stepped", false}, {"prepared", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = m_dir.File(std::string(c.name) + ".db");
    std::filesystem::copy_file(m_storePath, path);
    std::string error;
    std::shared_ptr<Store> store = Store::Open(path, error);
    ASSERT_TRUE(store) << error;
    // Another writer breaks the schema and tells the open store it changed.
    const int64_t version = store->Db().QueryInt("PRAGMA schema_version").value_or(0);
    const std::string sql =
        "PRAGMA writable_schema = ON;"
        "UPDATE sqlite_master SET sql = 'CREATE TABLE items (' WHERE name = 'items';"
        "PRAGMA schema_version = " +
        std::to_string(version + 1);
    ASSERT_TRUE(ExecRaw(path, sql.c_str()));
    const std::string untouched = damage::FileAndLog(path);

    if (c.countFirst) store->CountItems(m_folder);
    std::string failure;
    EXPECT_FALSE(store->NextItem(m_folder, 0, &failure));
    EXPECT_THAT(failure, ::testing::StartsWith("the store is damaged (malformed database schema"));
    EXPECT_EQ(damage::FileAndLog(path), untouched);
  }
}

}  // namespace
}  // namespace olstore::test
