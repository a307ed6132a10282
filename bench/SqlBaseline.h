// The plain SQLite baselines: reading the items of one kind into the same
// images the accessor fills, and saving one changed column per item, one
// transaction each, straight on the store file.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "bench/ItemKinds.h"
#include "bench/Sql.h"

namespace qmbench {

class SqlItemReader {
 public:
  SqlItemReader(sqlite3* pDb, olstore::ItemKind nKind, std::span<const SqlColumn> columns,
                const ImageLayout& layout);
  SqlItemReader(const SqlItemReader&) = delete;
  SqlItemReader& operator=(const SqlItemReader&) = delete;

  bool Ok() const;
  // Walks the kind's default folder and its subfolders depth first, in the
  // accessor's order, and hands every item's filled image to fnItem (the
  // buffer is reused for the next item). The number of items, or -1.
  int64_t Read(const std::function<void(const unsigned char*)>& fnItem);

 private:
  struct Folder {
    int64_t nId;
    std::string strName;
  };
  bool ReadFolder(const Folder& folder, const std::function<void(const unsigned char*)>& fnItem,
                  int64_t& nCount);
  void Fill(sqlite3_stmt* pRow);

  std::span<const SqlColumn> m_Columns;
  ImageLayout m_Layout;
  int m_nFolderKind;
  std::vector<unsigned char> m_Image;
  std::string m_strStoreID;
  SqlStatement m_DefaultFolder;
  SqlStatement m_Subfolders;
  SqlStatement m_StoreID;
  std::unique_ptr<SqlStatement> m_pItems;
};

class SqlItemSaver {
 public:
  SqlItemSaver(sqlite3* pDb, olstore::ItemKind nKind, const char* szColumn);
  SqlItemSaver(const SqlItemSaver&) = delete;
  SqlItemSaver& operator=(const SqlItemSaver&) = delete;

  bool Ok() const;
  // Finds the item by its entry ID and writes the change and a new
  // modification time in one transaction.
  bool Save(const std::string& strEntryID, const SaveChange& change);
  // Whether the item holds the change's value in the change's column.
  bool Holds(const std::string& strEntryID, const SaveChange& change);

 private:
  SqlStatement m_Begin;
  SqlStatement m_Commit;
  SqlStatement m_Rollback;
  SqlStatement m_FindItem;
  std::unique_ptr<SqlStatement> m_pUpdate;
  SqlStatement m_Touch;
  std::unique_ptr<SqlStatement> m_pRead;
};

}  // namespace qmbench
