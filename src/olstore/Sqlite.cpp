#include "olstore/Sqlite.h"

#include <sqlite3.h>

namespace olstore {

Query::Query(sqlite3* db, sqlite3_stmt* stmt, bool owned) : m_db(db), m_stmt(stmt), m_owned(owned) {
  if (!m_stmt) m_rc = db ? sqlite3_errcode(db) : SQLITE_MISUSE;
  if (m_rc == SQLITE_OK && !m_stmt) m_rc = SQLITE_ERROR;
}

Query::Query(Query&& other) noexcept
    : m_db(other.m_db), m_stmt(other.m_stmt), m_owned(other.m_owned), m_rc(other.m_rc) {
  other.m_stmt = nullptr;
}

Query::~Query() {
  if (!m_stmt) return;
  if (m_owned) {
    sqlite3_finalize(m_stmt);
  } else {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
  }
}

Query& Query::Bind(int index, int64_t value) {
  if (m_stmt && m_rc == 0) m_rc = sqlite3_bind_int64(m_stmt, index, value);
  return *this;
}

Query& Query::Bind(int index, double value) {
  if (m_stmt && m_rc == 0) m_rc = sqlite3_bind_double(m_stmt, index, value);
  return *this;
}

Query& Query::Bind(int index, std::string_view value) {
  if (m_stmt && m_rc == 0)
    m_rc = sqlite3_bind_text64(m_stmt, index, value.data(), value.size(), SQLITE_TRANSIENT,
                               SQLITE_UTF8);
  return *this;
}

Query& Query::BindInPlace(int index, std::string_view value) {
  if (m_stmt && m_rc == 0)
    m_rc = sqlite3_bind_text64(m_stmt, index, value.data(), value.size(), SQLITE_STATIC,
                               SQLITE_UTF8);
  return *this;
}

Query& Query::BindNull(int index) {
  if (m_stmt && m_rc == 0) m_rc = sqlite3_bind_null(m_stmt, index);
  return *this;
}

bool Query::Next() {
  if (!m_stmt || m_rc != 0) return false;
  const int rc = sqlite3_step(m_stmt);
  if (rc == SQLITE_ROW) return true;
  if (rc != SQLITE_DONE) m_rc = rc;
  return false;
}

bool Query::Run() {
  while (Next()) {
  }
  return m_rc == 0;
}

bool Query::IsNull(int column) const { return sqlite3_column_type(m_stmt, column) == SQLITE_NULL; }

int64_t Query::Int(int column) const { return sqlite3_column_int64(m_stmt, column); }

double Query::Double(int column) const { return sqlite3_column_double(m_stmt, column); }

std::string Query::Text(int column) const {
  const auto* text = sqlite3_column_text(m_stmt, column);
  if (!text) return {};
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<size_t>(sqlite3_column_bytes(m_stmt, column)));
}

void Database::Finalizer::operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }

Database::~Database() { Close(); }

bool Database::Open(const std::string& path, int flags) {
  Close();
  m_openError.clear();
  const int rc = sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr);
  if (rc != SQLITE_OK) {
    m_openError = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
    Close();
    return false;
  }
  sqlite3_extended_result_codes(m_db, 1);
  return true;
}

void Database::Close() {
  m_cache.clear();
  if (m_db) sqlite3_close_v2(m_db);
  m_db = nullptr;
}

bool Database::Exec(std::string_view sql) {
  if (!m_db) return false;
  return sqlite3_exec(m_db, std::string(sql).c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

Query Database::Prepare(std::string_view sql) {
  if (!m_db) return Query(nullptr, nullptr, false);
  std::string key(sql);
  auto it = m_cache.find(key);
  if (it != m_cache.end()) {
    // A statement still stepping belongs to an enclosing query: use a fresh one.
    if (!sqlite3_stmt_busy(it->second.get())) return Query(m_db, it->second.get(), false);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(m_db, key.c_str(), static_cast<int>(key.size()), &stmt, nullptr);
    return Query(m_db, stmt, true);
  }
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v3(m_db, key.c_str(), static_cast<int>(key.size()), SQLITE_PREPARE_PERSISTENT,
                         &stmt, nullptr) != SQLITE_OK)
    return Query(m_db, nullptr, false);
  sqlite3_stmt* raw = stmt;
  m_cache.emplace(std::move(key), std::unique_ptr<sqlite3_stmt, Finalizer>(stmt));
  return Query(m_db, raw, false);
}

std::optional<int64_t> Database::QueryInt(std::string_view sql) {
  Query query = Prepare(sql);
  if (!query.Next()) return std::nullopt;
  return query.Int(0);
}

int Database::ErrorCode() const { return m_db ? sqlite3_extended_errcode(m_db) : SQLITE_CANTOPEN; }

std::string Database::ErrorMessage() const {
  if (m_db) return sqlite3_errmsg(m_db);
  return m_openError.empty() ? "the database is not open" : m_openError;
}

int64_t Database::LastInsertId() const { return m_db ? sqlite3_last_insert_rowid(m_db) : 0; }

int Database::Changes() const { return m_db ? sqlite3_changes(m_db) : 0; }

void Database::SetBusyTimeout(int milliseconds) {
  if (m_db) sqlite3_busy_timeout(m_db, milliseconds);
}

// Every save is a transaction of its own, so its three statements come from
// the connection's cache rather than being parsed again each time.
Transaction::Transaction(Database& db) : m_db(db) { m_active = m_db.Prepare("BEGIN IMMEDIATE").Run(); }

Transaction::~Transaction() {
  if (m_active) m_db.Prepare("ROLLBACK").Run();
}

bool Transaction::Commit() {
  if (!m_active) return false;
  if (!m_db.Prepare("COMMIT").Run()) return false;  // still active: the destructor rolls back
  m_active = false;
  return true;
}

}  // namespace olstore
