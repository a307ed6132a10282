// Thin RAII layer over SQLite: one connection, its cache of prepared
// statements, queries that reset themselves, and transactions that roll back
// unless committed.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace olstore {

class Query {
 public:
  // owned: finalised at the end of the query; otherwise a cached statement
  // that is only reset.
  Query(sqlite3* db, sqlite3_stmt* stmt, bool owned);
  Query(Query&& other) noexcept;
  Query& operator=(Query&&) = delete;
  Query(const Query&) = delete;
  ~Query();

  Query& Bind(int index, int64_t value);
  Query& Bind(int index, double value);
  Query& Bind(int index, std::string_view value);
  // Without a copy: the text must stay until the query ends.
  Query& BindInPlace(int index, std::string_view value);
  Query& BindNull(int index);

  // True when a row is ready; false at the end or on an error (see Failed).
  bool Next();
  // Steps to the end; true when the statement completed.
  bool Run();
  bool Failed() const { return m_rc != 0; }
  int ResultCode() const { return m_rc; }

  bool IsNull(int column) const;
  int64_t Int(int column) const;
  double Double(int column) const;
  std::string Text(int column) const;

 private:
  sqlite3* m_db = nullptr;
  sqlite3_stmt* m_stmt = nullptr;
  bool m_owned = false;
  int m_rc = 0;  // 0 while nothing went wrong, else the SQLite error code
};

class Database {
 public:
  Database() = default;
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // flags are SQLite's open flags; false (and ErrorMessage) on failure.
  bool Open(const std::string& path, int flags);
  void Close();
  bool IsOpen() const { return m_db != nullptr; }

  // Runs SQL text without results (several statements allowed).
  bool Exec(std::string_view sql);
  // A statement from the connection's cache (prepared once).
  Query Prepare(std::string_view sql);
  // A single integer from a query without parameters, such as a PRAGMA.
  std::optional<int64_t> QueryInt(std::string_view sql);

  int ErrorCode() const;
  std::string ErrorMessage() const;
  sqlite3* Handle() const { return m_db; }
  int64_t LastInsertId() const;
  // Rows changed by the last statement.
  int Changes() const;
  // How long a statement waits for another connection's lock before giving up.
  void SetBusyTimeout(int milliseconds);

 private:
  struct Finalizer {
    void operator()(sqlite3_stmt* stmt) const;
  };
  sqlite3* m_db = nullptr;
  std::string m_openError;  // why the last Open failed, once its handle is gone
  std::unordered_map<std::string, std::unique_ptr<sqlite3_stmt, Finalizer>> m_cache;
};

// BEGIN IMMEDIATE on construction (check Active), ROLLBACK unless committed.
class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  bool Active() const { return m_active; }
  bool Commit();

 private:
  Database& m_db;
  bool m_active = false;
};

}  // namespace olstore
