// qmbench: the program's read, apply, save, list, memory and start-up paths
// on seeded local stores, side by side with plain SQLite where there is a
// plain way to do the same work. Prints Markdown tables; progress goes to
// standard error.
#include <malloc.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <type_traits>

#include "bench/BatchRun.h"
#include "bench/ItemKinds.h"
#include "bench/KindRun.h"
#include "bench/Memory.h"
#include "bench/Options.h"
#include "bench/Report.h"
#include "bench/StoreCache.h"
#include "common/misc/CxDebugUtil.h"
#include "olstore/olstore.h"
#include "platform/win32.h"

#ifdef QMBENCH_WITH_APP
#include "bench/app/AppBench.h"
#endif

namespace qmbench {

namespace {

// The targets the figures are held against.
constexpr double kReadLimit = 1.5;     // times the SQLite baseline
constexpr double kSaveLimit = 1.2;     // times the SQLite baseline
constexpr double kSecondLimit = 1.0;   // applying or listing 100,000 items, seconds
constexpr int64_t kSecondLimitItems = 100000;
constexpr double kMemoryLimit = 1.1;   // times the records' and images' own size, over the base

void Progress(const std::string& strText) {
  std::cerr << "qmbench: " << strText << std::endl;
}

std::string Ratio(double dProduct, double dBaseline) {
  return dBaseline > 0 ? FormatRatio(dProduct / dBaseline) : "-";
}

std::string RatioVerdict(double dProduct, double dBaseline, double dLimit) {
  return dBaseline > 0 ? Verdict(dProduct / dBaseline, dLimit) : "-";
}

std::string WallPair(const Elapsed& product, const Elapsed& baseline) {
  return FormatSeconds(product.dWall) + " / " + FormatSeconds(baseline.dWall);
}

std::string SecondVerdict(double dSeconds, int64_t nItems) {
  return nItems >= kSecondLimitItems ? Verdict(dSeconds, kSecondLimit) : "-";
}

struct Tables {
  Table Seed{"Stores", {"N (items of each kind)", "Seeding", "File size"}};
  Table Read{"Reading: the accessor's ReadItems against a plain SQLite read (CPU time)",
             {"Kind", "N", "Program", "per item", "SQLite", "per item", "Ratio", "Target <= 1.5x",
              "Wall: program / SQLite", "Images equal"}};
  Table Apply{"Applying 10 definitions to N images (CPU time)",
              {"Kind", "N", "Time", "per image", "Wall", "Refused", "Target < 1 s at 100,000"}};
  Table Save{"Saving one changed field per item, one transaction each (wall time, median)",
             {"Kind", "N", "Program", "per item", "SQLite", "per item", "Ratio", "Target <= 1.2x",
              "CPU ratio", "Failed: program / SQLite", "Written: program / SQLite"}};
  Table Batch{
      "The batch tool: one changed field on every contact, in one process (wall time)",
      {"N", "quillmere-batch run", "per item", "SQLite read + save", "per item", "Ratio",
       "SQLite save alone", "Ratio to the save", "CPU: tool / SQLite", "Written"}};
  Table List{"Listing: the contact selection page's UpdateData(false) (CPU time)",
             {"N", "Fill", "per row", "Wall", "Fill, show, first paint (wall)", "Rows",
              "Target < 1 s at 100,000"}};
  Table Memory{"Peak memory after reading N items, each in a fresh process",
               {"Kind", "N", "Peak (VmHWM)", "Base (N = 0)", "Own size N x (image + record)",
                "(Peak - base) / own", "Target <= 1.1x", "Read there: CPU / wall"}};
  Table Startup{"Start-up: process start to page 0 painted",
                {"Runs", "Median", "Fastest", "main() to painted (median)", "Target < 0.5 s"}};

  void Print(std::ostream& out) const {
    for (const Table* pTable : {&Seed, &Read, &Apply, &Save, &Batch, &List, &Memory, &Startup})
      if (!pTable->Empty()) pTable->Print(out);
  }
};

// Read, list, apply and save for one kind on the store Outlook is bound to.
template <typename K>
void RunKind(const Options& options, int64_t nSize, const std::string& strStore, Tables& tables) {
  const std::string strKind = K::kName;
  const std::string strSize = FormatCount(nSize);
  auto report = [&](const std::string& strError) {
    Progress(strKind + " at " + strSize + ": " + strError);
  };
  KindRun<K> run;
  std::string strError;
  if (!run.Connect(strError)) return report(strError);

  const bool bRead = options.Wants("read");
  const int nReps = bRead ? options.RepsFor(nSize) : 1;
  Progress(strKind + " at " + strSize + ": reading");
  ReadFigures read;
  if (!run.MeasureRead(strStore, nReps, bRead, bRead, read, strError)) return report(strError);
  if (bRead) {
    const std::string strEqual =
        read.nMismatched == 0 && read.nItems == read.nBaselineItems
            ? "all " + FormatCount(read.nItems)
            : FormatCount(read.nMismatched) + " differ (first: " + read.strFirstMismatch + ")";
    tables.Read.AddRow({strKind, FormatCount(read.nItems), FormatSeconds(read.Product.dCpu),
                        FormatPerItem(read.Product.dCpu, read.nItems),
                        FormatSeconds(read.Baseline.dCpu),
                        FormatPerItem(read.Baseline.dCpu, read.nBaselineItems),
                        Ratio(read.Product.dCpu, read.Baseline.dCpu),
                        RatioVerdict(read.Product.dCpu, read.Baseline.dCpu, kReadLimit),
                        WallPair(read.Product, read.Baseline), strEqual});
  }

#ifdef QMBENCH_WITH_APP
  if constexpr (std::is_same_v<K, AddrKind>) {
    if (options.Wants("list")) {
      Progress("contact list at " + strSize);
      ListFigures list;
      if (MeasureContactList(run.Accessor(), options.RepsFor(nSize), list, strError)) {
        tables.List.AddRow({FormatCount(list.nRows), FormatSeconds(list.Fill.dCpu),
                            FormatPerItem(list.Fill.dCpu, list.nRows), FormatSeconds(list.Fill.dWall),
                            FormatSeconds(list.dShown), FormatCount(list.nRows),
                            SecondVerdict(list.Fill.dCpu, list.nRows)});
      } else {
        report(strError);
      }
    }
  }
#endif

  if (options.Wants("apply")) {
    Progress(strKind + " at " + strSize + ": applying");
    const ApplyFigures apply = run.MeasureApply();
    tables.Apply.AddRow({strKind, FormatCount(apply.nItems), FormatSeconds(apply.Time.dCpu),
                         FormatPerItem(apply.Time.dCpu, apply.nItems), FormatSeconds(apply.Time.dWall),
                         FormatCount(apply.nRefused), SecondVerdict(apply.Time.dCpu, apply.nItems)});
  }

  if (options.Wants("save")) {
    Progress(strKind + " at " + strSize + ": saving");
    SaveFigures save;
    if (!run.MeasureSave(strStore, options.RepsFor(nSize), true, save, strError))
      return report(strError);
    tables.Save.AddRow({strKind, FormatCount(save.nItems), FormatSeconds(save.Product.dWall),
                        FormatPerItem(save.Product.dWall, save.nItems),
                        FormatSeconds(save.Baseline.dWall),
                        FormatPerItem(save.Baseline.dWall, save.nItems),
                        Ratio(save.Product.dWall, save.Baseline.dWall),
                        RatioVerdict(save.Product.dWall, save.Baseline.dWall, kSaveLimit),
                        Ratio(save.Product.dCpu, save.Baseline.dCpu),
                        FormatCount(save.nProductFailed) + " / " + FormatCount(save.nBaselineFailed),
                        FormatCount(save.nProductWritten) + " / " + FormatCount(save.nBaselineWritten)});
  }
}

// The batch tool is a process of its own: its figure holds the start, the read,
// the preview, the journal and the report as well as the saves.
void RunBatch(const Options& options, int64_t nSize, const std::string& strStore,
              const std::string& strWorkFolder, Tables& tables) {
  std::string strError;
  WorkingCopy copy;
  if (!copy.Make(strStore, strWorkFolder, strError)) return Progress(strError);
  WarmFile(copy.Path());
  Progress("batch tool at " + FormatCount(nSize));
  BatchFigures batch;
  if (!MeasureBatch(copy.Path(), strWorkFolder, options.RepsFor(nSize), batch, strError))
    return Progress("batch tool at " + FormatCount(nSize) + ": " + strError);
  const double dBaseline = batch.BaselineRead.dWall + batch.BaselineSave.dWall;
  const double dBaselineCpu = batch.BaselineRead.dCpu + batch.BaselineSave.dCpu;
  tables.Batch.AddRow({FormatCount(batch.nItems), FormatSeconds(batch.Batch.dWall),
                       FormatPerItem(batch.Batch.dWall, batch.nItems), FormatSeconds(dBaseline),
                       FormatPerItem(dBaseline, batch.nItems), Ratio(batch.Batch.dWall, dBaseline),
                       FormatSeconds(batch.BaselineSave.dWall),
                       Ratio(batch.Batch.dWall, batch.BaselineSave.dWall),
                       FormatSeconds(batch.Batch.dCpu) + " / " + FormatSeconds(dBaselineCpu),
                       FormatCount(batch.nWritten) + " of " + FormatCount(batch.nItems)});
}

void RunStores(const Options& options, StoreCache& cache, Tables& tables) {
  const bool bInProcess = options.Wants("read") || options.Wants("apply") || options.Wants("save") ||
                          options.Wants("list");
  const bool bBatch =
      options.Wants("batch") &&
      std::find(options.kinds.begin(), options.kinds.end(), "contacts") != options.kinds.end();
  const std::string strWorkFolder =
      options.strWorkFolder.empty() ? DefaultWorkFolder(cache.Folder()) : options.strWorkFolder;
  for (int64_t nSize : options.sizes) {
    std::string strStore, strError;
    double dSeed = 0;
    Progress("store with " + FormatCount(nSize) + " items of each kind");
    if (!cache.Ensure(nSize, strStore, dSeed, strError)) {
      Progress(strError);
      continue;
    }
    std::error_code ec;
    tables.Seed.AddRow({FormatCount(nSize), dSeed > 0 ? FormatSeconds(dSeed) : "cached",
                        FormatMiB(static_cast<double>(std::filesystem::file_size(strStore, ec)))});
    if (bInProcess) {
      // Saving changes the store: every run works on a fresh copy.
      WorkingCopy copy;
      if (!copy.Make(strStore, strWorkFolder, strError)) {
        Progress(strError);
        continue;
      }
      WarmFile(copy.Path());
      OutlookOnStore outlook(copy.Path());
      for (const std::string& strKind : options.kinds)
        WithKind(strKind,
                 [&](auto kind) { RunKind<decltype(kind)>(options, nSize, copy.Path(), tables); });
    }
    if (bBatch) RunBatch(options, nSize, strStore, strWorkFolder, tables);
  }
}

void RunMemory(const Options& options, StoreCache& cache, Tables& tables) {
  std::string strEmpty, strError;
  double dSeed = 0;
  if (!cache.Ensure(0, strEmpty, dSeed, strError)) return Progress(strError);
  for (const std::string& strKind : options.kinds) {
    MemoryFigures base;
    if (!MeasureMemory(strKind, strEmpty, base, strError)) {
      Progress(strError);
      continue;
    }
    for (int64_t nSize : options.sizes) {
      std::string strStore;
      if (!cache.Ensure(nSize, strStore, dSeed, strError)) {
        Progress(strError);
        continue;
      }
      Progress("memory of " + strKind + " at " + FormatCount(nSize));
      MemoryFigures figures;
      if (!MeasureMemory(strKind, strStore, figures, strError)) {
        Progress(strError);
        continue;
      }
      const double dRatio = (figures.dPeakBytes - base.dPeakBytes) / figures.dOwnBytes;
      std::string strName = strKind;
      WithKind(strKind, [&strName](auto kind) { strName = decltype(kind)::kName; });
      tables.Memory.AddRow({strName, FormatCount(figures.nItems), FormatMiB(figures.dPeakBytes),
                            FormatMiB(base.dPeakBytes), FormatMiB(figures.dOwnBytes),
                            FormatRatio(dRatio), Verdict(dRatio, kMemoryLimit),
                            FormatSeconds(figures.Read.dCpu) + " / " + FormatSeconds(figures.Read.dWall)});
    }
  }
}

#ifdef QMBENCH_WITH_APP
void RunStartup(const Options& options, Tables& tables) {
  Progress("start-up");
  StartupFigures figures;
  std::string strError;
  if (!MeasureStartup(options.nStartupRuns, figures, strError)) return Progress(strError);
  tables.Startup.AddRow({std::to_string(figures.nRuns), FormatSeconds(figures.dProcess),
                         FormatSeconds(figures.dBest), FormatSeconds(figures.dInMain),
                         Verdict(figures.dProcess, 0.5)});
}
#endif

// What every mode of the program needs first: COM on this thread, the local
// store answering to Outlook's name, and the program's debug log kept out of
// the way (off, as a user has it; its always-written lines go to a temporary
// folder).
std::string PrepareProcess() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  olstore::RegisterOutlookApplication();
  char szFolder[] = "/tmp/qmbench-log-XXXXXX";
  if (!mkdtemp(szFolder)) return {};
  const std::string strFolder = std::string(szFolder) + "/";
  g_DebugUtil.SetLogFolder(strFolder.c_str());
  g_DebugUtil.EnableLog(false);
  return szFolder;
}

// Memory this process frees stays mapped in it for the next pass: the timed
// passes then compare the program's work with the baseline's, not how fast
// the machine hands out fresh pages (which the memory measurement's fresh
// processes show).
void KeepFreedMemory() {
  mallopt(M_TRIM_THRESHOLD, -1);
  mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
}

int Run(const Options& options) {
  KeepFreedMemory();
  const std::string strLogFolder = PrepareProcess();
  StoreCache cache(options.strCacheFolder);
  Tables tables;
  RunStores(options, cache, tables);
  if (options.Wants("memory")) RunMemory(options, cache, tables);
#ifdef QMBENCH_WITH_APP
  if (options.Wants("startup")) RunStartup(options, tables);
#endif

  std::cout << "## qmbench\n\n";
  for (const std::string& strLine : DescribeMachine()) std::cout << "- " << strLine << "\n";
  std::cout << "- Stores: " << cache.Folder() << "; working copies: "
            << (options.strWorkFolder.empty() ? DefaultWorkFolder(cache.Folder()) : options.strWorkFolder)
            << "\n";
  tables.Print(std::cout);
  std::error_code ec;
  if (!strLogFolder.empty()) std::filesystem::remove_all(strLogFolder, ec);
  CoUninitialize();
  return 0;
}

}  // namespace

}  // namespace qmbench

int main(int argc, char** argv) {
  const int64_t nMainNanos = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 qmbench::Clock::now().time_since_epoch())
                                 .count();
  qmbench::Options options;
  std::string strMessage;
  if (!qmbench::ParseOptions(argc, argv, options, strMessage)) {
    std::cerr << strMessage;
    return 2;
  }
#ifdef QMBENCH_WITH_APP
  if (options.bChildStartup) return qmbench::RunStartupChild(argc, argv, nMainNanos);
#else
  (void)nMainNanos;
#endif
  if (!options.strChildMemoryKind.empty()) {
    const std::string strLogFolder = qmbench::PrepareProcess();
    const int nResult = qmbench::RunMemoryChild(options.strChildMemoryKind, options.strChildMemoryStore);
    std::error_code ec;
    if (!strLogFolder.empty()) std::filesystem::remove_all(strLogFolder, ec);
    return nResult;
  }
#ifdef QMBENCH_WITH_APP
  // The windows need their application object before the first page is made.
  std::unique_ptr<qmbench::OffscreenGui> pGui;
  if (options.Wants("list")) pGui = std::make_unique<qmbench::OffscreenGui>();
#endif
  return qmbench::Run(options);
}
