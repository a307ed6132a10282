// The local store's JSON import (what "olstore import" does) on arbitrary
// input, into a store that already holds items. An input is refused or
// imported whole: a refused import leaves the store exactly as it was, and an
// imported one exports a file that imports into an empty store and exports
// again byte for byte.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "olstore/Exchange.h"
#include "olstore/Store.h"

namespace {

// What the store holds before every input: an item of each kind, one in a
// subfolder, with EntryIDs an input can collide with (the seed corpus does).
constexpr std::string_view kStartingItems = R"({
  "format": "olstore", "version": 1,
  "contacts": {
    "items": [{"Type": "Contact", "EntryID": "00000000AA01", "FirstName": "Ann", "LastName": "Smith"}],
    "folders": [{"name": "Clients", "items": [{"EntryID": "00000000AA02", "FullName": "Bo Berg"}],
                 "folders": []}]
  },
  "calendar": {"items": [{"EntryID": "00000000AA03", "Subject": "Review",
                          "Start": "2024-03-14T09:00:00", "End": "2024-03-14T10:00:00"}]},
  "tasks": {"items": [{"EntryID": "00000000AA04", "Subject": "Invoice", "Status": 1}]},
  "notes": {"items": [{"EntryID": "00000000AA05", "Body": "Milk"}]}
})";

std::shared_ptr<olstore::Store> OpenStore(const std::string& path) {
  std::string error;
  std::shared_ptr<olstore::Store> store = olstore::Store::Open(path, error);
  if (!store) {
    fprintf(stderr, "cannot open the store %s: %s\n", path.c_str(), error.c_str());
    abort();
  }
  return store;
}

std::string Export(olstore::Store& store) {
  std::ostringstream out;
  std::string error;
  FUZZ_CHECK(olstore::ExportJson(store, out, error));
  return out.str();
}

bool Import(olstore::Store& store, std::string_view json, std::string& error) {
  std::optional<olstore::ImportPlan> plan = olstore::ParseImport(json, error);
  if (!plan) return false;
  return olstore::ApplyImport(store, *plan, error);
}

// A store made once and copied for every use: the empty store, or the one
// with the starting items.
std::string MakeTemplate(std::string_view name, std::string_view json) {
  const std::string path = FuzzPath(name);
  std::shared_ptr<olstore::Store> store = OpenStore(path);
  std::string error;
  if (!json.empty() && !Import(*store, json, error)) {
    fprintf(stderr, "cannot import the starting items: %s\n", error.c_str());
    abort();
  }
  return path;
}

std::shared_ptr<olstore::Store> CopyOf(const std::string& templatePath, const std::string& path) {
  RemoveFuzzFile(path);
  std::filesystem::copy_file(templatePath, path);
  return OpenStore(path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string emptyTemplate = MakeTemplate("empty.db", {});
  static const std::string startTemplate = MakeTemplate("start.db", kStartingItems);
  static const std::string storePath = FuzzPath("store.db");
  static std::shared_ptr<olstore::Store> store = CopyOf(startTemplate, storePath);
  static const std::string startExport = Export(*store);

  const std::string_view json(reinterpret_cast<const char*>(data), size);
  std::string error;
  if (!Import(*store, json, error)) {
    FUZZ_CHECK(!error.empty());
    FUZZ_CHECK(Export(*store) == startExport);
    return 0;
  }

  const std::string imported = Export(*store);
  {
    std::shared_ptr<olstore::Store> copy = CopyOf(emptyTemplate, FuzzPath("copy.db"));
    FUZZ_CHECK(Import(*copy, imported, error));
    FUZZ_CHECK(Export(*copy) == imported);
  }
  // The next input starts from the starting items again.
  store.reset();
  store = CopyOf(startTemplate, storePath);
  return 0;
}
