// The JSON exchange and the demo data: exporting, importing into an empty
// store and exporting again gives the same text; a bad file is refused whole.
#include <gtest/gtest.h>

#include <sstream>

#include "olstore/Exchange.h"
#include "olstore/Seed.h"
#include "olstore/support/StoreFixture.h"

namespace olstore::test {
namespace {

constexpr double kSeedDay = 45365.0;  // 2024-03-14

std::shared_ptr<Store> NewStore(const TempFolder& dir, std::string_view name) {
  std::string error;
  std::shared_ptr<Store> store = Store::Open(dir.File(name), error);
  EXPECT_TRUE(store) << error;
  return store;
}

std::string Export(Store& store) {
  std::ostringstream out;
  std::string error;
  EXPECT_TRUE(ExportJson(store, out, error)) << error;
  return out.str();
}

bool Import(Store& store, const std::string& json, std::string& error) {
  std::optional<ImportPlan> plan = ParseImport(json, error);
  return plan && ApplyImport(store, *plan, error);
}

std::shared_ptr<Store> Seeded(const TempFolder& dir, std::string_view name, uint64_t seed) {
  std::shared_ptr<Store> store = NewStore(dir, name);
  SeedOptions options{.contacts = 60, .appointments = 48, .tasks = 45, .notes = 30, .seed = seed,
                      .today = kSeedDay};
  SeedCounts counts;
  std::string error;
  EXPECT_TRUE(SeedStore(*store, options, counts, error)) << error;
  EXPECT_EQ(counts.distLists, 1);
  return store;
}

TEST(Exchange, ExportImportExportGivesTheSameText) {
  TempFolder dir;
  std::shared_ptr<Store> original = Seeded(dir, "a.db", 11);
  const std::string first = Export(*original);
  std::shared_ptr<Store> copy = NewStore(dir, "b.db");
  std::string error;
  ASSERT_TRUE(Import(*copy, first, error)) << error;
  EXPECT_EQ(Export(*copy), first);
}

TEST(Exchange, EmptyStoreExportsItsFourFolders) {
  TempFolder dir;
  std::shared_ptr<Store> store = NewStore(dir, "a.db");
  const std::string text = Export(*store);
  const std::string folder = "{\n    \"items\": [],\n    \"folders\": []\n  }";
  EXPECT_EQ(text, "{\n  \"format\": \"olstore\",\n  \"version\": 1,\n  \"contacts\": " + folder +
                      ",\n  \"calendar\": " + folder + ",\n  \"tasks\": " + folder +
                      ",\n  \"notes\": " + folder + "\n}\n");
}

TEST(DemoData, SameSeedAndDayGiveTheSameStoreOthersDiffer) {
  TempFolder dir;
  const std::string a = Export(*Seeded(dir, "a.db", 5));
  EXPECT_EQ(Export(*Seeded(dir, "b.db", 5)), a);
  EXPECT_NE(Export(*Seeded(dir, "c.db", 6)), a);
}

TEST(DemoData, DemoDataCoversWhatTheProgramMustCope) {
  TempFolder dir;
  std::shared_ptr<Store> store = Seeded(dir, "a.db", 3);
  for (FolderKind kind : {FolderKind::Contacts, FolderKind::Calendar, FolderKind::Tasks, FolderKind::Notes}) {
    const std::vector<FolderRecord> top = store->Subfolders(store->DefaultFolder(kind)->id);
    ASSERT_EQ(top.size(), 2u) << DefaultFolderName(kind);
    for (const FolderRecord& folder : top) EXPECT_EQ(store->Subfolders(folder.id).size(), 1u);
  }
  std::set<int32_t> recurrenceTypes;
  size_t longContactBodies = 0, longTaskBodies = 0, longNoteBodies = 0;
  std::vector<int64_t> folders;
  for (FolderKind kind : {FolderKind::Contacts, FolderKind::Calendar, FolderKind::Tasks, FolderKind::Notes}) {
    const int64_t root = store->DefaultFolder(kind)->id;
    folders.push_back(root);
    for (const FolderRecord& top : store->Subfolders(root)) {
      folders.push_back(top.id);
      for (const FolderRecord& child : store->Subfolders(top.id)) folders.push_back(child.id);
    }
  }
  for (int64_t folder : folders) {
    int64_t last = 0;
    while (std::optional<ItemData> item = store->NextItem(folder, last)) {
      last = item->id;
      const KindInfo& info = item->Info();
      const size_t body = FindProperty(info, "Body");
      const size_t bodyBytes = item->TextAt(body).size();
      if (item->kind == ItemKind::Contact && bodyBytes > 2047) ++longContactBodies;
      if (item->kind == ItemKind::Task && bodyBytes > 20479) ++longTaskBodies;
      if (item->kind == ItemKind::Note && bodyBytes > 20479) ++longNoteBodies;
      if (item->kind == ItemKind::Appointment && item->BoolAt(info.recurringIndex))
        recurrenceTypes.insert(item->IntAt(FindProperty(info, "RecurrenceType", Scope::Pattern)));
    }
  }
  EXPECT_EQ(recurrenceTypes, (std::set<int32_t>{0, 1, 2, 3, 5, 6}));
  EXPECT_GT(longContactBodies, 0u);
  EXPECT_GT(longTaskBodies, 0u);
  EXPECT_GT(longNoteBodies, 0u);
  const std::string text = Export(*store);
  for (const char* sample : {"\xC3\xA9", "\xC3\xBC", "\xC3\x9F", "\xE4\xBC\x9F", "\xF0\x9F"})
    EXPECT_NE(text.find(sample), std::string::npos) << sample;
  EXPECT_NE(text.find("\"Type\": \"DistList\""), std::string::npos);
}

// One item of a kind inside a minimal exchange file.
std::string FileWith(std::string_view folder, std::string_view body) {
  return R"({"format": "olstore", "version": 1, ")" + std::string(folder) + "\": " + std::string(body) + "}";
}
std::string ItemIn(std::string_view folder, std::string_view item) {
  return FileWith(folder, R"({"items": [)" + std::string(item) + "]}");
}
constexpr std::string_view kMeeting = R"("Start": "2024-03-14T09:00:00", "End": "2024-03-14T10:00:00")";

TEST(Exchange, BadFilesAreRefusedWithWhereAndWhy) {
  const std::string meeting(kMeeting);
  struct Case {
    std::string json;
    std::string message;
  } cases[] = {
      {"not json", "not valid JSON"},
      {"[]", "one JSON object"},
      {R"({"version": 1})", "\"format\": \"olstore\""},
      {R"({"format": "olstore", "version": 2})", "\"version\" must be 1"},
      {FileWith("mail", "{}"), "unknown top-level key \"mail\""},
      {FileWith("contacts", R"({"items": {}})"), "\"items\" must be an array"},
      {FileWith("contacts", R"({"colour": 1})"), "unknown folder key \"colour\""},
      {ItemIn("contacts", R"({"Frist": "x"})"), "contacts: item 1: a Contact has no property \"Frist\""},
      {ItemIn("contacts", R"({"firstname": "x"})"), "did you mean \"FirstName\""},
      {ItemIn("contacts", R"({"Gender": "2"})"), "Gender must be an integer from 0 to 2"},
      {ItemIn("contacts", R"({"Gender": 7})"), "Gender must be an integer from 0 to 2"},
      {ItemIn("contacts", R"({"Birthday": "yesterday"})"), "Birthday must be a date"},
      {ItemIn("contacts", R"({"FirstName": 5})"), "FirstName must be a text"},
      {ItemIn("contacts", R"({"Type": "Note"})"), "a Note cannot be kept in contacts"},
      {ItemIn("contacts", R"({"Type": "Letter"})"), "unknown \"Type\""},
      {ItemIn("contacts", R"({"EntryID": "xyz"})"), "EntryID must be a hex text"},
      {ItemIn("contacts", R"({"EntryID": "00AA"}, {"EntryID": "00aa"})"), "EntryID 00AA appears twice"},
      {ItemIn("contacts", R"({"Type": "DistList", "Members": {}})"), "Members must be an array"},
      {ItemIn("contacts", R"({"Type": "DistList", "Members": [{"Address": "a@b"}]})"), "every member needs a \"Name\""},
      {ItemIn("contacts", R"({"Type": "DistList", "MemberCount": 2})"), "MemberCount follows from other properties"},
      {ItemIn("calendar", R"({"Subject": "No start"})"), "needs a Start"},
      {ItemIn("calendar", R"({"Start": "2024-03-14T10:00", "End": "2024-03-14T09:00"})"), "End lies before Start"},
      {ItemIn("calendar", "{" + meeting + R"(, "Duration": 60})"), "Duration follows from other properties"},
      {ItemIn("calendar", "{" + meeting + R"(, "IsRecurring": true})"), "IsRecurring follows from other properties"},
      {ItemIn("calendar", "{" + meeting + R"(, "RecurrencePattern": {"RecurrenceType": 4, "PatternStartDate": "2024-03-14"}})"), "RecurrenceType 4 is not a recurrence type"},
      {ItemIn("calendar", "{" + meeting + R"(, "RecurrencePattern": {"RecurrenceType": 1, "PatternStartDate": "2024-03-14"}})"), "needs a DayOfWeekMask"},
      {ItemIn("calendar", "{" + meeting + R"(, "RecurrencePattern": {"Subject": "x"}})"), "RecurrencePattern has no property \"Subject\""},
      {ItemIn("tasks", R"({"Status": 2, "PercentComplete": 50})"), "go together"},
      {ItemIn("notes", R"({"Subject": "x"})"), "Subject follows from other properties"},
      {ItemIn("notes", R"({"Color": 9})"), "Color must be an integer from 0 to 4"},
      {FileWith("tasks", R"({"folders": [{"name": "A"}, {"name": "a"}]})"), "two subfolders are named \"a\""},
      {FileWith("tasks", R"({"folders": [{"items": []}]})"), "every subfolder needs a \"name\""},
      {FileWith("tasks", R"({"folders": [{"name": "a/b"}]})"), "without / or \\"},
      {FileWith("tasks", R"({"folders": [{"name": "Work", "items": [{}, {"Status": 9}]}]})"), "tasks/Work: item 2: Status must be"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseImport(c.json, error)) << c.json;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.json << "\n  gave: " << error;
  }
}

TEST(Exchange, ImportIsAllOrNothing) {
  TempFolder dir;
  std::shared_ptr<Store> store = Seeded(dir, "a.db", 2);
  const std::string before = Export(*store);
  std::optional<ItemData> existing = store->NextItem(store->DefaultFolder(FolderKind::Notes)->id, 0);
  ASSERT_TRUE(existing);
  // Valid on its own, but its last item's entry ID is already in the store.
  const std::string json = FileWith(
      "notes", R"({"items": [{"Body": "fresh"}], "folders": [{"name": "New", "items": [{"EntryID": ")" +
                   existing->entryId + R"("}]}]})");
  std::string error;
  EXPECT_FALSE(Import(*store, json, error));
  EXPECT_NE(error.find("already in the store"), std::string::npos) << error;
  EXPECT_EQ(Export(*store), before);
}

TEST(Exchange, ImportJoinsFoldersOfTheSameName) {
  TempFolder dir;
  std::shared_ptr<Store> store = NewStore(dir, "a.db");
  std::string error;
  const std::string json = FileWith("notes", R"({"folders": [{"name": "Ideas", "items": [{"Body": "one"}]}]})");
  ASSERT_TRUE(Import(*store, json, error)) << error;
  ASSERT_TRUE(Import(*store, json, error)) << error;
  const std::vector<FolderRecord> folders = store->Subfolders(store->DefaultFolder(FolderKind::Notes)->id);
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_EQ(store->CountItems(folders[0].id), 2);
}

TEST(Exchange, DefaultsFillWhatAFileLeavesOut) {
  TempFolder dir;
  std::shared_ptr<Store> store = NewStore(dir, "a.db");
  std::string error;
  ASSERT_TRUE(Import(*store, ItemIn("calendar", "{" + std::string(kMeeting) + "}"), error)) << error;
  const std::optional<ItemData> item = store->NextItem(store->DefaultFolder(FolderKind::Calendar)->id, 0);
  ASSERT_TRUE(item);
  EXPECT_EQ(item->entryId.size(), 88u);  // a new entry ID
  EXPECT_FALSE(IsNoDate(item->created));
  EXPECT_EQ(item->IntAt(FindProperty(item->Info(), "BusyStatus")), 2);
  EXPECT_EQ(item->IntAt(FindProperty(item->Info(), "Importance")), 1);
  EXPECT_FALSE(item->BoolAt(item->Info().recurringIndex));
}

}  // namespace
}  // namespace olstore::test
