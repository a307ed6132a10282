#include "bench/Options.h"

#include <cstdlib>
#include <sstream>

namespace qmbench {

namespace {

constexpr const char* kUsage =
    "usage: qmbench [options]\n"
    "  --sizes N,N,...     items of each kind (default 1000,10000,100000)\n"
    "  --kinds K,K,...     contacts, calendar, tasks, notes (default all)\n"
    "  --only M,M,...      read, apply, save, batch, list, memory, startup (default all)\n"
    "  --reps N            timed passes per measurement (default 5 up to 10,000 items, else 3)\n"
    "  --startup-runs N    start-ups to time (default 10)\n"
    "  --cache DIR         where seeded stores are kept between runs\n"
    "                      (default $XDG_CACHE_HOME/quillmere-bench or ~/.cache/quillmere-bench)\n"
    "  --work-dir DIR      where the store copies that runs change are made\n"
    "                      (default /dev/shm when writable, else the cache)\n";

std::vector<std::string> SplitList(const std::string& strText) {
  std::vector<std::string> parts;
  std::istringstream in(strText);
  std::string strPart;
  while (std::getline(in, strPart, ','))
    if (!strPart.empty()) parts.push_back(strPart);
  return parts;
}

bool ParseCount(const std::string& strText, int64_t nMin, int64_t& nValue) {
  char* pEnd = nullptr;
  const long long n = std::strtoll(strText.c_str(), &pEnd, 10);
  if (strText.empty() || *pEnd != '\0' || n < nMin) return false;
  nValue = n;
  return true;
}

bool AllKnown(const std::vector<std::string>& values, const std::set<std::string>& known) {
  for (const std::string& strValue : values)
    if (!known.count(strValue)) return false;
  return !values.empty();
}

std::string DefaultCacheFolder() {
  if (const char* szCache = std::getenv("XDG_CACHE_HOME"); szCache && szCache[0] == '/')
    return std::string(szCache) + "/quillmere-bench";
  const char* szHome = std::getenv("HOME");
  return std::string(szHome && *szHome ? szHome : "/tmp") + "/.cache/quillmere-bench";
}

}  // namespace

bool ParseOptions(int argc, char** argv, Options& options, std::string& strMessage) {
  options.strCacheFolder = DefaultCacheFolder();
  const std::set<std::string> kKinds = {"contacts", "calendar", "tasks", "notes"};
  const std::set<std::string> kMeasures = {"read", "apply",  "save",   "batch",
                                           "list", "memory", "startup"};
  for (int i = 1; i < argc; ++i) {
    const std::string strArg = argv[i];
    const bool bHasValue = i + 1 < argc;
    const std::string strValue = bHasValue ? argv[i + 1] : "";
    auto fail = [&](const std::string& strWhy) {
      strMessage = strWhy + "\n" + kUsage;
      return false;
    };
    if (strArg == "--help" || strArg == "-h") return fail("");
    if (strArg == "--child-startup") {
      options.bChildStartup = true;
      continue;
    }
    if (strArg == "--child-memory") {
      if (i + 2 >= argc) return fail("--child-memory needs a kind and a store");
      options.strChildMemoryKind = argv[i + 1];
      options.strChildMemoryStore = argv[i + 2];
      i += 2;
      continue;
    }
    if (!bHasValue) return fail(strArg + " needs a value");
    ++i;
    if (strArg == "--sizes") {
      options.sizes.clear();
      for (const std::string& strSize : SplitList(strValue)) {
        int64_t n = 0;
        if (!ParseCount(strSize, 1, n)) return fail("not a size: " + strSize);
        options.sizes.push_back(n);
      }
      if (options.sizes.empty()) return fail("no sizes given");
    } else if (strArg == "--kinds") {
      options.kinds = SplitList(strValue);
      if (!AllKnown(options.kinds, kKinds)) return fail("unknown kind in " + strValue);
    } else if (strArg == "--only") {
      const std::vector<std::string> measures = SplitList(strValue);
      if (!AllKnown(measures, kMeasures)) return fail("unknown measurement in " + strValue);
      options.measures = std::set<std::string>(measures.begin(), measures.end());
    } else if (strArg == "--reps" || strArg == "--startup-runs") {
      int64_t n = 0;
      if (!ParseCount(strValue, 1, n) || n > 1000) return fail("not a count: " + strValue);
      (strArg == "--reps" ? options.nReps : options.nStartupRuns) = static_cast<int>(n);
    } else if (strArg == "--cache") {
      options.strCacheFolder = strValue;
    } else if (strArg == "--work-dir") {
      options.strWorkFolder = strValue;
    } else {
      return fail("unknown option " + strArg);
    }
  }
  return true;
}

}  // namespace qmbench
