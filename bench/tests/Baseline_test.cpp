// The plain SQLite baselines must do the program's work and nothing else:
// read exactly the images the accessors fill, in the same order, and save the
// column the program's change lands in, for every item.
#include <gtest/gtest.h>

#include "bench/KindRun.h"
#include "bench/Sql.h"
#include "bench/StoreCache.h"
#include "bench/tests/BenchStore.h"

namespace qmbench {
namespace {

using olstore::FolderKind;
using olstore::ItemKind;

// Texts longer than their image fields, with characters of every UTF-8
// length, so the cuts fall before whole characters.
std::string Long(size_t nBytes) {
  std::string strText;
  while (strText.size() < nBytes) strText += "Grüße, 世界 😀 ";
  return strText;
}

struct SampleItem {
  std::vector<std::string> folderPath;  // below the default folder
  ItemValues values;
};

// Items of each kind: a full one, an empty one, cut texts and one two
// folders down, so the walk order and every column's form are exercised.
template <typename K>
std::vector<SampleItem> Samples();

template <>
std::vector<SampleItem> Samples<AddrKind>() {
  return {
      {{}, {{"FirstName", std::string("Zoë")}, {"LastName", std::string("Müller")},
            {"Email1Address", std::string("zoe@example.org")}, {"Body", Long(3000)},
            {"BusinessAddressStreet", Long(200)}, {"Birthday", 30000.5}, {"Gender", int32_t{1}},
            {"Categories", std::string("VIP; Family")}}},
      {{}, {}},
      {{"Clients", "Key Accounts"},
       {{"FirstName", std::string("伟")}, {"JobTitle", std::string("Buyer")}, {"Anniversary", 40000.0}}},
  };
}

template <>
std::vector<SampleItem> Samples<DateKind>() {
  return {
      {{}, {{"Subject", std::string("Café")}, {"Start", 45700.375}, {"End", 45700.4375},
            {"Location", std::string("Room 1")}, {"Body", Long(500)},
            {"ReminderMinutesBeforeStart", int32_t{30}}, {"BusyStatus", int32_t{3}}}},
      {{}, {{"Subject", std::string("Yoga")}, {"Start", 45701.75}, {"End", 45701.8125},
            {"Interval", int32_t{2}}}},
      {{"Private"}, {{"Subject", Long(400)}, {"AllDayEvent", true}, {"Start", 45702.0}, {"End", 45703.0},
                     {"ReminderSet", false}}},
  };
}

template <>
std::vector<SampleItem> Samples<TaskKind>() {
  return {
      {{}, {{"Subject", std::string("Send invoice")}, {"Status", int32_t{2}},
            {"PercentComplete", int32_t{100}}, {"DateCompleted", 45690.0}}},
      {{}, {{"Subject", std::string("Plan")}, {"Body", Long(21000)}, {"ReminderSet", true},
            {"ReminderTime", 45699.5}, {"DueDate", 45700.0}, {"StartDate", 45680.0},
            {"Role", std::string("Owner")}, {"TeamTask", true}, {"Importance", int32_t{2}}}},
      {{"Work", "Backlog"}, {{"Subject", std::string("Ünïcødé ✓")}}},
  };
}

template <>
std::vector<SampleItem> Samples<NoteKind>() {
  return {
      {{}, {{"Body", std::string("First line\r\nsecond line")}, {"Color", int32_t{1}},
            {"Categories", std::string("Ideas")}}},
      {{}, {{"Body", Long(22000)}}},
      {{"Ideas"}, {}},
  };
}

template <typename K>
class BaselineTest : public BenchStoreTest {
 protected:
  std::vector<std::string> AddSamples() {
    std::vector<std::string> entryIDs;
    const FolderKind nFolder = olstore::Kind(K::kStoreKind).folder;
    for (const SampleItem& sample : Samples<K>())
      entryIDs.push_back(Add(K::kStoreKind, Folder(nFolder, sample.folderPath), sample.values));
    return entryIDs;
  }
};

typedef testing::Types<AddrKind, DateKind, TaskKind, NoteKind> Kinds;
TYPED_TEST_SUITE(BaselineTest, Kinds);

TYPED_TEST(BaselineTest, ReadsTheImagesTheAccessorReads) {
  const size_t nItems = this->AddSamples().size();
  OutlookOnStore outlook(this->Path());
  KindRun<TypeParam> run;
  std::string strError;
  ASSERT_TRUE(run.Connect(strError)) << strError;
  ReadFigures figures;
  ASSERT_TRUE(run.MeasureRead(this->Path(), 1, true, false, figures, strError)) << strError;
  EXPECT_EQ(figures.nItems, static_cast<int64_t>(nItems));
  EXPECT_EQ(figures.nBaselineItems, static_cast<int64_t>(nItems));
  EXPECT_EQ(figures.nMismatched, 0) << figures.strFirstMismatch;
}

// The check behind "Images equal" must see a difference: the baseline reads a
// copy of the store in which one item has another value.
TYPED_TEST(BaselineTest, ComparisonFindsAChangedItem) {
  const std::vector<std::string> entryIDs = this->AddSamples();
  std::string strError;
  WorkingCopy copy;
  ASSERT_TRUE(copy.Make(this->Path(), std::filesystem::path(this->Path()).parent_path(), strError))
      << strError;
  {
    SqlConnection db;
    ASSERT_TRUE(db.Open(copy.Path(), true, strError)) << strError;
    SqlStatement touch(db.Handle(), "UPDATE items SET created = created + 1 WHERE entry_id = ?1");
    sqlite3_bind_text(touch.Get(), 1, entryIDs.back().c_str(), -1, SQLITE_STATIC);
    ASSERT_TRUE(touch.Run()) << db.Error();
  }
  OutlookOnStore outlook(this->Path());
  KindRun<TypeParam> run;
  ASSERT_TRUE(run.Connect(strError)) << strError;
  ReadFigures figures;
  ASSERT_TRUE(run.MeasureRead(copy.Path(), 1, true, false, figures, strError)) << strError;
  EXPECT_EQ(figures.nMismatched, 1);
  EXPECT_EQ(figures.strFirstMismatch, "i.created of " + entryIDs.back());
}

// Each side's write is checked right after its own pass, so a save that wrote
// nothing shows although the other side writes the same column later.
TYPED_TEST(BaselineTest, BothSavesWriteTheChangedColumnOfEveryItem) {
  const std::vector<std::string> entryIDs = this->AddSamples();
  const int64_t nItems = static_cast<int64_t>(entryIDs.size());
  std::string strError;
  SaveFigures figures;
  {
    OutlookOnStore outlook(this->Path());
    KindRun<TypeParam> run;
    ASSERT_TRUE(run.Connect(strError)) << strError;
    ReadFigures read;
    ASSERT_TRUE(run.MeasureRead(this->Path(), 1, false, false, read, strError)) << strError;
    ASSERT_TRUE(run.MeasureSave(this->Path(), 2, true, figures, strError)) << strError;
  }
  EXPECT_EQ(figures.nItems, nItems);
  EXPECT_EQ(figures.nProductFailed, 0);
  EXPECT_EQ(figures.nBaselineFailed, 0);
  EXPECT_EQ(figures.nProductWritten, nItems);
  EXPECT_EQ(figures.nBaselineWritten, nItems);
  // The second pass lets the baseline go first, so the program's value is the last.
  const SaveChange last = TypeParam::Change(3);
  const olstore::KindInfo& info = olstore::Kind(TypeParam::kStoreKind);
  const size_t nIndex = olstore::FindProperty(info, last.szColumn);
  ASSERT_NE(nIndex, olstore::kNoIndex);
  const olstore::Value expected =
      last.bText ? olstore::Value(std::string(last.Def.szValue)) : olstore::Value(last.Def.nValue);
  for (const std::string& strEntryID : entryIDs)
    EXPECT_EQ(this->Stored(strEntryID).values[nIndex], expected) << strEntryID;
}

TEST_F(BenchStoreTest, BaselineSaveOfAnUnknownItemLeavesNoTransactionOpen) {
  const std::string strKnown = Add(ItemKind::Note, Folder(FolderKind::Notes), {{"Body", std::string("x")}});
  std::string strError;
  SqlConnection db;
  ASSERT_TRUE(db.Open(Path(), true, strError)) << strError;
  SqlItemSaver saver(db.Handle(), ItemKind::Note, "Color");
  ASSERT_TRUE(saver.Ok()) << db.Error();
  const SaveChange change = NoteKind::Change(4);
  EXPECT_FALSE(saver.Save("00000000FFFF", change));
  EXPECT_TRUE(saver.Save(strKnown, change));
  EXPECT_EQ(std::get<int32_t>(Stored(strKnown).values[olstore::FindProperty(olstore::Kind(ItemKind::Note), "Color")]),
            change.Def.nValue);
}

}  // namespace
}  // namespace qmbench
