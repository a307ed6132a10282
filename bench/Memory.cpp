#include "bench/Memory.h"

#include <cstdio>
#include <fstream>

#include "bench/ChildProcess.h"
#include "bench/ItemKinds.h"
#include "bench/KindRun.h"
#include "bench/StoreCache.h"

namespace qmbench {

namespace {

// A "Vm...: 1234 kB" line of /proc/self/status, in bytes; -1 when missing.
double StatusBytes(const std::string& strKey) {
  std::ifstream in("/proc/self/status");
  std::string strLine;
  while (std::getline(in, strLine)) {
    if (strLine.compare(0, strKey.size() + 1, strKey + ":") == 0)
      return std::stod(strLine.substr(strKey.size() + 1)) * 1024.0;
  }
  return -1;
}

}  // namespace

bool MeasureMemory(const std::string& strKind, const std::string& strStore, MemoryFigures& figures,
                   std::string& strError) {
  ChildResult result;
  if (!RunSelf({"--child-memory", strKind, strStore}, {}, result, strError)) return false;
  double dItems = 0;
  if (result.nExitCode != 0 || !OutputValue(result.strOutput, "items", dItems) ||
      !OutputValue(result.strOutput, "own_bytes", figures.dOwnBytes) ||
      !OutputValue(result.strOutput, "peak_bytes", figures.dPeakBytes) ||
      !OutputValue(result.strOutput, "read_cpu", figures.Read.dCpu) ||
      !OutputValue(result.strOutput, "read_wall", figures.Read.dWall)) {
    strError = "the memory child failed for " + strKind + " (exit code " +
               std::to_string(result.nExitCode) + ")";
    return false;
  }
  figures.nItems = static_cast<int64_t>(dItems);
  return true;
}

int RunMemoryChild(const std::string& strKind, const std::string& strStore) {
  int nResult = 1;
  const bool bKnown = WithKind(strKind, [&](auto kind) {
    using K = decltype(kind);
    OutlookOnStore outlook(strStore);
    KindRun<K> run;
    std::string strError;
    ReadFigures figures;
    if (!run.Connect(strError) || !run.MeasureRead(strStore, 1, false, false, figures, strError)) {
      std::fprintf(stderr, "qmbench: %s\n", strError.c_str());
      return;
    }
    const double dOwn = static_cast<double>(figures.nItems) *
                        static_cast<double>(sizeof(typename K::Image) + sizeof(typename K::Record));
    // Taken while the records are still held: the peak is the read's.
    std::printf("items %lld\nown_bytes %.0f\npeak_bytes %.0f\nread_cpu %.6f\nread_wall %.6f\n",
                static_cast<long long>(figures.nItems), dOwn, StatusBytes("VmHWM"), figures.Product.dCpu,
                figures.Product.dWall);
    std::fflush(stdout);
    run.Disconnect();
    nResult = 0;
  });
  return bKnown ? nResult : 2;
}

}  // namespace qmbench
