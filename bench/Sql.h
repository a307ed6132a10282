// Plain SQLite for the baselines: a connection and prepared statements on the
// raw C interface, without the local store's own layer in between.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace qmbench {

class SqlConnection {
 public:
  SqlConnection() = default;
  ~SqlConnection();
  SqlConnection(const SqlConnection&) = delete;
  SqlConnection& operator=(const SqlConnection&) = delete;

  // Opens the store file as the store itself does (write-ahead log, foreign
  // keys on); false with the reason in error.
  bool Open(const std::string& strPath, bool bWrite, std::string& strError);
  sqlite3* Handle() const { return m_pDb; }
  std::string Error() const;

 private:
  sqlite3* m_pDb = nullptr;
};

class SqlStatement {
 public:
  SqlStatement(sqlite3* pDb, std::string_view sql);
  ~SqlStatement();
  SqlStatement(const SqlStatement&) = delete;
  SqlStatement& operator=(const SqlStatement&) = delete;

  bool Ok() const { return m_pStmt != nullptr; }
  sqlite3_stmt* Get() const { return m_pStmt; }
  // True while a row is ready; resets itself at the end.
  bool Step();
  // Steps to the end and resets; true when the statement completed.
  bool Run();
  void Reset();

 private:
  sqlite3_stmt* m_pStmt = nullptr;
  bool m_bFailed = false;
};

}  // namespace qmbench
