// The stores the measurements run on. Seeding 100,000 items of every kind
// takes a while, so each size is seeded once into a cache folder and reused by
// later runs; measurements that change a store work on a copy of it.
#pragma once

#include <cstdint>
#include <string>

namespace qmbench {

class StoreCache {
 public:
  explicit StoreCache(std::string strFolder);

  const std::string& Folder() const { return m_strFolder; }
  // The store holding nItems items of each kind (no distribution lists, so
  // every contacts item is a contact), seeded on first use. dSeedSeconds is
  // the seeding time, 0 when the store was already there.
  bool Ensure(int64_t nItems, std::string& strPath, double& dSeedSeconds, std::string& strError);

 private:
  std::string m_strFolder;
};

// A copy of a store that is removed (with its journal files) when it ends.
class WorkingCopy {
 public:
  WorkingCopy() = default;
  ~WorkingCopy();
  WorkingCopy(const WorkingCopy&) = delete;
  WorkingCopy& operator=(const WorkingCopy&) = delete;

  bool Make(const std::string& strFrom, const std::string& strFolder, std::string& strError);
  const std::string& Path() const { return m_strPath; }

 private:
  std::string m_strPath;
};

// Reads the whole file once, so a measurement finds it in the page cache as
// the next one will.
void WarmFile(const std::string& strPath);

// The default folder for working copies: memory-backed when there is one, so
// the save figures show the program's own work rather than the disk's.
std::string DefaultWorkFolder(const std::string& strCacheFolder);

// Points the local store's "Outlook.Application" at one store file while it
// lives. Every accessor made meanwhile must be gone before it ends, so the next
// binding's Outlook opens its own store.
class OutlookOnStore {
 public:
  explicit OutlookOnStore(const std::string& strStorePath);
  ~OutlookOnStore();
  OutlookOnStore(const OutlookOnStore&) = delete;
  OutlookOnStore& operator=(const OutlookOnStore&) = delete;
};

}  // namespace qmbench
