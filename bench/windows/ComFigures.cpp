// qmcomfigures: how fast the program reads and saves contacts through real
// COM, with the local store answering in the program's process and as the
// out-of-process server that COM starts. Prints one Markdown table.
//
//   qmcomfigures [N]     N contacts (default 1000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/misc/CxText.h"
#include "common/misc/DispCmd.h"
#include "common/outlook/OlAddr.h"
#include "olstore/Seed.h"
#include "olstore/Store.h"
#include "olstore/Text.h"
#include "olstore/olstore.h"
#include "platform/win32.h"
#include "windows/support/ServerProcess.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Figures {
  double readSeconds = 0;
  double saveSeconds = 0;
  size_t items = 0;
  size_t saved = 0;
  double callsPerSecond = 0;
};

// Property gets of the application object, which do no work of their own:
// what one automation round costs on this path (each get is two calls,
// GetIDsOfNames and Invoke, as the program makes them).
double CallsPerSecond() {
  CLSID clsid;
  if (FAILED(CLSIDFromProgID(OLESTR("Outlook.Application"), &clsid))) return 0;
  IDispatch* pApp = nullptr;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                              IID_IDispatch, reinterpret_cast<void**>(&pApp))))
    return 0;
  double rate = 0;
  {
    CDispCmd app(pApp);
    constexpr int kCalls = 2000;
    char szVersion[32];
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kCalls; ++i) app.GetString(OLESTR("Version"), szVersion, sizeof szVersion);
    rate = kCalls / Seconds(start);
  }
  pApp->Release();
  return rate;
}

Figures Measure() {
  Figures figures;
  figures.callsPerSecond = CallsPerSecond();
  OlAddrUtil util;
  // The seeded contacts are spread over the folder and its subfolders.
  util.SetIncludeSubfolders(true);
  Clock::time_point start = Clock::now();
  util.ReadItems();
  figures.readSeconds = Seconds(start);
  start = Clock::now();
  for (AddrRecord* pRecord = util.GetContainer()->First(); pRecord;
       pRecord = util.GetContainer()->Next()) {
    ++figures.items;
    CopyText(pRecord->Image->JobTitle, sizeof pRecord->Image->JobTitle, "Measured");
    pRecord->Image->Changed.Set(AddrField::JobTitle);
    figures.saved += util.SaveItem(pRecord->Image) ? 1 : 0;
  }
  figures.saveSeconds = Seconds(start);
  return figures;
}

void PrintRow(const char* szPath, const Figures& f) {
  std::printf("| %s | %zu | %.2f s | %.2f ms | %zu | %.2f s | %.2f ms | %.0f |\n", szPath, f.items,
              f.readSeconds, f.items ? 1000 * f.readSeconds / f.items : 0.0, f.saved,
              f.saveSeconds, f.items ? 1000 * f.saveSeconds / f.items : 0.0, f.callsPerSecond);
}

}  // namespace

int main(int argc, char** argv) {
  const long nContacts = argc > 1 ? std::atol(argv[1]) : 1000;
  wchar_t szTemp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, szTemp);
  const std::string strStore = olstore::Utf16ToUtf8(szTemp) + "qmcomfigures-" +
                               std::to_string(GetCurrentProcessId()) + ".db";
  {
    std::string strError;
    std::shared_ptr<olstore::Store> pStore = olstore::Store::Open(strStore, strError, true);
    olstore::SeedOptions options;
    options.contacts = nContacts;
    options.distLists = 0;
    options.appointments = options.tasks = options.notes = 0;
    olstore::SeedCounts counts;
    if (!pStore || !olstore::SeedStore(*pStore, options, counts, strError)) {
      std::fprintf(stderr, "qmcomfigures: %s\n", strError.c_str());
      return 1;
    }
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  SetEnvironmentVariableW(L"OLSTORE_PATH", olstore::Utf8ToUtf16(strStore).c_str());

  std::printf("| path | contacts read | read | per item | saved | save (1 field each) | per item "
              "| property gets/s |\n|---|---|---|---|---|---|---|---|\n");
  if (olstore::RegisterOutlookApplication()) {
    PrintRow("in-process", Measure());
    olstore::UnregisterOutlookApplication();
  }
  if (RunServer({L"--register", L"--store", olstore::Utf8ToUtf16(strStore)}) == 0) {
    PrintRow("out-of-process", Measure());
    RunServer({L"--unregister"});
    WaitForNoServer();
  } else {
    std::fprintf(stderr, "qmcomfigures: cannot register the store's server\n");
  }
  CoUninitialize();
  for (const char* szSuffix : {"", "-wal", "-shm"})
    DeleteFileW(olstore::Utf8ToUtf16(strStore + szSuffix).c_str());
  return 0;
}
