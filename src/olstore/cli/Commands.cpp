#include "olstore/cli/Commands.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "olstore/Exchange.h"
#include "olstore/Files.h"
#include "olstore/Ids.h"
#include "olstore/Schema.h"
#include "olstore/Seed.h"
#include "olstore/Store.h"
#include "olstore/olstore.h"

namespace olstore::cli {

namespace {

// "1 contact", "3 distribution lists".
std::string Counted(int64_t count, ItemKind kind) {
  static constexpr std::string_view kNames[] = {"contact", "distribution list", "appointment",
                                                "task", "note"};
  return std::to_string(count) + " " + std::string(kNames[static_cast<size_t>(kind)]) +
         (count == 1 ? "" : "s");
}

bool FileExists(const std::string& path) { return ProbeFile(path) != FileState::Missing; }

std::shared_ptr<Store> OpenStore(const Invocation& call, bool create) {
  std::string error;
  std::shared_ptr<Store> store = Store::Open(call.storePath, error, create);
  if (!store) {
    Complain(kExitFailed, "cannot open the store " + call.storePath + ": " + error +
                              (create || FileExists(call.storePath) ? "" : " (see 'olstore init')"));
  }
  return store;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

bool ExpectArgs(const Invocation& call, size_t min, size_t max, std::string_view usage) {
  if (call.args.size() >= min && call.args.size() <= max) return true;
  Complain(kExitUsage, "usage: olstore " + std::string(usage));
  return false;
}

// One line per property: control characters are shown as escapes.
std::string ShowText(std::string_view text) {
  std::string out;
  for (char ch : text) {
    switch (ch) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      default: out.push_back(ch);
    }
  }
  return out;
}

std::string ShowValue(const Value& value, ValueType type) {
  switch (type) {
    case ValueType::Int: return std::to_string(std::get<int32_t>(value));
    case ValueType::Bool: return std::get<bool>(value) ? "true" : "false";
    case ValueType::Date:
      return IsNoDate(std::get<double>(value)) ? std::string() : FormatOleDate(std::get<double>(value));
    case ValueType::Members: {
      std::string out;
      for (const auto& member : nlohmann::json::parse(std::get<std::string>(value), nullptr, false)) {
        if (!out.empty()) out += "; ";
        out += member.value("Name", "");
        if (member.contains("Address")) out += " <" + member.value("Address", "") + ">";
      }
      return ShowText(out);
    }
    case ValueType::Text: break;
  }
  return ShowText(std::get<std::string>(value));
}

// Every folder of a kind, each before its subfolders.
void CollectFolders(Store& store, const FolderRecord& folder, std::vector<FolderRecord>& out) {
  out.push_back(folder);
  for (const FolderRecord& child : store.Subfolders(folder.id)) CollectFolders(store, child, out);
}

std::vector<FolderRecord> FoldersOf(Store& store, FolderKind kind) {
  std::vector<FolderRecord> folders;
  if (std::optional<FolderRecord> root = store.DefaultFolder(kind)) CollectFolders(store, *root, folders);
  return folders;
}

constexpr FolderKind kFolderKinds[] = {FolderKind::Contacts, FolderKind::Calendar,
                                       FolderKind::Tasks, FolderKind::Notes};

}  // namespace

int Complain(int code, const std::string& text) {
  std::fprintf(stderr, "olstore: %s\n", text.c_str());
  return code;
}

int Init(const Invocation& call) {
  if (!ExpectArgs(call, 0, 0, "init")) return kExitUsage;
  const bool existed = FileExists(call.storePath);
  const std::shared_ptr<Store> store = OpenStore(call, true);
  if (!store) return kExitFailed;
  std::printf("%s store %s\nStore ID: %s\nVersion: %s (schema %d)\n",
              existed ? "Using the" : "Created the", store->Path().c_str(), store->StoreId().c_str(),
              Version(), CurrentSchemaVersion());
  return kExitOk;
}

int Seed(const Invocation& call) {
  SeedOptions options;
  struct Count {
    std::string_view option;
    int64_t* value;
  } counts[] = {{"--contacts", &options.contacts},
                {"--distlists", &options.distLists},
                {"--appointments", &options.appointments},
                {"--tasks", &options.tasks},
                {"--notes", &options.notes}};
  for (size_t i = 0; i < call.args.size(); i += 2) {
    const std::string& option = call.args[i];
    if (i + 1 == call.args.size()) return Complain(kExitUsage, option + " needs a value");
    const std::string& text = call.args[i + 1];
    bool known = false;
    for (Count& count : counts) {
      if (option != count.option) continue;
      known = true;
      if (!ParseNumber(text, *count.value) || *count.value < 0 || *count.value > 10'000'000)
        return Complain(kExitUsage, option + " needs a count from 0 to 10000000, not '" + text + "'");
    }
    if (option == "--seed") {
      known = true;
      if (!ParseNumber(text, options.seed))
        return Complain(kExitUsage, "--seed needs a whole number, not '" + text + "'");
    } else if (option == "--date") {
      known = true;
      const std::optional<double> date = ParseOleDate(text);
      if (!date || text.size() != 10)
        return Complain(kExitUsage, "--date needs a day such as 2024-03-14, not '" + text + "'");
      options.today = *date;
    }
    if (!known) return Complain(kExitUsage, "seed has no option '" + option + "'");
  }
  const std::shared_ptr<Store> store = OpenStore(call, true);
  if (!store) return kExitFailed;
  SeedCounts added;
  std::string error;
  if (!SeedStore(*store, options, added, error))
    return Complain(kExitFailed, "seeding failed, nothing was added: " + error);
  std::printf("Added %s, %s, %s, %s and %s to %s\n", Counted(added.contacts, ItemKind::Contact).c_str(),
              Counted(added.distLists, ItemKind::DistList).c_str(),
              Counted(added.appointments, ItemKind::Appointment).c_str(),
              Counted(added.tasks, ItemKind::Task).c_str(), Counted(added.notes, ItemKind::Note).c_str(),
              store->Path().c_str());
  return kExitOk;
}

int Import(const Invocation& call) {
  if (!ExpectArgs(call, 1, 1, "import FILE")) return kExitUsage;
  const std::string& file = call.args[0];
  std::ostringstream text;
  if (file == "-") {
    text << std::cin.rdbuf();
  } else {
    std::ifstream in(PathFromUtf8(file), std::ios::binary);
    if (!in) return Complain(kExitFailed, "cannot read " + file);
    text << in.rdbuf();
  }
  std::string error;
  std::optional<ImportPlan> plan = ParseImport(text.str(), error);
  if (!plan) return Complain(kExitFailed, "cannot import " + file + ": " + error + "; nothing was imported");
  const std::shared_ptr<Store> store = OpenStore(call, true);
  if (!store) return kExitFailed;
  if (!ApplyImport(*store, *plan, error))
    return Complain(kExitFailed, "cannot import " + file + ": " + error + "; nothing was imported");
  std::printf("Imported %zu items into %s\n", plan->itemCount, store->Path().c_str());
  return kExitOk;
}

int Export(const Invocation& call) {
  if (!ExpectArgs(call, 0, 1, "export [FILE]")) return kExitUsage;
  const std::shared_ptr<Store> store = OpenStore(call, false);
  if (!store) return kExitFailed;
  std::string error;
  if (call.args.empty()) {
    std::ios::sync_with_stdio(false);
    if (!ExportJson(*store, std::cout, error)) return Complain(kExitFailed, error);
    return kExitOk;
  }
  // Written beside the target and renamed, so a failed export leaves no half file.
  const std::string& file = call.args[0];
  const std::string temp = file + ".part";
  {
    std::ofstream out(PathFromUtf8(temp), std::ios::binary | std::ios::trunc);
    if (!out) return Complain(kExitFailed, "cannot write " + file);
    const bool written = ExportJson(*store, out, error) && out.flush();
    out.close();
    if (!written) {
      RemoveFile(temp);
      return Complain(kExitFailed, error.empty() ? "cannot write " + file : error);
    }
  }
  if (!ReplaceFileAtomically(temp, file, error)) return Complain(kExitFailed, "cannot write " + file + ": " + error);
  return kExitOk;
}

int List(const Invocation& call) {
  if (!ExpectArgs(call, 1, 1, "list contacts|calendar|tasks|notes")) return kExitUsage;
  const std::optional<FolderKind> kind = FolderKindFromKey(call.args[0]);
  if (!kind)
    return Complain(kExitUsage, "unknown kind '" + call.args[0] + "' (contacts, calendar, tasks or notes)");
  const std::shared_ptr<Store> store = OpenStore(call, false);
  if (!store) return kExitFailed;
  std::ios::sync_with_stdio(false);
  for (const FolderRecord& folder : FoldersOf(*store, *kind)) {
    const std::string path = store->FolderPath(folder.id);
    int64_t last = 0;
    std::string failure;
    while (std::optional<ItemData> item = store->NextItem(folder.id, last, &failure)) {
      last = item->id;
      const Value title = GetValue(*item, item->Info().titleIndex);
      std::cout << item->entryId << '\t' << path << '\t' << ShowText(std::get<std::string>(title)) << '\n';
    }
    if (!failure.empty()) {
      std::cout.flush();
      return Complain(kExitFailed, "cannot read the folder " + path + ": " + failure);
    }
  }
  std::cout.flush();
  return kExitOk;
}

int Show(const Invocation& call) {
  if (!ExpectArgs(call, 1, 1, "show ENTRYID")) return kExitUsage;
  if (!NormalizeId(call.args[0]))
    return Complain(kExitUsage, "'" + call.args[0] + "' is not an entry ID (a hex text)");
  const std::shared_ptr<Store> store = OpenStore(call, false);
  if (!store) return kExitFailed;
  const std::optional<ItemData> item = store->ItemByEntryId(call.args[0]);
  if (!item) return Complain(kExitFailed, "no item has the entry ID " + call.args[0]);
  const KindInfo& info = item->Info();
  const bool recurring = info.recurringIndex != kNoIndex && item->BoolAt(info.recurringIndex);
  std::printf("EntryID: %s\nType: %s\nFolder: %s\nCreationTime: %s\nLastModificationTime: %s\n",
              item->entryId.c_str(), std::string(info.typeName).c_str(),
              store->FolderPath(item->folderId).c_str(), FormatOleDate(item->created).c_str(),
              FormatOleDate(item->modified).c_str());
  for (size_t i = 0; i < info.props.size(); ++i) {
    const PropDef& prop = info.props[i];
    if (prop.scope == Scope::Pattern && !recurring) continue;
    std::printf("%s%s: %s\n", prop.scope == Scope::Pattern ? "RecurrencePattern." : "",
                std::string(prop.name).c_str(), ShowValue(GetValue(*item, i), prop.type).c_str());
  }
  return kExitOk;
}

int Stats(const Invocation& call) {
  if (!ExpectArgs(call, 0, 0, "stats")) return kExitUsage;
  const std::shared_ptr<Store> store = OpenStore(call, false);
  if (!store) return kExitFailed;
  std::printf("Store: %s\nStore ID: %s\n\n%-40s %9s\n", store->Path().c_str(),
              store->StoreId().c_str(), "Folder", "Items");
  std::map<ItemKind, int64_t> totals;
  for (FolderKind kind : kFolderKinds) {
    for (const FolderRecord& folder : FoldersOf(*store, kind)) {
      int64_t count = 0;
      std::string detail;
      for (const auto& [itemKind, n] : store->CountByKind(folder.id)) {
        count += n;
        totals[itemKind] += n;
        detail += (detail.empty() ? "" : ", ") + Counted(n, itemKind);
      }
      std::printf("%-40s %9lld%s%s%s\n", store->FolderPath(folder.id).c_str(),
                  static_cast<long long>(count), detail.empty() ? "" : "  (", detail.c_str(),
                  detail.empty() ? "" : ")");
    }
  }
  std::string total;
  for (ItemKind kind : {ItemKind::Contact, ItemKind::DistList, ItemKind::Appointment,
                        ItemKind::Task, ItemKind::Note})
    total += (total.empty() ? "" : ", ") + Counted(totals[kind], kind);
  std::printf("\nTotal: %s\n", total.c_str());
  return kExitOk;
}

}  // namespace olstore::cli
