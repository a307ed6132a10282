// A store in a temporary folder per test, found through OLSTORE_PATH, with
// "Outlook.Application" registered on a COM-initialised thread.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "olstore/Item.h"
#include "olstore/Store.h"
#include "olstore/support/Automation.h"

namespace olstore::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return m_path; }
  std::string File(std::string_view name) const { return m_path + "/" + std::string(name); }

 private:
  std::string m_path;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, std::string_view content);

using PropertyValues = std::vector<std::pair<std::string, Value>>;

class OutlookTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The store opened directly, to arrange items before Outlook reads them.
  std::shared_ptr<Store> DirectStore();
  // Adds an item (stored values by property name) to the kind's default
  // folder or to folderId; returns its entry ID.
  std::string AddItem(ItemKind kind, const PropertyValues& values, int64_t folderId = 0);
  int64_t AddFolder(FolderKind kind, const std::vector<std::string>& path);

  // CoCreateInstance("Outlook.Application") and its MAPI namespace.
  Obj CreateApplication(HRESULT* status = nullptr);
  Obj NameSpace();
  Obj DefaultFolder(int32_t olDefaultFolder);
  Obj ItemById(const std::string& entryId);

  TempDir m_dir;
  std::string m_storePath;

 private:
  std::shared_ptr<Store> m_direct;
  std::string m_savedPath;
  bool m_hadPath = false;
};

}  // namespace olstore::test
