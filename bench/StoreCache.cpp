#include "bench/StoreCache.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "bench/Report.h"
#include "common/outlook/OlComm.h"
#include "olstore/Seed.h"
#include "olstore/Store.h"

namespace qmbench {

namespace fs = std::filesystem;

namespace {

// Bump when the seeding changes, so older cached stores are not reused.
constexpr const char* kStoreFormat = "v2";
// The day the seeded data is built around (1 January 2025), so every run
// measures the same data.
constexpr double kSeedDay = 45658.0;

void RemoveStoreFiles(const std::string& strPath) {
  for (const char* szSuffix : {"", "-wal", "-shm", "-journal"}) ::unlink((strPath + szSuffix).c_str());
}

}  // namespace

StoreCache::StoreCache(std::string strFolder) : m_strFolder(std::move(strFolder)) {}

bool StoreCache::Ensure(int64_t nItems, std::string& strPath, double& dSeedSeconds,
                        std::string& strError) {
  dSeedSeconds = 0;
  strPath = m_strFolder + "/store-" + kStoreFormat + "-" + std::to_string(nItems) + ".db";
  if (fs::exists(strPath)) return true;
  std::error_code ec;
  fs::create_directories(m_strFolder, ec);

  // Seeded under another name and renamed once complete: an interrupted run
  // never leaves a half-seeded store behind to be reused.
  const std::string strTemp = strPath + ".seeding-" + std::to_string(::getpid());
  RemoveStoreFiles(strTemp);
  const Clock::time_point start = Clock::now();
  {
    std::shared_ptr<olstore::Store> pStore = olstore::Store::Open(strTemp, strError);
    if (!pStore) return false;
    olstore::SeedOptions options;
    options.contacts = nItems;
    options.distLists = 0;
    options.appointments = nItems;
    options.tasks = nItems;
    options.notes = nItems;
    options.seed = 1;
    options.today = kSeedDay;
    olstore::SeedCounts counts;
    if (!olstore::SeedStore(*pStore, options, counts, strError)) {
      pStore.reset();
      RemoveStoreFiles(strTemp);
      return false;
    }
  }
  dSeedSeconds = SecondsSince(start);
  fs::rename(strTemp, strPath, ec);
  if (ec) {
    strError = "cannot rename " + strTemp + ": " + ec.message();
    RemoveStoreFiles(strTemp);
    return false;
  }
  RemoveStoreFiles(strTemp);
  return true;
}

WorkingCopy::~WorkingCopy() {
  if (!m_strPath.empty()) RemoveStoreFiles(m_strPath);
}

bool WorkingCopy::Make(const std::string& strFrom, const std::string& strFolder,
                       std::string& strError) {
  if (!m_strPath.empty()) RemoveStoreFiles(m_strPath);
  m_strPath = strFolder + "/qmbench-work-" + std::to_string(::getpid()) + "-" +
              fs::path(strFrom).filename().string();
  RemoveStoreFiles(m_strPath);
  std::error_code ec;
  fs::create_directories(strFolder, ec);
  // Changes not yet moved from the write-ahead log into the file live only in
  // the log, so it is copied along when there is one.
  for (const char* szSuffix : {"", "-wal"}) {
    const std::string strSource = strFrom + szSuffix;
    if (*szSuffix && !fs::exists(strSource)) continue;
    if (!fs::copy_file(strSource, m_strPath + szSuffix, fs::copy_options::overwrite_existing, ec)) {
      strError = "cannot copy " + strSource + " to " + m_strPath + szSuffix + ": " + ec.message();
      RemoveStoreFiles(m_strPath);
      m_strPath.clear();
      return false;
    }
  }
  return true;
}

void WarmFile(const std::string& strPath) {
  std::ifstream in(strPath, std::ios::binary);
  std::vector<char> buffer(1 << 20);
  while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
  }
}

std::string DefaultWorkFolder(const std::string& strCacheFolder) {
  if (::access("/dev/shm", W_OK) == 0) return "/dev/shm";
  return strCacheFolder;
}

OutlookOnStore::OutlookOnStore(const std::string& strStorePath) {
  setenv("OLSTORE_PATH", strStorePath.c_str(), 1);
}

OutlookOnStore::~OutlookOnStore() {
  if (OlBaseUtil::GetUseCount() != 0)
    std::fprintf(stderr, "qmbench: an accessor outlived its store's Outlook\n");
  unsetenv("OLSTORE_PATH");
}

}  // namespace qmbench
