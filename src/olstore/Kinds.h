// The kinds of items the store keeps and the properties of each, with their
// automation types. One table per kind drives the object model, the database
// columns, the JSON exchange and the command line alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace olstore {

enum class ValueType : uint8_t {
  Text,     // VT_BSTR
  Int,      // VT_I4
  Bool,     // VT_BOOL
  Date,     // VT_DATE
  Members,  // a distribution list's members (JSON text), not an automation value
};

enum class Access : uint8_t {
  ReadWrite,
  ReadOnly,  // automation may read, never put
  Hidden,    // kept and exchanged, but no automation member
};

enum class Scope : uint8_t {
  Item,     // a member of the item
  Pattern,  // a member of the appointment's recurrence pattern
};

struct PropDef {
  std::string_view name;
  ValueType type = ValueType::Text;
  bool stored = true;  // has a database column of the same name; else computed
  Access access = Access::ReadWrite;
  Scope scope = Scope::Item;
  int32_t lo = INT32_MIN;  // allowed range of an Int
  int32_t hi = INT32_MAX;
  int32_t def = 0;            // default of an Int or Bool
  std::string_view alias{};   // a second automation name for the same property
};

enum class FolderKind : uint8_t { Root = 0, Contacts = 1, Calendar = 2, Tasks = 3, Notes = 4 };

enum class ItemKind : uint8_t { Contact, DistList, Appointment, Task, Note };

// Outlook's OlObjectClass values, answered by "Class".
constexpr int32_t kClassContact = 40;
constexpr int32_t kClassDistList = 69;
constexpr int32_t kClassAppointment = 26;
constexpr int32_t kClassTask = 48;
constexpr int32_t kClassNote = 44;

constexpr size_t kNoIndex = static_cast<size_t>(-1);

struct KindInfo {
  ItemKind kind;
  int32_t olClass;
  std::string_view messageClass;
  std::string_view typeName;  // "Type" in the JSON exchange
  std::string_view table;     // database table of the kind's columns
  FolderKind folder;          // the folders that hold this kind
  std::span<const PropDef> props;
  size_t titleIndex;      // the property that names an item in listings
  size_t recurringIndex;  // "IsRecurring" when the kind keeps a recurrence pattern
};

const KindInfo& Kind(ItemKind kind);
std::span<const KindInfo> AllKinds();
std::optional<ItemKind> KindFromClass(int32_t olClass);
std::optional<ItemKind> KindFromTypeName(std::string_view typeName);

// Index of the property with that automation name (or alias), case-insensitive,
// within one scope; kNoIndex when the kind has none.
size_t FindProperty(const KindInfo& kind, std::string_view name, Scope scope = Scope::Item);

// Folder kinds: the default folder's name, the folder's OlItemType
// ("DefaultItemType"), and the kind behind Outlook's olDefaultFolders value.
std::string_view DefaultFolderName(FolderKind kind);
int32_t FolderItemType(FolderKind kind);
std::optional<FolderKind> FolderKindFromDefaultId(int32_t olDefaultFolder);
// "contacts", "calendar", "tasks", "notes": the names the CLI and the JSON use.
std::string_view FolderKindKey(FolderKind kind);
std::optional<FolderKind> FolderKindFromKey(std::string_view key);

}  // namespace olstore
