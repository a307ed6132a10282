// What a qmbench run measures, on which sizes and kinds, and where it keeps
// its stores.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace qmbench {

struct Options {
  std::vector<int64_t> sizes = {1000, 10000, 100000};
  std::vector<std::string> kinds = {"contacts", "calendar", "tasks", "notes"};
  std::set<std::string> measures = {"read", "apply", "save", "batch", "list", "memory", "startup"};
  int nReps = 0;  // 0: 5 up to 10,000 items, 3 above
  int nStartupRuns = 10;
  std::string strCacheFolder;
  std::string strWorkFolder;  // empty: DefaultWorkFolder
  // Child modes.
  bool bChildStartup = false;
  std::string strChildMemoryKind;
  std::string strChildMemoryStore;

  bool Wants(const std::string& strMeasure) const { return measures.count(strMeasure) > 0; }
  int RepsFor(int64_t nItems) const { return nReps > 0 ? nReps : nItems <= 10000 ? 5 : 3; }
};

// False, with the reason (or the usage for --help) in strMessage, when the
// command line cannot be used.
bool ParseOptions(int argc, char** argv, Options& options, std::string& strMessage);

}  // namespace qmbench
