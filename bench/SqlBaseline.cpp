#include "bench/SqlBaseline.h"

#include <cstring>

#include "common/misc/CxText.h"
#include "common/records/FieldMarks.h"
#include "olstore/OleDate.h"

namespace qmbench {

namespace {

std::string ItemsQuery(olstore::ItemKind nKind, std::span<const SqlColumn> columns) {
  std::string strSql = "SELECT ";
  for (size_t i = 0; i < columns.size(); ++i) strSql += (i ? ", " : "") + std::string(columns[i].szExpr);
  strSql += " FROM items i JOIN " + std::string(olstore::Kind(nKind).table) +
            " k ON k.item_id = i.id WHERE i.folder_id = ?1 ORDER BY i.id";
  return strSql;
}

const char* ColumnText(sqlite3_stmt* pRow, int nColumn) {
  const unsigned char* szText = sqlite3_column_text(pRow, nColumn);
  return szText ? reinterpret_cast<const char*>(szText) : "";
}

}  // namespace

SqlItemReader::SqlItemReader(sqlite3* pDb, olstore::ItemKind nKind,
                             std::span<const SqlColumn> columns, const ImageLayout& layout)
    : m_Columns(columns),
      m_Layout(layout),
      m_nFolderKind(static_cast<int>(olstore::Kind(nKind).folder)),
      m_Image(layout.nSize),
      m_DefaultFolder(pDb, "SELECT id, name FROM folders WHERE kind = ?1 AND is_default = 1"),
      m_Subfolders(pDb, "SELECT id, name FROM folders WHERE parent_id = ?1 ORDER BY id"),
      m_StoreID(pDb, "SELECT value FROM store_info WHERE key = 'store_id'"),
      m_pItems(std::make_unique<SqlStatement>(pDb, ItemsQuery(nKind, columns))) {}

bool SqlItemReader::Ok() const {
  return m_DefaultFolder.Ok() && m_Subfolders.Ok() && m_StoreID.Ok() && m_pItems->Ok();
}

int64_t SqlItemReader::Read(const std::function<void(const unsigned char*)>& fnItem) {
  if (!Ok()) return -1;
  m_strStoreID.clear();
  if (m_StoreID.Step()) {
    m_strStoreID = ColumnText(m_StoreID.Get(), 0);
    m_StoreID.Reset();
  }
  sqlite3_bind_int(m_DefaultFolder.Get(), 1, m_nFolderKind);
  if (!m_DefaultFolder.Step()) return -1;
  const Folder root{sqlite3_column_int64(m_DefaultFolder.Get(), 0),
                    ColumnText(m_DefaultFolder.Get(), 1)};
  m_DefaultFolder.Reset();
  int64_t nCount = 0;
  return ReadFolder(root, fnItem, nCount) ? nCount : -1;
}

bool SqlItemReader::ReadFolder(const Folder& folder,
                               const std::function<void(const unsigned char*)>& fnItem,
                               int64_t& nCount) {
  sqlite3_stmt* pRow = m_pItems->Get();
  sqlite3_bind_int64(pRow, 1, folder.nId);
  unsigned char* pImage = m_Image.data();
  while (m_pItems->Step()) {
    memset(pImage, 0, m_Layout.nSize);
    // The walk cuts folder names and store IDs as the accessor's reads do.
    CopyText(reinterpret_cast<char*>(pImage + m_Layout.nFolderName), 31, folder.strName.c_str());
    CopyText(reinterpret_cast<char*>(pImage + m_Layout.nStoreID), 1023, m_strStoreID.c_str());
    Fill(pRow);
    fnItem(pImage);
    ++nCount;
  }

  std::vector<Folder> children;
  sqlite3_bind_int64(m_Subfolders.Get(), 1, folder.nId);
  while (m_Subfolders.Step())
    children.push_back({sqlite3_column_int64(m_Subfolders.Get(), 0), ColumnText(m_Subfolders.Get(), 1)});
  for (const Folder& child : children) {
    if (!ReadFolder(child, fnItem, nCount)) return false;
  }
  return true;
}

void SqlItemReader::Fill(sqlite3_stmt* pRow) {
  unsigned char* pImage = m_Image.data();
  auto* pTruncated = reinterpret_cast<FieldMarks*>(pImage + m_Layout.nTruncated);
  for (int n = 0; n < static_cast<int>(m_Columns.size()); ++n) {
    const SqlColumn& column = m_Columns[static_cast<size_t>(n)];
    unsigned char* pField = pImage + column.nOffset;
    switch (column.nValue) {
      case SqlValue::Text:
        if (!CopyText(reinterpret_cast<char*>(pField), static_cast<size_t>(column.nReadSize),
                      ColumnText(pRow, n)))
          pTruncated->Set(column.nMark);
        break;
      case SqlValue::FirstLine: {
        const char* szText = ColumnText(pRow, n);
        const std::string strLine(szText, strcspn(szText, "\r\n"));
        if (!CopyText(reinterpret_cast<char*>(pField), static_cast<size_t>(column.nReadSize),
                      strLine.c_str()))
          pTruncated->Set(column.nMark);
        break;
      }
      case SqlValue::Long: {
        const int32_t nValue = sqlite3_column_int(pRow, n);
        memcpy(pField, &nValue, sizeof nValue);
        break;
      }
      case SqlValue::Bool:
        *reinterpret_cast<bool*>(pField) = sqlite3_column_int(pRow, n) != 0;
        break;
      case SqlValue::Flag32: {
        const int32_t nValue = sqlite3_column_int(pRow, n) != 0 ? 1 : 0;
        memcpy(pField, &nValue, sizeof nValue);
        break;
      }
      case SqlValue::Date: {
        const double dtValue = sqlite3_column_type(pRow, n) == SQLITE_NULL
                                   ? olstore::kNoDate
                                   : sqlite3_column_double(pRow, n);
        memcpy(pField, &dtValue, sizeof dtValue);
        break;
      }
    }
  }
}

SqlItemSaver::SqlItemSaver(sqlite3* pDb, olstore::ItemKind nKind, const char* szColumn)
    : m_Begin(pDb, "BEGIN IMMEDIATE"),
      m_Commit(pDb, "COMMIT"),
      m_Rollback(pDb, "ROLLBACK"),
      m_FindItem(pDb, "SELECT id FROM items WHERE entry_id = ?1"),
      m_pUpdate(std::make_unique<SqlStatement>(
          pDb, "UPDATE " + std::string(olstore::Kind(nKind).table) + " SET \"" + szColumn +
                   "\" = ?2 WHERE item_id = ?1")),
      m_Touch(pDb, "UPDATE items SET modified = ?2 WHERE id = ?1"),
      m_pRead(std::make_unique<SqlStatement>(
          pDb, "SELECT k.\"" + std::string(szColumn) + "\" FROM items i JOIN " +
                   std::string(olstore::Kind(nKind).table) +
                   " k ON k.item_id = i.id WHERE i.entry_id = ?1")) {}

bool SqlItemSaver::Ok() const {
  return m_Begin.Ok() && m_Commit.Ok() && m_Rollback.Ok() && m_FindItem.Ok() && m_pUpdate->Ok() &&
         m_Touch.Ok() && m_pRead->Ok();
}

bool SqlItemSaver::Save(const std::string& strEntryID, const SaveChange& change) {
  if (!m_Begin.Run()) return false;
  sqlite3_bind_text(m_FindItem.Get(), 1, strEntryID.c_str(), static_cast<int>(strEntryID.size()),
                    SQLITE_STATIC);
  bool bOk = m_FindItem.Step();
  const int64_t nId = bOk ? sqlite3_column_int64(m_FindItem.Get(), 0) : 0;
  m_FindItem.Reset();
  if (bOk) {
    sqlite3_stmt* pUpdate = m_pUpdate->Get();
    sqlite3_bind_int64(pUpdate, 1, nId);
    if (change.bText)
      sqlite3_bind_text(pUpdate, 2, change.Def.szValue, -1, SQLITE_STATIC);
    else
      sqlite3_bind_int(pUpdate, 2, change.Def.nValue);
    sqlite3_bind_int64(m_Touch.Get(), 1, nId);
    sqlite3_bind_double(m_Touch.Get(), 2, olstore::OleNow());
    bOk = m_pUpdate->Run() && m_Touch.Run() && m_Commit.Run();
  }
  if (!bOk) m_Rollback.Run();
  return bOk;
}

bool SqlItemSaver::Holds(const std::string& strEntryID, const SaveChange& change) {
  sqlite3_stmt* pRead = m_pRead->Get();
  sqlite3_bind_text(pRead, 1, strEntryID.c_str(), static_cast<int>(strEntryID.size()),
                    SQLITE_STATIC);
  bool bHolds = false;
  if (m_pRead->Step()) {
    bHolds = change.bText ? strcmp(ColumnText(pRead, 0), change.Def.szValue) == 0
                          : sqlite3_column_type(pRead, 0) == SQLITE_INTEGER &&
                                sqlite3_column_int(pRead, 0) == change.Def.nValue;
    m_pRead->Reset();
  }
  return bHolds;
}

}  // namespace qmbench
