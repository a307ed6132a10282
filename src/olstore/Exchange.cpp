#include "olstore/Exchange.h"

#include <nlohmann/json.hpp>

#include <set>
#include <sstream>

#include "olstore/Ids.h"
#include "olstore/Text.h"

namespace olstore {

namespace {

using Json = nlohmann::ordered_json;

constexpr FolderKind kFolderKinds[] = {FolderKind::Contacts, FolderKind::Calendar,
                                       FolderKind::Tasks, FolderKind::Notes};
constexpr std::string_view kPatternKey = "RecurrencePattern";

std::string Dump(const Json& value, int indent) {
  // Texts from the store are valid UTF-8; replacing keeps a damaged one from
  // stopping the whole export.
  return value.dump(indent, ' ', false, Json::error_handler_t::replace);
}

// Whether a stored property is written to the file: empty texts and unset
// dates are left out, numbers and flags always written.
bool IsExported(const Value& value, ValueType type) {
  if (type == ValueType::Date) return !IsNoDate(std::get<double>(value));
  if (type == ValueType::Text) return !std::get<std::string>(value).empty();
  if (type == ValueType::Members) return std::get<std::string>(value) != "[]";
  return true;
}

Json ToJson(const Value& value, ValueType type) {
  switch (type) {
    case ValueType::Int: return std::get<int32_t>(value);
    case ValueType::Bool: return std::get<bool>(value);
    case ValueType::Date: return FormatOleDate(std::get<double>(value));
    case ValueType::Members: return Json::parse(std::get<std::string>(value), nullptr, false);
    case ValueType::Text: break;
  }
  return std::get<std::string>(value);
}

Json ItemJson(const ItemData& item) {
  const KindInfo& info = item.Info();
  Json json = Json::object();
  json["Type"] = info.typeName;
  json["EntryID"] = item.entryId;
  json["CreationTime"] = FormatOleDate(item.created);
  json["LastModificationTime"] = FormatOleDate(item.modified);
  Json pattern = Json::object();
  for (size_t i = 0; i < info.props.size(); ++i) {
    const PropDef& prop = info.props[i];
    if (!prop.stored || i == info.recurringIndex || !IsExported(item.values[i], prop.type)) continue;
    (prop.scope == Scope::Pattern ? pattern : json)[std::string(prop.name)] =
        ToJson(item.values[i], prop.type);
  }
  if (info.recurringIndex != kNoIndex && item.BoolAt(info.recurringIndex))
    json[std::string(kPatternKey)] = std::move(pattern);
  return json;
}

// Writes the JSON text of value, indented as if it stood at depth `depth`.
void WriteNested(std::ostream& out, const std::string& text, const std::string& indent) {
  for (size_t pos = 0; pos < text.size();) {
    const size_t end = text.find('\n', pos);
    const size_t stop = end == std::string::npos ? text.size() : end;
    if (pos > 0) out << indent;
    out.write(text.data() + pos, static_cast<std::streamsize>(stop - pos));
    if (end == std::string::npos) break;
    out << '\n';
    pos = end + 1;
  }
}

// The body of one folder object ("name" when named, "items", "folders"), one
// item at a time so that a large store never sits in memory whole.
// A part of the store that cannot be read ends the export with the reason: an
// export that passed over it would pass for the whole store.
bool WriteFolder(Store& store, std::ostream& out, const FolderRecord& folder, bool named,
                 const std::string& indent, std::string& error) {
  const std::string inner = indent + "  ";
  out << "{\n";
  if (named) out << inner << "\"name\": " << Dump(folder.name, -1) << ",\n";
  out << inner << "\"items\": [";
  bool first = true;
  int64_t last = 0;
  std::string failure;
  while (std::optional<ItemData> item = store.NextItem(folder.id, last, &failure)) {
    last = item->id;
    out << (first ? "\n" : ",\n") << inner << "  ";
    WriteNested(out, Dump(ItemJson(*item), 2), inner + "  ");
    first = false;
  }
  if (!failure.empty()) {
    error = "cannot read the folder " + store.FolderPath(folder.id) + ": " + failure;
    return false;
  }
  out << (first ? "]" : "\n" + inner + "]") << ",\n" << inner << "\"folders\": [";
  const std::vector<FolderRecord> children = store.Subfolders(folder.id);
  for (size_t i = 0; i < children.size(); ++i) {
    out << (i == 0 ? "\n" : ",\n") << inner << "  ";
    if (!WriteFolder(store, out, children[i], true, inner + "  ", error)) return false;
  }
  out << (children.empty() ? "]" : "\n" + inner + "]") << "\n" << indent << "}";
  return static_cast<bool>(out);
}

// ---- import ----------------------------------------------------------------

// Where in the file a problem is, for messages such as
// "contacts/Clients: item 3: Gender must be an integer from 0 to 2".
std::string Where(const std::string& folder, size_t itemIndex) {
  return folder + ": item " + std::to_string(itemIndex + 1);
}

std::string Describe(const PropDef& prop) {
  switch (prop.type) {
    case ValueType::Int:
      if (prop.lo == INT32_MIN) return "an integer";
      if (prop.hi == INT32_MAX) return "an integer of at least " + std::to_string(prop.lo);
      return "an integer from " + std::to_string(prop.lo) + " to " + std::to_string(prop.hi);
    case ValueType::Bool: return "true or false";
    case ValueType::Date: return "a date such as \"2024-03-14T09:30:00\"";
    case ValueType::Members: return "an array of members";
    case ValueType::Text: break;
  }
  return "a text";
}

std::optional<Value> FromJson(const Json& json, ValueType type) {
  switch (type) {
    case ValueType::Int:
      if (!json.is_number_integer()) return std::nullopt;
      if (json.is_number_unsigned() ? json.get<uint64_t>() > INT32_MAX
                                    : json.get<int64_t>() < INT32_MIN || json.get<int64_t>() > INT32_MAX)
        return std::nullopt;
      return static_cast<int32_t>(json.get<int64_t>());
    case ValueType::Bool:
      if (!json.is_boolean()) return std::nullopt;
      return json.get<bool>();
    case ValueType::Date:
      if (!json.is_string()) return std::nullopt;
      if (std::optional<double> date = ParseOleDate(json.get_ref<const std::string&>())) return *date;
      return std::nullopt;
    case ValueType::Members:
      if (!json.is_array()) return std::nullopt;
      return json.dump();
    case ValueType::Text: break;
  }
  if (!json.is_string()) return std::nullopt;
  return json.get<std::string>();
}

class Parser {
 public:
  std::optional<ImportPlan> Parse(std::string_view text) {
    const Json root = Json::parse(text, nullptr, false);
    if (root.is_discarded()) return Refuse("the file is not valid JSON");
    if (!root.is_object()) return Refuse("the file must hold one JSON object");
    if (!root.contains("format") || root["format"] != "olstore")
      return Refuse("the file is not an olstore exchange file (\"format\": \"olstore\" missing)");
    if (!root.contains("version") || !root["version"].is_number_integer() ||
        root["version"].get<int64_t>() < 1 || root["version"].get<int64_t>() > kExchangeVersion)
      return Refuse("the file's \"version\" must be " + std::to_string(kExchangeVersion));
    for (const auto& [key, value] : root.items()) {
      if (key == "format" || key == "version") continue;
      const std::optional<FolderKind> kind = FolderKindFromKey(key);
      if (!kind || key != FolderKindKey(*kind))
        return Refuse("unknown top-level key \"" + key + "\"");
      if (!ParseFolder(value, *kind, {}, key)) return std::nullopt;
    }
    return std::move(m_plan);
  }

  const std::string& Error() const { return m_error; }

 private:
  bool Problem(std::string text) {
    m_error = std::move(text);
    return false;
  }
  std::nullopt_t Refuse(std::string text) {
    m_error = std::move(text);
    return std::nullopt;
  }

  bool ParseFolder(const Json& json, FolderKind kind, const std::vector<std::string>& path,
                   const std::string& where) {
    if (!json.is_object()) return Problem(where + ": a folder must be an object");
    for (const auto& [key, value] : json.items()) {
      if (key == "items" || key == "folders") {
        if (!value.is_array()) return Problem(where + ": \"" + key + "\" must be an array");
      } else if (key != "name" || path.empty()) {
        return Problem(where + ": unknown folder key \"" + key + "\"");
      }
    }
    PlannedFolder folder{kind, path, {}};
    if (json.contains("items")) {
      const Json& items = json["items"];
      for (size_t i = 0; i < items.size(); ++i) {
        std::optional<ItemData> item = ParseItem(items[i], kind, Where(where, i));
        if (!item) return false;
        folder.items.push_back(std::move(*item));
      }
    }
    m_plan.itemCount += folder.items.size();
    m_plan.folders.push_back(std::move(folder));
    if (!json.contains("folders")) return true;
    std::set<std::string> siblings;
    for (const Json& child : json["folders"]) {
      if (!child.is_object() || !child.contains("name") || !child["name"].is_string())
        return Problem(where + ": every subfolder needs a \"name\" text");
      const std::string name = child["name"].get<std::string>();
      if (name.empty() || name.find_first_of("/\\") != std::string::npos)
        return Problem(where + ": a folder name must be a non-empty text without / or \\");
      if (!siblings.insert(AsciiLower(name)).second)
        return Problem(where + ": two subfolders are named \"" + name + "\"");
      std::vector<std::string> childPath = path;
      childPath.push_back(name);
      if (!ParseFolder(child, kind, childPath, where + "/" + name)) return false;
    }
    return true;
  }

  std::optional<ItemKind> KindOf(const Json& json, FolderKind folder, const std::string& where) {
    if (!json.contains("Type")) {
      for (const KindInfo& info : AllKinds())
        if (info.folder == folder) return info.kind;  // the folder's first kind
    }
    std::optional<ItemKind> kind;
    if (json["Type"].is_string()) kind = KindFromTypeName(json["Type"].get<std::string>());
    if (!kind) return Refuse(where + ": unknown \"Type\" " + json["Type"].dump());
    if (Kind(*kind).folder != folder)
      return Refuse(where + ": a " + std::string(Kind(*kind).typeName) + " cannot be kept in " +
                     std::string(FolderKindKey(folder)));
    return kind;
  }

  std::optional<ItemData> ParseItem(const Json& json, FolderKind folder, const std::string& where) {
    if (!json.is_object()) return Refuse(where + ": an item must be an object");
    const std::optional<ItemKind> kind = KindOf(json, folder, where);
    if (!kind) return std::nullopt;
    ItemData item = NewItem(*kind);
    for (const auto& [key, value] : json.items()) {
      if (key != "Type" && !ParseMember(item, key, value, where)) return std::nullopt;
    }
    if (const std::string problem = CheckItem(item); !problem.empty())
      return Refuse(where + ": " + problem);
    return item;
  }

  bool ParseMember(ItemData& item, const std::string& key, const Json& value,
                   const std::string& where) {
    const KindInfo& info = item.Info();
    if (key == "EntryID") {
      const std::optional<std::string> id =
          value.is_string() ? NormalizeId(value.get<std::string>()) : std::nullopt;
      if (!id) return Problem(where + ": EntryID must be a hex text of whole bytes");
      if (!m_entryIds.insert(*id).second)
        return Problem(where + ": EntryID " + *id + " appears twice in the file");
      item.entryId = *id;
      return true;
    }
    if (key == "CreationTime" || key == "LastModificationTime") {
      const std::optional<Value> date = FromJson(value, ValueType::Date);
      if (!date) return Problem(where + ": " + key + " must be a date such as \"2024-03-14T09:30:00\"");
      (key == "CreationTime" ? item.created : item.modified) = std::get<double>(*date);
      return true;
    }
    if (key == kPatternKey && info.recurringIndex != kNoIndex) {
      if (!value.is_object()) return Problem(where + ": RecurrencePattern must be an object");
      item.values[info.recurringIndex] = true;
      for (const auto& [name, member] : value.items())
        if (!SetProperty(item, name, member, Scope::Pattern, where)) return false;
      return true;
    }
    return SetProperty(item, key, value, Scope::Item, where);
  }

  bool SetProperty(ItemData& item, const std::string& name, const Json& value, Scope scope,
                   const std::string& where) {
    const KindInfo& info = item.Info();
    const size_t index = FindProperty(info, name, scope);
    const std::string owner = "a " + std::string(info.typeName) +
                              (scope == Scope::Pattern ? "'s RecurrencePattern" : "");
    if (index == kNoIndex) return Problem(where + ": " + owner + " has no property \"" + name + "\"");
    const PropDef& prop = info.props[index];
    if (prop.name != name)
      return Problem(where + ": " + owner + " has no property \"" + name + "\" (did you mean \"" +
                     std::string(prop.name) + "\"?)");
    if (!prop.stored || index == info.recurringIndex)
      return Problem(where + ": " + name + " follows from other properties and cannot be given");
    const std::optional<Value> parsed = FromJson(value, prop.type);
    if (!parsed || SetStoredValue(item, index, *parsed) != PutStatus::Ok)
      return Problem(where + ": " + name + " must be " + Describe(prop));
    return true;
  }

  ImportPlan m_plan;
  std::set<std::string> m_entryIds;
  std::string m_error;
};

}  // namespace

bool ExportJson(Store& store, std::ostream& out, std::string& error) {
  out << "{\n  \"format\": \"olstore\",\n  \"version\": " << kExchangeVersion;
  for (FolderKind kind : kFolderKinds) {
    const std::optional<FolderRecord> folder = store.DefaultFolder(kind);
    if (!folder) {
      error = "the store has no " + std::string(DefaultFolderName(kind)) + " folder";
      return false;
    }
    out << ",\n  \"" << FolderKindKey(kind) << "\": ";
    if (!WriteFolder(store, out, *folder, false, "  ", error)) {
      if (error.empty()) error = "cannot write the export";
      return false;
    }
  }
  out << "\n}\n";
  out.flush();
  if (!out) error = "cannot write the export";
  return static_cast<bool>(out);
}

std::optional<ImportPlan> ParseImport(std::string_view json, std::string& error) {
  Parser parser;
  std::optional<ImportPlan> plan = parser.Parse(json);
  if (!plan) error = parser.Error();
  return plan;
}

bool ApplyImport(Store& store, ImportPlan& plan, std::string& error) {
  Transaction tx(store.Db());
  if (!tx.Active()) {
    error = "cannot write to the store: " + store.ErrorMessage();
    return false;
  }
  for (PlannedFolder& planned : plan.folders) {
    std::optional<FolderRecord> folder = store.DefaultFolder(planned.kind);
    for (const std::string& name : planned.path) {
      if (!folder) break;
      std::optional<FolderRecord> child = store.SubfolderByName(folder->id, name);
      folder = child ? child : store.CreateFolder(folder->id, name);
    }
    if (!folder) {
      error = "cannot make the folder " + std::string(FolderKindKey(planned.kind));
      for (const std::string& name : planned.path) error += "/" + name;
      error += ": " + store.ErrorMessage();
      return false;
    }
    for (ItemData& item : planned.items) {
      if (!item.entryId.empty() && store.EntryIdExists(item.entryId)) {
        error = "an item with EntryID " + item.entryId + " is already in the store";
        return false;
      }
      item.folderId = folder->id;
      if (!store.InsertItem(item)) {
        error = "cannot add an item: " + store.ErrorMessage();
        return false;
      }
    }
  }
  if (!tx.Commit()) {
    error = "cannot write to the store: " + store.ErrorMessage();
    return false;
  }
  return true;
}

}  // namespace olstore
