#include "olstore/Kinds.h"

#include "olstore/PropertyTables.h"
#include "olstore/Text.h"

namespace olstore {

namespace {

using namespace tables;

constexpr KindInfo kKinds[] = {
    {ItemKind::Contact, kClassContact, "IPM.Contact", "Contact", "contacts", FolderKind::Contacts,
     kContact, IndexOf(kContact, "FullName"), kNoIndex},
    {ItemKind::DistList, kClassDistList, "IPM.DistList", "DistList", "dist_lists",
     FolderKind::Contacts, kDistList, IndexOf(kDistList, "DLName"), kNoIndex},
    {ItemKind::Appointment, kClassAppointment, "IPM.Appointment", "Appointment", "appointments",
     FolderKind::Calendar, kAppointment, IndexOf(kAppointment, "Subject"),
     IndexOf(kAppointment, "IsRecurring")},
    {ItemKind::Task, kClassTask, "IPM.Task", "Task", "tasks", FolderKind::Tasks, kTask,
     IndexOf(kTask, "Subject"), kNoIndex},
    {ItemKind::Note, kClassNote, "IPM.StickyNote", "Note", "notes", FolderKind::Notes, kNote,
     IndexOf(kNote, "Subject"), kNoIndex},
};

struct FolderKindInfo {
  FolderKind kind;
  std::string_view name;
  std::string_view key;
  int32_t defaultId;  // olDefaultFolders
  int32_t itemType;   // OlItemType
};

constexpr FolderKindInfo kFolderKinds[] = {
    {FolderKind::Root, "Local Folders", "", 0, 0},
    {FolderKind::Contacts, "Contacts", "contacts", 10, 2},
    {FolderKind::Calendar, "Calendar", "calendar", 9, 1},
    {FolderKind::Tasks, "Tasks", "tasks", 13, 3},
    {FolderKind::Notes, "Notes", "notes", 12, 5},
};

const FolderKindInfo& FolderInfo(FolderKind kind) { return kFolderKinds[static_cast<size_t>(kind)]; }

}  // namespace

const KindInfo& Kind(ItemKind kind) { return kKinds[static_cast<size_t>(kind)]; }

std::span<const KindInfo> AllKinds() { return kKinds; }

std::optional<ItemKind> KindFromClass(int32_t olClass) {
  for (const KindInfo& info : kKinds)
    if (info.olClass == olClass) return info.kind;
  return std::nullopt;
}

std::optional<ItemKind> KindFromTypeName(std::string_view typeName) {
  for (const KindInfo& info : kKinds)
    if (EqualsNoCase(info.typeName, typeName)) return info.kind;
  return std::nullopt;
}

size_t FindProperty(const KindInfo& kind, std::string_view name, Scope scope) {
  for (size_t i = 0; i < kind.props.size(); ++i) {
    const PropDef& prop = kind.props[i];
    if (prop.scope != scope) continue;
    if (EqualsNoCase(prop.name, name) || (!prop.alias.empty() && EqualsNoCase(prop.alias, name)))
      return i;
  }
  return kNoIndex;
}

std::string_view DefaultFolderName(FolderKind kind) { return FolderInfo(kind).name; }

int32_t FolderItemType(FolderKind kind) { return FolderInfo(kind).itemType; }

std::optional<FolderKind> FolderKindFromDefaultId(int32_t olDefaultFolder) {
  for (const FolderKindInfo& info : kFolderKinds)
    if (info.defaultId != 0 && info.defaultId == olDefaultFolder) return info.kind;
  return std::nullopt;
}

std::string_view FolderKindKey(FolderKind kind) { return FolderInfo(kind).key; }

std::optional<FolderKind> FolderKindFromKey(std::string_view key) {
  for (const FolderKindInfo& info : kFolderKinds)
    if (!info.key.empty() && EqualsNoCase(info.key, key)) return info.kind;
  return std::nullopt;
}

}  // namespace olstore
