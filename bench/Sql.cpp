#include "bench/Sql.h"

namespace qmbench {

SqlConnection::~SqlConnection() {
  if (m_pDb) sqlite3_close_v2(m_pDb);
}

bool SqlConnection::Open(const std::string& strPath, bool bWrite, std::string& strError) {
  const int nFlags = bWrite ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
  if (sqlite3_open_v2(strPath.c_str(), &m_pDb, nFlags, nullptr) != SQLITE_OK ||
      sqlite3_exec(m_pDb, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr) != SQLITE_OK) {
    strError = "cannot open " + strPath + ": " + Error();
    return false;
  }
  sqlite3_busy_timeout(m_pDb, 1500);
  return true;
}

std::string SqlConnection::Error() const {
  return m_pDb ? sqlite3_errmsg(m_pDb) : "out of memory";
}

SqlStatement::SqlStatement(sqlite3* pDb, std::string_view sql) {
  if (sqlite3_prepare_v2(pDb, sql.data(), static_cast<int>(sql.size()), &m_pStmt, nullptr) !=
      SQLITE_OK) {
    sqlite3_finalize(m_pStmt);
    m_pStmt = nullptr;
  }
}

SqlStatement::~SqlStatement() { sqlite3_finalize(m_pStmt); }

bool SqlStatement::Step() {
  if (!m_pStmt) return false;
  const int rc = sqlite3_step(m_pStmt);
  if (rc == SQLITE_ROW) return true;
  m_bFailed = rc != SQLITE_DONE;
  sqlite3_reset(m_pStmt);
  return false;
}

bool SqlStatement::Run() {
  while (Step()) {
  }
  return m_pStmt && !m_bFailed;
}

void SqlStatement::Reset() {
  if (m_pStmt) sqlite3_reset(m_pStmt);
}

}  // namespace qmbench
