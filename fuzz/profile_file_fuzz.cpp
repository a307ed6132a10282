// Saved update profiles on arbitrary file contents, read as a profile of each
// kind. A refused file leaves the caller's list alone; an accepted one saves,
// and what was saved reads back to the same definitions and saves to the
// same bytes.
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "common/misc/CxText.h"
#include "update/CxItemKind.h"
#include "update/CxProfileFile.h"

namespace {

constexpr int32_t kModes[] = {1, 2, 4, 8};

std::string ReadBack(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool SameDefinition(const FieldUpdateDef& a, const FieldUpdateDef& b) {
  return a.nFieldID == b.nFieldID && a.nOperation == b.nOperation &&
         FieldString(a.szSearch) == FieldString(b.szSearch) &&
         FieldString(a.szValue) == FieldString(b.szValue) && a.nPosition == b.nPosition &&
         a.nHasDate == b.nHasDate && a.bValue == b.bValue && a.nValue == b.nValue &&
         (a.nHasDate != 1 || a.dtValue == b.dtValue);
}

std::string Save(const CxItemKind& kind, const std::vector<FieldUpdateDef>& defs,
                 const std::string& path) {
  std::string error;
  FUZZ_CHECK(WriteProfileFile(path, kind, defs, &error));
  return ReadBack(path);
}

void CheckKind(const CxItemKind& kind, const std::string& path) {
  static const std::string savedPath = FuzzPath("saved.ini");
  FieldUpdateDef sentinel{};
  sentinel.nFieldID = -7;
  std::vector<FieldUpdateDef> defs{sentinel};
  std::string error;
  if (!ReadProfileFile(path, kind, &defs, &error)) {
    FUZZ_CHECK(!error.empty());
    FUZZ_CHECK(defs.size() == 1 && SameDefinition(defs[0], sentinel));
    return;
  }
  const std::string saved = Save(kind, defs, savedPath);
  std::vector<FieldUpdateDef> again;
  FUZZ_CHECK(ReadProfileFile(savedPath, kind, &again, &error));
  FUZZ_CHECK(again.size() == defs.size());
  for (size_t i = 0; i < defs.size(); ++i) FUZZ_CHECK(SameDefinition(again[i], defs[i]));
  FUZZ_CHECK(Save(kind, again, savedPath) == saved);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::vector<std::unique_ptr<CxItemKind>> kinds = [] {
    std::vector<std::unique_ptr<CxItemKind>> made;
    for (const int32_t nMode : kModes)
      made.push_back(MakeItemKind(nMode, nullptr, nullptr, nullptr, nullptr));
    return made;
  }();
  static const std::string path = FuzzPath("profile.ini");
  WriteFuzzFile(path, data, size);
  for (const std::unique_ptr<CxItemKind>& kind : kinds) CheckKind(*kind, path);
  return 0;
}
