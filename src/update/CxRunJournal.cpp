#include "update/CxRunJournal.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "common/misc/CxDebugUtil.h"
#include "common/misc/CxUtf8.h"
#include "update/CxUpdateText.h"

namespace {

constexpr int kSchemaVersion = 1;
// Room a run needs per item (its old and new values, the row and the index,
// in the journal and in its write-ahead log), and in all beyond that. A run
// that changes long notes of every item may need more; then the journal's
// own failure stops the saves before an item is saved unjournaled.
constexpr uintmax_t kRoomPerItem = 8 * 1024;
constexpr uintmax_t kRoomPerRun = 4 * 1024 * 1024;

constexpr char kSchema[] = R"(
CREATE TABLE IF NOT EXISTS run(
  id INTEGER PRIMARY KEY,
  mode INTEGER NOT NULL,
  definitions TEXT NOT NULL,
  started INTEGER NOT NULL,
  ended INTEGER,
  undo_of INTEGER);
CREATE TABLE IF NOT EXISTS item(
  id INTEGER PRIMARY KEY,
  run INTEGER NOT NULL REFERENCES run(id) ON DELETE CASCADE,
  entry_id TEXT NOT NULL,
  store_id TEXT NOT NULL,
  name TEXT NOT NULL,
  state INTEGER NOT NULL,
  reason TEXT,
  modified REAL);
CREATE INDEX IF NOT EXISTS item_run ON item(run);
CREATE TABLE IF NOT EXISTS change(
  item INTEGER NOT NULL REFERENCES item(id) ON DELETE CASCADE,
  seq INTEGER NOT NULL,
  property TEXT NOT NULL,
  old_type INTEGER NOT NULL,
  old_value,
  new_type INTEGER,
  new_value,
  field INTEGER NOT NULL,
  PRIMARY KEY(item, seq)) WITHOUT ROWID;
)";

// One prepared statement, finalized with the object; or a statement the
// journal keeps prepared, made ready for its next use instead.
class Statement {
 public:
  Statement(sqlite3* pDb, const char* szSql) : m_pStmt(nullptr), m_bOwned(true) {
    if (pDb) sqlite3_prepare_v2(pDb, szSql, -1, &m_pStmt, nullptr);
  }
  explicit Statement(sqlite3_stmt* pKept) : m_pStmt(pKept), m_bOwned(false) {}
  ~Statement() {
    if (m_bOwned)
      sqlite3_finalize(m_pStmt);
    else if (m_pStmt)
      Reset();
  }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool IsValid() const { return m_pStmt != nullptr; }
  void Bind(int nIndex, int64_t nValue) { sqlite3_bind_int64(m_pStmt, nIndex, nValue); }
  void Bind(int nIndex, const std::string& strValue) {
    sqlite3_bind_text(m_pStmt, nIndex, strValue.data(), static_cast<int>(strValue.size()),
                      SQLITE_TRANSIENT);
  }
  void BindReal(int nIndex, double dValue) { sqlite3_bind_double(m_pStmt, nIndex, dValue); }
  void BindValue(int nIndex, const CxJournalValue& value) {
    switch (value.vt) {
      case VT_BSTR:
        Bind(nIndex, value.strText);
        break;
      case VT_R8:
      case VT_DATE:
        BindReal(nIndex, value.dReal);
        break;
      case VT_EMPTY:
        sqlite3_bind_null(m_pStmt, nIndex);
        break;
      default:
        Bind(nIndex, value.nNumber);
        break;
    }
  }
  // SQLITE_ROW, SQLITE_DONE or an error; an invalid statement answers SQLITE_ERROR.
  int Step() { return m_pStmt ? sqlite3_step(m_pStmt) : SQLITE_ERROR; }
  void Reset() {
    sqlite3_reset(m_pStmt);
    sqlite3_clear_bindings(m_pStmt);
  }

  bool IsNull(int nColumn) const { return sqlite3_column_type(m_pStmt, nColumn) == SQLITE_NULL; }
  int64_t Int(int nColumn) const { return sqlite3_column_int64(m_pStmt, nColumn); }
  double Real(int nColumn) const { return sqlite3_column_double(m_pStmt, nColumn); }
  std::string Text(int nColumn) const {
    const auto* szText = reinterpret_cast<const char*>(sqlite3_column_text(m_pStmt, nColumn));
    return szText ? std::string(szText, static_cast<size_t>(sqlite3_column_bytes(m_pStmt, nColumn)))
                  : std::string();
  }
  CxJournalValue Value(int nTypeColumn, int nValueColumn) const {
    CxJournalValue value;
    value.vt = static_cast<VARTYPE>(Int(nTypeColumn));
    switch (value.vt) {
      case VT_BSTR:
        value.strText = Text(nValueColumn);
        break;
      case VT_R8:
      case VT_DATE:
        value.dReal = Real(nValueColumn);
        break;
      default:
        value.nNumber = Int(nValueColumn);
        break;
    }
    return value;
  }

 private:
  sqlite3_stmt* m_pStmt;
  bool m_bOwned;
};

// Properties Outlook keeps in step, in the order that puts a former state
// back: a put of one of them may change the others.
const std::vector<std::vector<std::string>> kCoupledProperties = {
    {"Start", "End"},
    {"Status", "PercentComplete", "DateCompleted", "Complete"},
};

std::string FormatReal(double dValue) {
  char szText[40];
  snprintf(szText, sizeof szText, "%.15g", dValue);
  return szText;
}

}  // namespace

// ---- CxJournalValue ----------------------------------------------------------------

bool CxJournalValue::FromVariant(const VARIANT& value, CxJournalValue* pValue) {
  CxJournalValue result;
  result.vt = value.vt;
  switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
      result.vt = VT_EMPTY;
      break;
    case VT_BSTR:
      result.strText =
          value.bstrVal ? OleToUtf8(value.bstrVal, SysStringLen(value.bstrVal)) : std::string();
      break;
    case VT_I2:
      result.nNumber = value.iVal;
      break;
    case VT_I4:
      result.nNumber = value.lVal;
      break;
    case VT_UI1:
      result.nNumber = value.bVal;
      break;
    case VT_BOOL:
      result.nNumber = value.boolVal != VARIANT_FALSE ? 1 : 0;
      break;
    case VT_R8:
      result.dReal = value.dblVal;
      break;
    case VT_DATE:
      result.dReal = value.date;
      break;
    default:
      return false;
  }
  *pValue = std::move(result);
  return true;
}

HRESULT CxJournalValue::ToVariant(VARIANT* pValue) const {
  VariantInit(pValue);
  switch (vt) {
    case VT_EMPTY:
      return S_OK;
    case VT_BSTR: {
      const OleString strOle = Utf8ToOle(strText);
      pValue->bstrVal = SysAllocStringLen(strOle.data(), static_cast<UINT>(strOle.size()));
      if (!pValue->bstrVal) return E_OUTOFMEMORY;
      break;
    }
    case VT_I2:
      pValue->iVal = static_cast<SHORT>(nNumber);
      break;
    case VT_I4:
      pValue->lVal = static_cast<LONG>(nNumber);
      break;
    case VT_UI1:
      pValue->bVal = static_cast<BYTE>(nNumber);
      break;
    case VT_BOOL:
      pValue->boolVal = nNumber ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case VT_R8:
      pValue->dblVal = dReal;
      break;
    case VT_DATE:
      pValue->date = dReal;
      break;
    default:
      return DISP_E_TYPEMISMATCH;
  }
  pValue->vt = vt;
  return S_OK;
}

bool CxJournalValue::SameAs(const CxJournalValue& other) const {
  if (vt != other.vt) return false;
  switch (vt) {
    case VT_EMPTY:
      return true;
    case VT_BSTR:
      return strText == other.strText;
    case VT_DATE:
      return std::fabs(dReal - other.dReal) < 0.5 / 86400.0;
    case VT_R8:
      return dReal == other.dReal;
    default:
      return nNumber == other.nNumber;
  }
}

std::string CxJournalValue::Text() const {
  switch (vt) {
    case VT_BSTR:
      return strText;
    case VT_BOOL:
      return nNumber ? "Yes" : "No";
    case VT_R8:
      return FormatReal(dReal);
    case VT_DATE:
      return StoredDateText(dReal, true);
    case VT_EMPTY:
      return std::string();
    default:
      return std::to_string(nNumber);
  }
}

std::string CxJournalValue::TextAs(const FieldEntry& entry) const {
  switch (entry.Desc.nType) {
    case ftDate:
    case ftDateTime:
      if (vt == VT_DATE) return StoredDateText(dReal, entry.Desc.nType == ftDateTime);
      break;
    case ftEnumeration:
      for (int32_t n = 0; n < entry.Desc.nEnumCount && n < kMaxEnumCount; ++n)
        if (entry.Desc.nEnumValues[n] == nNumber) return entry.Desc.szEnumTexts[n];
      break;
    default:
      break;
  }
  return Text();
}

// ---- CxRunJournal ----------------------------------------------------------------

CxRunJournal::CxRunJournal() : m_pDb(nullptr), m_nRun(0), m_nItem(0), m_bWritable(false) {}

CxRunJournal::~CxRunJournal() { Close(); }

std::string CxRunJournal::PathIn(const std::string& strFolder) { return strFolder + "journal.db"; }

bool CxRunJournal::Open(const std::string& strPath, std::string* pError) {
  Close();
  // SQLite names its files in UTF-8 on every system.
  const std::string strFile = AnsiToUtf8(strPath);
  if (sqlite3_open_v2(strFile.c_str(), &m_pDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                      nullptr) != SQLITE_OK) {
    if (pError) *pError = "the run journal " + strPath + " cannot be opened: " + LastError();
    Close();
    return false;
  }
  sqlite3_busy_timeout(m_pDb, 5000);
  std::string strError;
  int64_t nVersion = -1;
  {
    Statement version(m_pDb, "PRAGMA user_version");
    if (version.Step() == SQLITE_ROW) nVersion = version.Int(0);
  }
  if (nVersion > kSchemaVersion) {
    strError = "it was written by a newer version of the program";
  } else if (nVersion < 0) {
    strError = LastError();
  } else {
    // Every commit reaches the disk before the save it announces begins.
    Statement wal(m_pDb, "PRAGMA journal_mode=WAL");
    if (wal.Step() != SQLITE_ROW || wal.Text(0) != "wal")
      strError = "it cannot be written (" + LastError() + ")";
  }
  if (strError.empty() &&
      (!Execute("PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON", &strError) ||
       !Execute("BEGIN IMMEDIATE", &strError) || !Execute(kSchema, &strError) ||
       !Execute(("PRAGMA user_version=" + std::to_string(kSchemaVersion)).c_str(), &strError) ||
       !Execute("COMMIT", &strError))) {
    sqlite3_exec(m_pDb, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  if (!strError.empty()) {
    if (pError) *pError = "the run journal " + strPath + " cannot be used: " + strError;
    Close();
    return false;
  }
  return true;
}

void CxRunJournal::Close() {
  for (const auto& [szSql, pStmt] : m_Prepared) sqlite3_finalize(pStmt);
  m_Prepared.clear();
  if (m_pDb) sqlite3_close_v2(m_pDb);
  m_pDb = nullptr;
  m_nRun = 0;
  m_nItem = 0;
  m_bWritable = false;
}

bool CxRunJournal::Execute(const char* szSql, std::string* pError) {
  char* szError = nullptr;
  if (sqlite3_exec(m_pDb, szSql, nullptr, nullptr, &szError) == SQLITE_OK) return true;
  if (pError) *pError = szError ? szError : LastError();
  sqlite3_free(szError);
  return false;
}

sqlite3_stmt* CxRunJournal::Prepared(const char* szSql) {
  if (!m_pDb) return nullptr;
  if (const auto it = m_Prepared.find(szSql); it != m_Prepared.end()) return it->second;
  sqlite3_stmt* pStmt = nullptr;
  if (sqlite3_prepare_v3(m_pDb, szSql, -1, SQLITE_PREPARE_PERSISTENT, &pStmt, nullptr) != SQLITE_OK)
    return nullptr;
  m_Prepared.emplace(szSql, pStmt);
  return pStmt;
}

std::string CxRunJournal::LastError() const {
  return m_pDb ? sqlite3_errmsg(m_pDb) : "the run journal is not open";
}

bool CxRunJournal::BeginRun(int32_t nMode, const std::string& strDefinitions, int64_t nUndoOf,
                            size_t nItems, std::string* pError) {
  m_nRun = 0;
  m_nItem = 0;
  m_bWritable = false;
  if (!m_pDb) {
    if (pError) *pError = "the run journal is not open";
    return false;
  }
  // A full disk is found before the first item, not halfway through.
  std::error_code error;
  const char* szFile = sqlite3_db_filename(m_pDb, "main");
  const std::filesystem::path file(std::u8string(reinterpret_cast<const char8_t*>(szFile)));
  const std::filesystem::space_info space = std::filesystem::space(file.parent_path(), error);
  const uintmax_t nRoom = kRoomPerRun + kRoomPerItem * nItems;
  if (!error && space.available < nRoom) {
    if (pError) *pError = "the disk that holds the run journal is full";
    return false;
  }
  const time_t tNow = time(nullptr);
  // Housekeeping never stops a run: a failure here only keeps old runs longer.
  Statement prune(m_pDb,
                  "DELETE FROM run WHERE id NOT IN (SELECT id FROM run ORDER BY id DESC LIMIT ?1) "
                  "AND started < ?2");
  prune.Bind(1, int64_t{kKeepRuns - 1});
  prune.Bind(2, static_cast<int64_t>(tNow) - int64_t{kKeepDays} * 86400);
  prune.Step();

  Statement insert(m_pDb,
                   "INSERT INTO run(mode, definitions, started, undo_of) VALUES(?1, ?2, ?3, ?4)");
  insert.Bind(1, int64_t{nMode});
  insert.Bind(2, strDefinitions);
  insert.Bind(3, static_cast<int64_t>(tNow));
  if (nUndoOf > 0) insert.Bind(4, nUndoOf);
  if (insert.Step() != SQLITE_DONE) {
    if (pError) *pError = "the run journal cannot be written: " + LastError();
    return false;
  }
  m_nRun = sqlite3_last_insert_rowid(m_pDb);
  m_bWritable = true;
  return true;
}

void CxRunJournal::EndRun() {
  if (!m_pDb || m_nRun == 0) return;
  Statement update(m_pDb, "UPDATE run SET ended = ?1 WHERE id = ?2");
  update.Bind(1, static_cast<int64_t>(time(nullptr)));
  update.Bind(2, m_nRun);
  update.Step();
  m_nRun = 0;
  m_nItem = 0;
  m_bWritable = false;
}

void CxRunJournal::SetItem(const std::string& strEntryID, const std::string& strStoreID,
                           const std::string& strName) {
  m_strEntryID = strEntryID;
  m_strStoreID = strStoreID;
  m_strName = AnsiToUtf8(strName);
  m_nItem = 0;
}

bool CxRunJournal::AddItem(const std::vector<CxJournalChange>& changes, std::string* pError) {
  m_nItem = 0;
  if (!m_pDb || m_nRun == 0 || !m_bWritable) {
    if (pError) *pError = "the run journal cannot be written";
    return false;
  }
  std::string strError;
  bool bDone = Execute("BEGIN IMMEDIATE", &strError);
  int64_t nItem = 0;
  if (bDone) {
    Statement item(Prepared(
        "INSERT INTO item(run, entry_id, store_id, name, state) VALUES(?1, ?2, ?3, ?4, 0)"));
    item.Bind(1, m_nRun);
    item.Bind(2, m_strEntryID);
    item.Bind(3, m_strStoreID);
    item.Bind(4, m_strName);
    bDone = item.Step() == SQLITE_DONE;
    nItem = sqlite3_last_insert_rowid(m_pDb);
  }
  if (bDone) {
    Statement change(Prepared(
        "INSERT INTO change(item, seq, property, old_type, old_value, new_type, new_value, field) "
        "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)"));
    int64_t nSeq = 0;
    for (const CxJournalChange& entry : changes) {
      change.Bind(1, nItem);
      change.Bind(2, nSeq++);
      change.Bind(3, entry.strProperty);
      change.Bind(4, int64_t{entry.Old.vt});
      change.BindValue(5, entry.Old);
      if (entry.bNewKnown) {
        change.Bind(6, int64_t{entry.New.vt});
        change.BindValue(7, entry.New);
      }
      change.Bind(8, int64_t{entry.nField});
      if (change.Step() != SQLITE_DONE) {
        bDone = false;
        break;
      }
      change.Reset();
    }
  }
  if (bDone) bDone = Execute("COMMIT", &strError);
  if (!bDone) {
    if (strError.empty()) strError = LastError();
    sqlite3_exec(m_pDb, "ROLLBACK", nullptr, nullptr, nullptr);
    // Nothing more is saved: an item saved without its journal row could not
    // be undone, and the journal would not tell that it was saved.
    m_bWritable = false;
    QM_LOG(0, "The run journal cannot be written: %s", strError.c_str());
    if (pError) *pError = "the run journal cannot be written";
    return false;
  }
  m_nItem = nItem;
  m_ItemProperties.clear();
  for (const CxJournalChange& entry : changes) m_ItemProperties.push_back(entry.strProperty);
  return true;
}

void CxRunJournal::MarkSaved(CDispCmd& item) {
  if (!m_pDb || m_nItem == 0) return;
  DATE dtModified = 0;
  item.GetDate(OLESTR("LastModificationTime"), &dtModified);
  std::string strError;
  bool bDone = Execute("BEGIN IMMEDIATE", &strError);
  if (bDone) {
    Statement update(Prepared("UPDATE item SET state = 1, modified = ?1 WHERE id = ?2"));
    update.BindReal(1, dtModified);
    update.Bind(2, m_nItem);
    bDone = update.Step() == SQLITE_DONE;
  }
  // What Outlook made of the puts is what an undo expects to find.
  Statement saved(
      Prepared("UPDATE change SET new_type = ?1, new_value = ?2 WHERE item = ?3 AND seq = ?4"));
  for (size_t n = 0; bDone && n < m_ItemProperties.size(); ++n) {
    CxJournalValue value;
    if (!ReadValue(item, m_ItemProperties[n], &value)) continue;
    saved.Bind(1, int64_t{value.vt});
    saved.BindValue(2, value);
    saved.Bind(3, m_nItem);
    saved.Bind(4, static_cast<int64_t>(n));
    bDone = saved.Step() == SQLITE_DONE;
    saved.Reset();
  }
  if (bDone) bDone = Execute("COMMIT", &strError);
  if (!bDone) {
    sqlite3_exec(m_pDb, "ROLLBACK", nullptr, nullptr, nullptr);
    QM_LOG(0, "The run journal could not mark an item saved: %s",
           (strError.empty() ? LastError() : strError).c_str());
  }
  m_nItem = 0;
}

void CxRunJournal::MarkFailed(const std::string& strReason) {
  if (!m_pDb || m_nItem == 0) return;
  Statement update(Prepared("UPDATE item SET state = 2, reason = ?1 WHERE id = ?2"));
  update.Bind(1, AnsiToUtf8(strReason));
  update.Bind(2, m_nItem);
  if (update.Step() != SQLITE_DONE)
    QM_LOG(0, "The run journal could not mark an item failed: %s", LastError().c_str());
  m_nItem = 0;
}

std::vector<std::string> CxRunJournal::JournaledProperties(const std::vector<std::string>& puts) {
  std::vector<std::string> properties;
  const auto fnAdd = [&properties](const std::string& strName) {
    if (std::find(properties.begin(), properties.end(), strName) == properties.end())
      properties.push_back(strName);
  };
  for (const std::string& strPut : puts) {
    bool bCoupled = false;
    for (const std::vector<std::string>& group : kCoupledProperties) {
      if (std::find(group.begin(), group.end(), strPut) == group.end()) continue;
      for (const std::string& strName : group) fnAdd(strName);
      bCoupled = true;
    }
    if (!bCoupled) fnAdd(strPut);
  }
  return properties;
}

bool CxRunJournal::ReadValue(CDispCmd& item, const std::string& strProperty,
                             CxJournalValue* pValue) {
  const OleString strName = Utf8ToOle(strProperty);
  VARIANT value;
  VariantInit(&value);
  const HRESULT hr = item.GetProperty(strName.c_str(), &value);
  const bool bRead = SUCCEEDED(hr) && CxJournalValue::FromVariant(value, pValue);
  VariantClear(&value);
  return bRead;
}

bool CxRunJournal::BeforePuts(CDispCmd& item, const OlPutPlan& plan, const char** pszFailure) {
  std::vector<std::string> puts;
  for (const OlPut& put : plan.Puts()) puts.push_back(put.pProp->szLogName);
  std::vector<CxJournalChange> changes;
  for (const std::string& strProperty : JournaledProperties(puts)) {
    CxJournalChange change;
    change.strProperty = strProperty;
    if (!ReadValue(item, strProperty, &change.Old)) {
      // Without the old value the change could not be taken back.
      m_strFailure = "the current value of " + strProperty + " cannot be read for the run journal";
      *pszFailure = m_strFailure.c_str();
      return false;
    }
    change.bNewKnown = false;
    for (const OlPut& put : plan.Puts()) {
      if (strProperty != put.pProp->szLogName) continue;
      change.bNewKnown = CxJournalValue::FromVariant(put.vValue, &change.New);
      change.nField = put.pProp->nField;
    }
    changes.push_back(std::move(change));
  }
  if (!AddItem(changes, &m_strFailure)) {
    *pszFailure = m_strFailure.c_str();
    return false;
  }
  return true;
}

void CxRunJournal::AfterSave(CDispCmd& item, bool bSaved, const char* szFailure) {
  if (bSaved)
    MarkSaved(item);
  else
    MarkFailed(szFailure ? szFailure : "");
}

std::vector<CxJournalRun> CxRunJournal::ListRuns(std::string* pError) {
  std::vector<CxJournalRun> runs;
  Statement select(m_pDb,
                   "SELECT r.id, r.mode, r.definitions, r.started, r.ended, r.undo_of, "
                   "(SELECT max(u.id) FROM run u WHERE u.undo_of = r.id), "
                   "(SELECT count(*) FROM item i WHERE i.run = r.id AND i.state = 1), "
                   "(SELECT count(*) FROM item i WHERE i.run = r.id AND i.state = 2), "
                   "(SELECT count(*) FROM item i WHERE i.run = r.id AND i.state = 0) "
                   "FROM run r ORDER BY r.id DESC");
  int nStep = select.Step();
  for (; nStep == SQLITE_ROW; nStep = select.Step()) {
    CxJournalRun run;
    run.nID = select.Int(0);
    run.nMode = static_cast<int32_t>(select.Int(1));
    run.strDefinitions = select.Text(2);
    run.tStarted = static_cast<time_t>(select.Int(3));
    run.tEnded = static_cast<time_t>(select.Int(4));
    run.nUndoOf = select.Int(5);
    run.nUndoneBy = select.Int(6);
    run.nSaved = static_cast<int>(select.Int(7));
    run.nFailed = static_cast<int>(select.Int(8));
    run.nPending = static_cast<int>(select.Int(9));
    runs.push_back(std::move(run));
  }
  if (nStep != SQLITE_DONE && pError) *pError = LastError();
  return runs;
}

bool CxRunJournal::FindRun(int64_t nRun, CxJournalRun* pRun) {
  for (CxJournalRun& run : ListRuns()) {
    if (run.nID == nRun) {
      *pRun = std::move(run);
      return true;
    }
  }
  return false;
}

bool CxRunJournal::LoadItems(int64_t nRun, std::vector<CxJournalItem>* pItems,
                             std::string* pError) {
  pItems->clear();
  Statement items(m_pDb,
                  "SELECT id, entry_id, store_id, name, state, reason, modified FROM item "
                  "WHERE run = ?1 ORDER BY id");
  Statement changes(m_pDb,
                    "SELECT property, old_type, old_value, new_type, new_value, field FROM change "
                    "WHERE item = ?1 ORDER BY seq");
  if (!items.IsValid() || !changes.IsValid()) {
    if (pError) *pError = "the run journal cannot be read: " + LastError();
    return false;
  }
  items.Bind(1, nRun);
  int nStep = items.Step();
  for (; nStep == SQLITE_ROW; nStep = items.Step()) {
    CxJournalItem item;
    item.nID = items.Int(0);
    item.strEntryID = items.Text(1);
    item.strStoreID = items.Text(2);
    item.strName = items.Text(3);
    item.nState = static_cast<JournalItemState>(items.Int(4));
    item.strReason = items.Text(5);
    item.dtModified = items.Real(6);
    changes.Bind(1, item.nID);
    int nChange = changes.Step();
    for (; nChange == SQLITE_ROW; nChange = changes.Step())
      item.Changes.push_back({changes.Text(0), changes.Value(1, 2), changes.Value(3, 4),
                              !changes.IsNull(3), static_cast<int>(changes.Int(5))});
    changes.Reset();
    if (nChange != SQLITE_DONE) {
      nStep = nChange;
      break;
    }
    pItems->push_back(std::move(item));
  }
  if (nStep != SQLITE_DONE) {
    if (pError) *pError = "the run journal cannot be read: " + LastError();
    return false;
  }
  return true;
}
