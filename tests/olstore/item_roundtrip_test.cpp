// Every property of every kind goes in through a put and comes back, unchanged
// and with its automation type, from the item fetched again after Save.
#include <gtest/gtest.h>

#include <map>

#include "olstore/Dispatch.h"
#include "olstore/Kinds.h"
#include "olstore/Text.h"
#include "olstore/support/StoreFixture.h"

namespace olstore::test {
namespace {

using RoundTrip = OutlookTest;

constexpr double kDay = 45366.0;  // 2024-03-16

// Values of properties whose neighbours depend on them; the rest get a value
// made from their name and type.
const std::map<std::string, Var>& Specials(ItemKind kind) {
  static const std::map<ItemKind, std::map<std::string, Var>> kSpecials = {
      {ItemKind::Appointment,
       {{"Start", Var::Date(kDay + 0.375)},
        {"End", Var::Date(kDay + 0.4375)},
        {"Duration", Var::Int(90)},
        {"RecurrenceType", Var::Int(6)},
        {"Interval", Var::Int(2)},
        {"DayOfWeekMask", Var::Int(8)},
        {"DayOfMonth", Var::Int(0)},
        {"Instance", Var::Int(3)},
        {"MonthOfYear", Var::Int(11)},
        {"PatternStartDate", Var::Date(kDay)},
        {"PatternEndDate", Var::Date(kDay + 730)},
        {"NoEndDate", Var::Bool(false)}}},
      {ItemKind::Task,
       {{"DateCompleted", Var::Date(kDay + 3)},
        {"Complete", Var::Bool(true)},
        {"Status", Var::Int(2)},
        {"PercentComplete", Var::Int(100)}}},
  };
  static const std::map<std::string, Var> kNone;
  const auto it = kSpecials.find(kind);
  return it == kSpecials.end() ? kNone : it->second;
}

Var SampleValue(ItemKind kind, const PropDef& prop, size_t index) {
  const auto& specials = Specials(kind);
  if (const auto it = specials.find(std::string(prop.name)); it != specials.end()) return it->second;
  switch (prop.type) {
    case ValueType::Int: return Var::Int(prop.hi < 1000 ? prop.hi : 1000 + static_cast<int32_t>(index));
    case ValueType::Bool: return Var::Bool(prop.def == 0);
    case ValueType::Date: return Var::Date(kDay - static_cast<double>(index) + 0.5);
    default:
      return Var::Text(std::string(prop.name) + " \xC3\xA9\xC3\xBC\xC3\x9F \xE4\xB8\xAD\xE6\x96\x87 \xF0\x9F\x98\x80");
  }
}

bool SameValue(const Var& a, const Var& b) {
  if (a.vt() != b.vt()) return false;
  switch (a.vt()) {
    case VT_BSTR: return a.text() == b.text();
    case VT_I4: return a.v().lVal == b.v().lVal;
    case VT_BOOL: return (a.v().boolVal != 0) == (b.v().boolVal != 0);
    case VT_DATE: return a.v().date == b.v().date;
    default: return false;
  }
}

const PropertyValues& Arrangement(ItemKind kind) {
  static const PropertyValues kAppointment = {{"Start", kDay + 0.25}, {"End", kDay + 0.25}};
  static const PropertyValues kNone;
  return kind == ItemKind::Appointment ? kAppointment : kNone;
}

TEST_F(RoundTrip, EveryWritablePropertyOfEveryKind) {
  for (const KindInfo& info : AllKinds()) {
    SCOPED_TRACE(info.typeName);
    const std::string entryId = AddItem(info.kind, Arrangement(info.kind));
    // Modified long ago, so that the save's new time shows.
    Query age =
        DirectStore()->Db().Prepare("UPDATE items SET modified = 43832 WHERE entry_id = ?1");
    ASSERT_TRUE(age.Bind(1, std::string_view(entryId)).Run());
    Obj item = ItemById(entryId);
    const double created = item.Date("CreationTime");
    Obj pattern;
    if (info.recurringIndex != kNoIndex) pattern = item.CallObject("GetRecurrencePattern");

    std::vector<std::pair<std::string, Var>> written;
    for (size_t i = 0; i < info.props.size(); ++i) {
      const PropDef& prop = info.props[i];
      if (prop.access != Access::ReadWrite) continue;
      const Obj& target = prop.scope == Scope::Pattern ? pattern : item;
      const Var value = SampleValue(info.kind, prop, i);
      ASSERT_EQ(target.Put(prop.name, value), S_OK) << prop.name;
      Var back;
      ASSERT_EQ(target.Get(prop.name, back), S_OK) << prop.name;
      EXPECT_TRUE(SameValue(back, value)) << prop.name << " reads back differently before saving";
      written.emplace_back(std::string(prop.name), value);
    }
    EXPECT_FALSE(item.Bool("Saved"));
    EXPECT_EQ(item.Date("LastModificationTime"), 43832.0) << "a put is no save";
    const double beforeSave = OleNow();
    ASSERT_EQ(item.Call("Save"), S_OK);
    EXPECT_TRUE(item.Bool("Saved"));

    Obj again = ItemById(entryId);
    Obj againPattern = info.recurringIndex != kNoIndex ? again.CallObject("GetRecurrencePattern") : Obj();
    for (const auto& [name, value] : written) {
      const bool inPattern = FindProperty(info, name, Scope::Pattern) != kNoIndex;
      Var back;
      ASSERT_EQ((inPattern ? againPattern : again).Get(name, back), S_OK) << name;
      EXPECT_TRUE(SameValue(back, value)) << name << " did not survive Save";
    }
    EXPECT_EQ(again.Text("EntryID"), entryId);
    EXPECT_EQ(again.Date("CreationTime"), created);
    EXPECT_GE(again.Date("LastModificationTime"), beforeSave);
    EXPECT_TRUE(again.Bool("Saved"));
  }
}

TEST_F(RoundTrip, LongBodiesKeepEveryCharacter) {
  std::string body;
  while (body.size() < 100000) body += "Line \xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80 " + std::to_string(body.size()) + "\r\n";
  for (ItemKind kind : {ItemKind::Contact, ItemKind::Task, ItemKind::Note, ItemKind::Appointment}) {
    const std::string entryId = AddItem(kind, Arrangement(kind));
    Obj item = ItemById(entryId);
    ASSERT_EQ(item.Put("Body", Var::Text(body)), S_OK);
    ASSERT_EQ(item.Call("Save"), S_OK);
    Var back;
    ASSERT_EQ(ItemById(entryId).Get("Body", back), S_OK);
    ASSERT_EQ(back.vt(), VT_BSTR);
    EXPECT_EQ(back.text(), body);
    EXPECT_EQ(SysStringLen(back.v().bstrVal), Utf8ToUtf16(body).size());
  }
}

TEST_F(RoundTrip, UnsetDatesReadAsTheYear4501AndTypesAreOutlooks) {
  Obj contact = ItemById(AddItem(ItemKind::Contact, {}));
  Obj task = ItemById(AddItem(ItemKind::Task, {}));
  for (const char* name : {"Birthday", "Anniversary"}) EXPECT_EQ(contact.Date(name), kNoDate);
  for (const char* name : {"DueDate", "StartDate", "DateCompleted", "ReminderTime"})
    EXPECT_EQ(task.Date(name), kNoDate);
  EXPECT_EQ(contact.Int("Gender"), 0);  // VT_I4, as the program reads it
  EXPECT_EQ(task.Bool("Complete"), false);
  EXPECT_EQ(contact.Text("FirstName"), "");  // an empty text is an empty string, not null
}

}  // namespace
}  // namespace olstore::test
