#include "update/CxChangeReport.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

// One CSV field: quoted when it holds a separator, a quote or a line break,
// with its quotes doubled. A leading character that spreadsheets would take
// for a formula is kept as text.
std::string CsvField(const std::string& strText) {
  std::string strField = strText;
  if (!strField.empty() && std::string("=+-@").find(strField[0]) != std::string::npos)
    strField.insert(0, 1, '\'');
  if (strField.find_first_of(",\"\r\n") == std::string::npos) return strField;
  std::string strQuoted = "\"";
  for (char c : strField) {
    if (c == '"') strQuoted += '"';
    strQuoted += c;
  }
  return strQuoted + '"';
}

std::string CsvLine(std::initializer_list<std::string> fields) {
  std::string strLine;
  bool bFirst = true;
  for (const std::string& strField : fields) {
    if (!bFirst) strLine += ',';
    bFirst = false;
    strLine += CsvField(strField);
  }
  return strLine + "\r\n";
}

void AddCount(std::string& strText, int nCount, const char* szWhat) {
  if (nCount == 0) return;
  if (!strText.empty()) strText += ", ";
  strText += std::to_string(nCount) + ' ' + szWhat;
}

}  // namespace

int CxChangeReport::CountItems(ItemOutcome nOutcome) const {
  int nCount = 0;
  for (const CxItemChanges& item : m_Items)
    if (item.nOutcome == nOutcome) ++nCount;
  return nCount;
}

int CxChangeReport::CountFields(FieldOutcome nOutcome) const {
  int nCount = 0;
  for (const CxItemChanges& item : m_Items)
    for (const CxFieldChange& field : item.Fields)
      if (field.nOutcome == nOutcome) ++nCount;
  return nCount;
}

std::string CxChangeReport::CountsText() const {
  if (m_bPreview) {
    const int nItems = CountItems(ioChange);
    const int nFields = CountFields(foChange);
    return std::to_string(nItems) + (nItems == 1 ? " item" : " items") + " will change, " +
           std::to_string(nFields) + (nFields == 1 ? " field" : " fields") + "; " +
           std::to_string(CountItems(ioUnchanged)) + " unchanged; " +
           (CountItems(ioSkipped) > 0
                ? std::to_string(CountItems(ioSkipped)) + " skipped (distribution lists); "
                : std::string()) +
           std::to_string(CountFields(foRefused)) + " refused";
  }
  std::string strText;
  for (ItemOutcome nOutcome : {ioUpdated, ioPartial, ioRestored, ioUnchanged, ioSkipped, ioConflict,
                               ioDeleted, ioNotSaved})
    AddCount(strText, CountItems(nOutcome), ItemOutcomeText(nOutcome));
  return strText.empty() ? "no items" : strText;
}

const char* CxChangeReport::ItemOutcomeText(ItemOutcome nOutcome) {
  switch (nOutcome) {
    case ioChange:
      return "will change";
    case ioUnchanged:
      return "unchanged";
    case ioRefused:
      return "refused";
    case ioUpdated:
      return "updated";
    case ioPartial:
      return "updated in part";
    case ioNotSaved:
      return "not saved";
    case ioConflict:
      return "changed since the run";
    case ioRestored:
      return "restored";
    case ioDeleted:
      return "deleted since the run";
    case ioSkipped:
      return "skipped";
  }
  return "";
}

std::string CxChangeReport::OutcomeText(const CxItemChanges& item,
                                        const CxFieldChange& field) const {
  if (field.nOutcome == foRefused) return "refused: " + field.strReason;
  if (field.nOutcome == foSkipped) return "skipped: " + field.strReason;
  if (field.nOutcome == foNoChange) return "no change";
  switch (item.nOutcome) {
    case ioChange:
      return "will change";
    case ioUpdated:
    case ioPartial:
      return "changed";
    case ioRestored:
      return "restored";
    case ioNotSaved:
    case ioConflict:
    case ioDeleted:
      return std::string(ItemOutcomeText(item.nOutcome)) +
             (item.strReason.empty() ? "" : ": " + item.strReason);
    default:
      return ItemOutcomeText(item.nOutcome);
  }
}

bool CxChangeReport::WriteCsv(const std::string& strPath, std::string* pError) const {
  const std::string strPart = strPath + ".part";
  FILE* pFile = fopen(strPart.c_str(), "wb");
  if (!pFile) {
    if (pError) *pError = "cannot create " + strPath;
    return false;
  }
  std::string strText =
      CsvLine({"Item", "Folder", "Field", m_bPreview ? "Current value" : "Old value", "New value",
               "Outcome"});
  for (const CxItemChanges& item : m_Items) {
    if (item.Fields.empty()) {
      strText += CsvLine({item.strName, item.strFolder, "", "", "",
                          std::string(ItemOutcomeText(item.nOutcome)) +
                              (item.strReason.empty() ? "" : ": " + item.strReason)});
    }
    for (const CxFieldChange& field : item.Fields)
      strText += CsvLine({item.strName, item.strFolder, field.strField, field.strOld, field.strNew,
                          OutcomeText(item, field)});
  }
  const bool bWritten = fwrite(strText.data(), 1, strText.size(), pFile) == strText.size();
  const bool bClosed = fclose(pFile) == 0;
  std::error_code error;
  if (!bWritten || !bClosed) {
    std::filesystem::remove(strPart, error);
    if (pError) *pError = "cannot write " + strPath;
    return false;
  }
  std::filesystem::rename(strPart, strPath, error);
  if (error) {
    std::filesystem::remove(strPart, error);
    if (pError) *pError = "cannot write " + strPath;
    return false;
  }
  return true;
}
