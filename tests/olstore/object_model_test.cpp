// The object model as a caller sees it through IDispatch: application,
// namespace, folders, collections, and the status codes of every misuse.
#include <gtest/gtest.h>

#include "olstore/Dispatch.h"
#include "olstore/olstore.h"
#include "olstore/support/StoreFixture.h"

namespace olstore::test {
namespace {

using ObjectModel = OutlookTest;

TEST_F(ObjectModel, ApplicationAnswersVersionNameAndOnlyTheMapiNamespace) {
  ASSERT_TRUE(DirectStore());
  Obj app = CreateApplication();
  ASSERT_TRUE(app);
  EXPECT_EQ(app.Text("Version"), Version());
  EXPECT_EQ(app.Text("Name"), "Outlook");

  struct Case {
    std::vector<Var> args;
    HRESULT status;
  } cases[] = {
      {{Var::Text("MAPI")}, S_OK},
      {{Var::Text("mapi")}, S_OK},
      {{Var::Text("IMAP")}, E_INVALIDARG},
      {{Var::Int(0)}, DISP_E_TYPEMISMATCH},
      {{}, DISP_E_BADPARAMCOUNT},
      {{Var::Text("MAPI"), Var::Text("MAPI")}, DISP_E_BADPARAMCOUNT},
  };
  for (Case& c : cases) {
    Var result;
    EXPECT_EQ(app.Call("GetNameSpace", c.args, result), c.status);
    EXPECT_EQ(result.vt(), c.status == S_OK ? VT_DISPATCH : VT_EMPTY);
  }
}

TEST_F(ObjectModel, OneRunningApplicationPerProcessWhileReferenced) {
  ASSERT_TRUE(DirectStore());
  Obj first = CreateApplication();
  ASSERT_TRUE(first);
  // While Outlook runs, creating it attaches: the store is not opened again.
  WriteWholeFile(m_dir.File("junk.db"), "not a store");
  m_env.Set("OLSTORE_PATH", m_dir.File("junk.db"));
  Obj second = CreateApplication();
  EXPECT_EQ(second.get(), first.get());

  // A namespace keeps it running too.
  Obj ns = first.CallObject("GetNameSpace", {Var::Text("MAPI")});
  first = Obj();
  second = Obj();
  EXPECT_TRUE(CreateApplication());

  ns = Obj();
  testing::internal::CaptureStderr();
  HRESULT hr = S_OK;
  EXPECT_FALSE(CreateApplication(&hr));
  testing::internal::GetCapturedStderr();
  EXPECT_LT(hr, 0);
}

TEST_F(ObjectModel, DefaultFoldersByOutlookConstant) {
  ASSERT_TRUE(DirectStore());
  struct Case {
    int32_t constant;
    const char* name;
    int32_t itemType;
  } cases[] = {{9, "Calendar", 1}, {10, "Contacts", 2}, {12, "Notes", 5}, {13, "Tasks", 3}};
  Obj ns = NameSpace();
  for (const Case& c : cases) {
    Obj folder = ns.CallObject("GetDefaultFolder", {Var::Int(c.constant)});
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder.Text("Name"), c.name);
    EXPECT_EQ(folder.Int("DefaultItemType"), c.itemType);
    EXPECT_EQ(folder.Text("FolderPath"), std::string("\\\\Local Folders\\") + c.name);
    EXPECT_EQ(folder.Text("StoreID"), DirectStore()->StoreId());
    EXPECT_EQ(folder.Text("EntryID"), DirectStore()->DefaultFolder(*FolderKindFromDefaultId(c.constant))->entryId);
  }
  EXPECT_TRUE(ns.CallObject("GetDefaultFolder", {Var::Short(10)}));

  for (int32_t other : {0, 6, 11, 16, -1}) {
    Var result;
    EXPECT_LT(ns.Call("GetDefaultFolder", {Var::Int(other)}, result), 0) << other;
  }
  Var result;
  EXPECT_EQ(ns.Call("GetDefaultFolder", {Var::Text("10")}, result), DISP_E_TYPEMISMATCH);
}

// Every element of a collection, by GetFirst / GetNext until Nothing.
std::vector<Obj> Walk(const Obj& collection) {
  std::vector<Obj> elements;
  Var element;
  EXPECT_EQ(collection.Call("GetFirst", {}, element), S_OK);
  while (element.vt() == VT_DISPATCH && element.v().pdispVal) {
    element.v().pdispVal->AddRef();
    elements.emplace_back(element.v().pdispVal);
    element = Var();
    EXPECT_EQ(collection.Call("GetNext", {}, element), S_OK);
  }
  EXPECT_EQ(element.vt(), VT_DISPATCH);  // Nothing: an object variant without an object
  return elements;
}

std::vector<std::string> Names(const Obj& collection) {
  std::vector<std::string> names;
  for (const Obj& element : Walk(collection)) names.push_back(element.Text("Name"));
  return names;
}

TEST_F(ObjectModel, FolderTreeToAnyDepthInCreationOrder) {
  AddFolder(FolderKind::Contacts, {"Clients", "Key Accounts", "Archive"});
  AddFolder(FolderKind::Contacts, {"Family"});
  Obj ns = NameSpace();
  Obj stores = ns.Object("Folders");
  EXPECT_EQ(Names(stores), std::vector<std::string>{"Local Folders"});
  Obj root = stores.CallObject("Item", {Var::Int(1)});
  EXPECT_EQ(Names(root.Object("Folders")),
            (std::vector<std::string>{"Contacts", "Calendar", "Tasks", "Notes"}));

  Obj contacts = ns.CallObject("GetDefaultFolder", {Var::Int(10)});
  Obj subfolders = contacts.Object("Folders");
  EXPECT_EQ(subfolders.Int("Count"), 2);
  EXPECT_EQ(Names(subfolders), (std::vector<std::string>{"Clients", "Family"}));
  Obj deepest = subfolders.CallObject("Item", {Var::Text("clients")})
                    .Object("Folders").CallObject("Item", {Var::Int(1)})
                    .Object("Folders").CallObject("Item", {Var::Int(1)});
  EXPECT_EQ(deepest.Text("Name"), "Archive");
  EXPECT_EQ(deepest.Text("FolderPath"), "\\\\Local Folders\\Contacts\\Clients\\Key Accounts\\Archive");
  EXPECT_EQ(deepest.Int("DefaultItemType"), 2);
  EXPECT_EQ(deepest.Object("Folders").Int("Count"), 0);

  Var result;
  EXPECT_EQ(subfolders.Call("Item", {Var::Int(3)}, result), kDispEBadIndex);
  EXPECT_EQ(subfolders.Call("Item", {Var::Int(0)}, result), kDispEBadIndex);
  EXPECT_LT(subfolders.Call("Item", {Var::Text("Nobody")}, result), 0);
}

TEST_F(ObjectModel, ItemsWalkInInsertionOrderAndEndWithNothing) {
  const std::string ids[] = {AddItem(ItemKind::Contact, {{"FullName", std::string("Zoe Zed")}}),
                             AddItem(ItemKind::DistList, {{"DLName", std::string("Team")}}),
                             AddItem(ItemKind::Contact, {{"FullName", std::string("Adam Ant")}})};
  AddItem(ItemKind::Contact, {}, AddFolder(FolderKind::Contacts, {"Elsewhere"}));
  Obj items = DefaultFolder(10).Object("Items");
  EXPECT_EQ(items.Int("Count"), 3);

  const std::vector<Obj> walked = Walk(items);
  ASSERT_EQ(walked.size(), 3u);
  const int32_t classes[] = {40, 69, 40};
  const char* messageClasses[] = {"IPM.Contact", "IPM.DistList", "IPM.Contact"};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(walked[i].Text("EntryID"), ids[i]);
    EXPECT_EQ(walked[i].Int("Class"), classes[i]);
    EXPECT_EQ(walked[i].Text("MessageClass"), messageClasses[i]);
  }
  // Past the end the walk stays at its end; GetFirst starts again.
  Var result;
  EXPECT_EQ(items.Call("GetNext", {}, result), S_OK);
  EXPECT_TRUE(result.vt() == VT_DISPATCH && !result.v().pdispVal);
  EXPECT_EQ(items.CallObject("GetFirst").Text("EntryID"), ids[0]);
  EXPECT_EQ(items.CallObject("GetNext").Text("EntryID"), ids[1]);

  EXPECT_EQ(items.CallObject("Item", {Var::Int(3)}).Text("EntryID"), ids[2]);
  for (int32_t index : {0, 4, -1}) {
    Var none;
    EXPECT_EQ(items.Call("Item", {Var::Int(index)}, none), kDispEBadIndex) << index;
  }
  EXPECT_EQ(Walk(DefaultFolder(9).Object("Items")).size(), 0u);
}

TEST_F(ObjectModel, GetItemFromIdFindsItemsInAnyFolderOfThisStoreOnly) {
  const int64_t deep = AddFolder(FolderKind::Tasks, {"Projects", "2024"});
  const std::string entryId = AddItem(ItemKind::Task, {{"Subject", std::string("Deep")}}, deep);
  const std::string storeId = DirectStore()->StoreId();
  std::string lower = entryId;
  for (char& ch : lower) ch = static_cast<char>(tolower(ch));

  struct Case {
    const char* name;
    std::vector<Var> args;
    bool found;
  } cases[] = {
      {"entry ID alone", {Var::Text(entryId)}, true},
      {"lower-case entry ID", {Var::Text(lower)}, true},
      {"with the store ID", {Var::Text(entryId), Var::Text(storeId)}, true},
      {"store ID left out", {Var::Text(entryId), Var::Missing()}, true},
      {"store ID cut to 255", {Var::Text(entryId), Var::Text(storeId.substr(0, 255))}, false},
      {"another store's ID", {Var::Text(entryId), Var::Text("00000000ABCDEF")}, false},
      {"malformed store ID", {Var::Text(entryId), Var::Text("xyz")}, false},
      {"unknown entry ID", {Var::Text(std::string(entryId.size(), 'A'))}, false},
      {"malformed entry ID", {Var::Text("not hex")}, false},
      {"empty entry ID", {Var::Text("")}, false},
      {"a folder's entry ID", {Var::Text(DirectStore()->FolderById(deep)->entryId)}, false},
  };
  Obj ns = NameSpace();
  for (Case& c : cases) {
    Var result;
    const HRESULT hr = ns.Call("GetItemFromID", c.args, result);
    if (c.found) {
      EXPECT_EQ(hr, S_OK) << c.name;
      ASSERT_EQ(result.vt(), VT_DISPATCH) << c.name;
      result.v().pdispVal->AddRef();
      EXPECT_EQ(Obj(result.v().pdispVal).Text("Subject"), "Deep");
    } else {
      EXPECT_LT(hr, 0) << c.name;
      EXPECT_EQ(result.vt(), VT_EMPTY) << c.name;
    }
  }
  Var result;
  EXPECT_EQ(ns.Call("GetItemFromID", {Var::Int(1)}, result), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(ns.Call("GetItemFromID", {}, result), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(ns.Call("GetItemFromID", {Var::Text(entryId), Var::Text(storeId), Var::Text("")}, result),
            DISP_E_BADPARAMCOUNT);
}

TEST_F(ObjectModel, NamesAreCaseInsensitiveAndUnknownNamesFail) {
  const std::string contactId = AddItem(ItemKind::Contact, {{"FirstName", std::string("Ann")}});
  const std::string listId = AddItem(ItemKind::DistList, {{"DLName", std::string("Team")}});
  Obj contact = ItemById(contactId);
  Obj list = ItemById(listId);
  for (const char* spelling : {"FirstName", "firstname", "FIRSTNAME", "fIrStNaMe"})
    EXPECT_EQ(contact.Text(spelling), "Ann") << spelling;

  struct Case {
    const Obj* object;
    const char* name;
  } unknown[] = {{&list, "FirstName"}, {&list, "Gender"},      {&contact, "DLName"},
                 {&contact, "Frist"},  {&contact, ""},         {&contact, "GetRecurrencePattern"},
                 {&list, "Members"},   {&contact, "FirstName "}, {&contact, "FırstName"}};
  for (const Case& c : unknown) {
    DISPID id = 0;
    EXPECT_EQ(c.object->Id(c.name, &id), DISP_E_UNKNOWNNAME) << c.name;
    EXPECT_EQ(id, DISPID_UNKNOWN) << c.name;
  }
  EXPECT_EQ(list.Text("Subject"), "Team");
  EXPECT_EQ(list.Text("DLName"), "Team");
}

TEST_F(ObjectModel, ReadOnlyPropertiesRefusePuts) {
  const std::string ids[] = {
      AddItem(ItemKind::Contact, {}), AddItem(ItemKind::DistList, {}),
      AddItem(ItemKind::Appointment, {{"Start", 45292.5}, {"End", 45292.5}}),
      AddItem(ItemKind::Task, {}), AddItem(ItemKind::Note, {})};
  struct Case {
    size_t item;
    const char* name;
    Var value;
  } cases[] = {
      {0, "EntryID", Var::Text("00")},          {0, "CreationTime", Var::Date(1.0)},
      {0, "LastModificationTime", Var::Date(1.0)}, {0, "Class", Var::Int(40)},
      {0, "Saved", Var::Bool(true)},            {0, "MessageClass", Var::Text("IPM.Note")},
      {1, "MemberCount", Var::Int(3)},          {2, "IsRecurring", Var::Bool(true)},
      {2, "ReminderTime", Var::Date(45292.0)},  {3, "IsRecurring", Var::Bool(false)},
      {3, "ResponseState", Var::Int(0)},        {4, "Subject", Var::Text("New subject")},
      {4, "EntryID", Var::Text("00")},
  };
  for (Case& c : cases) {
    Obj item = ItemById(ids[c.item]);
    EXPECT_EQ(item.Put(c.name, c.value), DISP_E_MEMBERNOTFOUND) << c.name;
    EXPECT_TRUE(item.Bool("Saved")) << c.name;
  }
}

TEST_F(ObjectModel, PutsAreStrictlyTypedAndRangeChecked) {
  const std::string contact = AddItem(ItemKind::Contact, {});
  const std::string appointment = AddItem(ItemKind::Appointment, {{"Start", 45292.5}, {"End", 45292.5}});
  const std::string task = AddItem(ItemKind::Task, {});
  const std::string note = AddItem(ItemKind::Note, {});
  struct Case {
    const std::string* item;
    const char* name;
    Var value;
    HRESULT status;
  } cases[] = {
      {&contact, "Gender", Var::Text("1"), DISP_E_TYPEMISMATCH},
      {&contact, "Gender", Var::Bool(true), DISP_E_TYPEMISMATCH},
      {&contact, "Gender", Var::Double(1.0), DISP_E_TYPEMISMATCH},
      {&contact, "FirstName", Var::Int(5), DISP_E_TYPEMISMATCH},
      {&contact, "Birthday", Var::Double(45000.0), DISP_E_TYPEMISMATCH},
      {&contact, "Birthday", Var::Text("2024-01-01"), DISP_E_TYPEMISMATCH},
      {&appointment, "AllDayEvent", Var::Int(1), DISP_E_TYPEMISMATCH},
      {&contact, "Gender", Var::Int(3), E_INVALIDARG},
      {&contact, "Gender", Var::Int(-1), E_INVALIDARG},
      {&contact, "Birthday", Var::Date(3000000.0), E_INVALIDARG},
      {&appointment, "BusyStatus", Var::Int(4), E_INVALIDARG},
      {&appointment, "Importance", Var::Int(3), E_INVALIDARG},
      {&appointment, "Sensitivity", Var::Int(4), E_INVALIDARG},
      {&appointment, "Duration", Var::Int(-1), E_INVALIDARG},
      {&appointment, "ReminderMinutesBeforeStart", Var::Int(-5), E_INVALIDARG},
      {&appointment, "End", Var::Date(45292.0), E_INVALIDARG},  // before Start
      {&task, "Status", Var::Int(5), E_INVALIDARG},
      {&task, "PercentComplete", Var::Int(101), E_INVALIDARG},
      {&task, "PercentComplete", Var::Int(-1), E_INVALIDARG},
      {&note, "Color", Var::Int(5), E_INVALIDARG},
      {&contact, "Gender", Var::Int(2), S_OK},
      {&contact, "Gender", Var::Short(1), S_OK},
      {&appointment, "BusyStatus", Var::Int(3), S_OK},
      {&task, "PercentComplete", Var::Int(0), S_OK},
      {&task, "Status", Var::Int(4), S_OK},
      {&note, "Color", Var::Int(4), S_OK},
  };
  for (Case& c : cases) {
    Obj item = ItemById(*c.item);
    const int32_t before = c.status == S_OK ? 0 : 1;
    EXPECT_EQ(item.Put(c.name, c.value), c.status) << c.name;
    EXPECT_EQ(item.Bool("Saved"), before == 1) << c.name;  // a refused put changes nothing
  }
}

TEST_F(ObjectModel, InvokeRefusesMalformedCalls) {
  Obj contact = ItemById(AddItem(ItemKind::Contact, {{"FirstName", std::string("Ann")}}));
  DISPID firstName = 0, save = 0;
  ASSERT_EQ(contact.Id("FirstName", &firstName), S_OK);
  ASSERT_EQ(contact.Id("Save", &save), S_OK);
  IDispatch* disp = contact.get();
  Var value = Var::Text("Bea");
  VARIANT args[2] = {value.v(), value.v()};
  DISPID putId = DISPID_PROPERTYPUT;
  DISPID otherId = 7;

  struct Case {
    const char* name;
    DISPID member;
    WORD flags;
    DISPPARAMS params;
    HRESULT status;
  } cases[] = {
      {"put without the named argument", firstName, DISPATCH_PROPERTYPUT, {args, nullptr, 1, 0},
       DISP_E_PARAMNOTFOUND},
      {"put with another named argument", firstName, DISPATCH_PROPERTYPUT, {args, &otherId, 1, 1},
       DISP_E_PARAMNOTFOUND},
      {"put with two values", firstName, DISPATCH_PROPERTYPUT, {args, &putId, 2, 1},
       DISP_E_BADPARAMCOUNT},
      {"put without a value", firstName, DISPATCH_PROPERTYPUT, {nullptr, &putId, 0, 1},
       DISP_E_BADPARAMCOUNT},
      {"putref", firstName, DISPATCH_PROPERTYPUTREF, {args, &putId, 1, 1}, DISP_E_MEMBERNOTFOUND},
      {"get with an argument", firstName, DISPATCH_PROPERTYGET, {args, nullptr, 1, 0},
       DISP_E_BADPARAMCOUNT},
      {"method with an argument", save, DISPATCH_METHOD, {args, nullptr, 1, 0},
       DISP_E_BADPARAMCOUNT},
      {"method with a named argument", save, DISPATCH_METHOD, {args, &otherId, 1, 1},
       kDispENoNamedArgs},
      {"put on a method", save, DISPATCH_PROPERTYPUT, {args, &putId, 1, 1}, DISP_E_MEMBERNOTFOUND},
      {"unknown member", 9999, DISPATCH_PROPERTYGET, {nullptr, nullptr, 0, 0},
       DISP_E_MEMBERNOTFOUND},
      {"no flags", firstName, 0, {nullptr, nullptr, 0, 0}, DISP_E_MEMBERNOTFOUND},
  };
  for (Case& c : cases) {
    Var result;
    EXPECT_EQ(disp->Invoke(c.member, IID_NULL, 0, c.flags, &c.params, result.get(), nullptr, nullptr),
              c.status)
        << c.name;
  }
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  Var result;
  EXPECT_EQ(disp->Invoke(firstName, IID_IDispatch, 0, DISPATCH_PROPERTYGET, &none, result.get(),
                         nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);
  EXPECT_EQ(contact.Text("FirstName"), "Ann");
  EXPECT_TRUE(contact.Bool("Saved"));
  UINT count = 9;
  EXPECT_EQ(disp->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 0u);
}

}  // namespace
}  // namespace olstore::test
