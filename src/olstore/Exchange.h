// The store's JSON exchange format (described in docs/olstore.md): the four
// default folders with their items and subfolders, every stored property of
// every item. Exporting and importing into an empty store gives back the
// same file, byte for byte.
#pragma once

#include <ostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "olstore/Item.h"
#include "olstore/Store.h"

namespace olstore {

constexpr int kExchangeVersion = 1;

bool ExportJson(Store& store, std::ostream& out, std::string& error);

// One folder of an exchange file, with the items to add to it.
struct PlannedFolder {
  FolderKind kind = FolderKind::Contacts;
  std::vector<std::string> path;  // below the default folder; empty for the default folder
  std::vector<ItemData> items;
};

struct ImportPlan {
  std::vector<PlannedFolder> folders;  // parents before their children
  size_t itemCount = 0;
};

// Checks a whole file without touching any store: nullopt and the first
// problem (with where it is) when the file is not a valid exchange file.
std::optional<ImportPlan> ParseImport(std::string_view json, std::string& error);

// Adds the planned folders (joining existing ones of the same name) and items
// in one transaction: all of them, or nothing when anything fails.
bool ApplyImport(Store& store, ImportPlan& plan, std::string& error);

}  // namespace olstore
