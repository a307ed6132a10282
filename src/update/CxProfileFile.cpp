#include "update/CxProfileFile.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "common/misc/CxIniUtil.h"
#include "common/misc/CxText.h"
#include "update/CxItemKind.h"
#include "update/CxUpdateText.h"

namespace {

constexpr char kProfileSection[] = "Profile";
// What GetString answers for a key that is not there: no value a file can hold.
constexpr char kMissing[] = "\x01";

struct OperationName {
  int32_t nOperation;
  const char* szName;
};
constexpr OperationName kOperations[] = {
    {uoSet, "Set"}, {uoAppend, "Append"}, {uoInsert, "Insert"}, {uoReplace, "Replace"}};

const char* OperationText(int32_t nOperation) {
  for (const OperationName& name : kOperations)
    if (name.nOperation == nOperation) return name.szName;
  return nullptr;
}

// The key that holds a value of the type.
const char* ValueKey(int32_t nType) {
  switch (nType) {
    case ftDate:
    case ftDateTime:
      return "Date";
    case ftBoolean:
      return "Flag";
    case ftInteger:
      return "Number";
    case ftEnumeration:
      return "Choice";
    default:
      return nullptr;
  }
}

std::string SectionName(size_t nIndex) { return "Definition " + std::to_string(nIndex + 1); }


std::string Quote(const std::string& strText) {
  std::string strQuoted = "\"";
  for (char c : strText) {
    switch (c) {
      case '\\':
        strQuoted += "\\\\";
        break;
      case '\n':
        strQuoted += "\\n";
        break;
      case '\r':
        strQuoted += "\\r";
        break;
      case '\t':
        strQuoted += "\\t";
        break;
      default:
        strQuoted += c;
        break;
    }
  }
  return strQuoted + '"';
}

bool Unescape(const std::string& strText, std::string* pText) {
  std::string strPlain;
  for (size_t n = 0; n < strText.size(); ++n) {
    if (strText[n] != '\\') {
      strPlain += strText[n];
      continue;
    }
    if (++n == strText.size()) return false;
    switch (strText[n]) {
      case '\\':
        strPlain += '\\';
        break;
      case 'n':
        strPlain += '\n';
        break;
      case 'r':
        strPlain += '\r';
        break;
      case 't':
        strPlain += '\t';
        break;
      default:
        return false;
    }
  }
  *pText = strPlain;
  return true;
}

// Reads one profile; every failure is a reason in words, the caller adds
// where it was found.
class ProfileReader {
 public:
  ProfileReader(const std::string& strPath, const CxItemKind& kind)
      : m_Ini(nullptr, "profile.ini"), m_Kind(kind), m_bOpen(m_Ini.SetFilePath(strPath.c_str())) {}

  bool Read(std::vector<FieldUpdateDef>* pDefs, std::string* pSection, std::string* pWhy) {
    *pSection = kProfileSection;
    if (!m_bOpen) return Fail(pWhy, "the path is too long");
    std::string strKind;
    if (!Get(kProfileSection, "Kind", &strKind))
      return Fail(pWhy, "this is not a profile (it has no Kind)");
    const int32_t nMode = GetModeOfKeyword(strKind);
    if (nMode == 0) return Fail(pWhy, "\"" + strKind + "\" is not a kind of item");
    if (nMode != m_Kind.GetMode())
      return Fail(pWhy, std::string("it is a profile for ") + GetKindPluralName(nMode) +
                            ", not for " + GetKindPluralName(m_Kind.GetMode()));
    std::string strCount;
    int32_t nCount = 0;
    if (!Get(kProfileSection, "Definitions", &strCount) || !ParseCount(strCount, &nCount))
      return Fail(pWhy, "Definitions must give how many definitions it holds");
    std::vector<FieldUpdateDef> defs;
    for (int32_t n = 0; n < nCount; ++n) {
      *pSection = SectionName(static_cast<size_t>(n));
      FieldUpdateDef def;
      if (!ReadDefinition(*pSection, &def, pWhy)) return false;
      defs.push_back(def);
    }
    *pDefs = std::move(defs);
    return true;
  }

 private:
  static bool Fail(std::string* pWhy, const std::string& strWhy) {
    *pWhy = strWhy;
    return false;
  }

  static bool ParseCount(const std::string& strText, int32_t* pnCount) {
    if (strText.empty() || strText.size() > 4 ||
        strText.find_first_not_of("0123456789") != std::string::npos)
      return false;
    *pnCount = std::stoi(strText);
    return *pnCount > 0;
  }

  bool Get(const std::string& strSection, const char* szKey, std::string* pValue) {
    char szValue[1024];
    m_Ini.GetString(strSection.c_str(), szKey, szValue, sizeof szValue, kMissing);
    if (strcmp(szValue, kMissing) == 0) return false;
    *pValue = szValue;
    return true;
  }

  // A text key: present, unescaped, and fitting a definition's text.
  bool GetText(const std::string& strSection, const char* szKey, std::string* pText,
               std::string* pWhy) {
    std::string strRaw;
    if (!Get(strSection, szKey, &strRaw)) return Fail(pWhy, std::string(szKey) + " is missing");
    if (!Unescape(strRaw, pText))
      return Fail(pWhy, std::string(szKey) + " has a backslash that is not \\\\, \\n, \\r or \\t");
    if (pText->size() > sizeof(FieldUpdateDef::szValue) - 1)
      return Fail(pWhy, std::string(szKey) + " is longer than " +
                            std::to_string(sizeof(FieldUpdateDef::szValue) - 1) + " bytes");
    return true;
  }

  bool ReadDefinition(const std::string& strSection, FieldUpdateDef* pDef, std::string* pWhy) {
    memset(pDef, 0, sizeof *pDef);
    std::string strField;
    if (!Get(strSection, "Field", &strField))
      return Fail(pWhy, "the section is missing or has no Field");
    const FieldEntry* pEntry = m_Kind.FindEntryByName(strField);
    if (!pEntry)
      return Fail(pWhy,
                  "\"" + strField + "\" is not a field of " + GetKindPluralName(m_Kind.GetMode()));
    const FieldDescriptor& field = pEntry->Desc;
    std::string strID;
    if (!Get(strSection, "FieldID", &strID) || strID != std::to_string(field.nFieldID))
      return Fail(pWhy, "FieldID must be " + std::to_string(field.nFieldID) + ", the id of \"" +
                            strField + "\"");
    pDef->nFieldID = field.nFieldID;

    std::string strOperation;
    const bool bOperation = Get(strSection, "Operation", &strOperation);
    if (field.nType != ftString) {
      if (bOperation && strOperation != "Set")
        return Fail(pWhy, "\"" + strField + "\" is a " + GetFieldTypeName(field.nType) +
                              " field: its only operation is Set");
      const char* szKey = ValueKey(field.nType);
      std::string strValue, strWhy;
      if (!Get(strSection, szKey, &strValue)) return Fail(pWhy, std::string(szKey) + " is missing");
      if (!ParseDefinitionValue(field, strValue, pDef, &strWhy))
        return Fail(pWhy, std::string(szKey) + ": " + strWhy);
      return true;
    }

    if (!bOperation) return Fail(pWhy, "Operation is missing");
    for (const OperationName& name : kOperations)
      if (strOperation == name.szName) pDef->nOperation = name.nOperation;
    if (pDef->nOperation == uoNone)
      return Fail(pWhy,
                  "Operation must be Set, Append, Insert or Replace, not \"" + strOperation + "\"");
    std::string strText;
    if (!GetText(strSection, "Text", &strText, pWhy)) return false;
    // The editor's rules: what would do nothing is not a definition.
    if (strText.empty() && (pDef->nOperation == uoAppend || pDef->nOperation == uoInsert))
      return Fail(pWhy, "the text to " +
                            std::string(pDef->nOperation == uoAppend ? "append" : "insert") +
                            " is empty");
    memcpy(pDef->szValue, strText.c_str(), strText.size() + 1);
    if (pDef->nOperation == uoReplace) {
      std::string strSearch;
      if (!GetText(strSection, "Search", &strSearch, pWhy)) return false;
      if (strSearch.empty()) return Fail(pWhy, "the text to replace is empty");
      memcpy(pDef->szSearch, strSearch.c_str(), strSearch.size() + 1);
    }
    if (pDef->nOperation == uoInsert) {
      std::string strPosition;
      int32_t nPosition = 0;
      if (!Get(strSection, "Position", &strPosition) || strPosition.empty() ||
          strPosition.find_first_not_of("0123456789") != std::string::npos ||
          strPosition.size() > 9)
        return Fail(pWhy, "Position must be a character position, 0 or more");
      nPosition = std::stoi(strPosition);
      pDef->nPosition = nPosition;
    }
    return true;
  }

  CxIniUtil m_Ini;
  const CxItemKind& m_Kind;
  bool m_bOpen;
};

}  // namespace

bool WriteProfileFile(const std::string& strPath, const CxItemKind& kind,
                      const std::vector<FieldUpdateDef>& defs, std::string* pError) {
  const std::string strPart = strPath + ".part";
  std::error_code error;
  std::filesystem::remove(strPart, error);
  CxIniUtil ini(nullptr, "profile.ini");
  bool bWritten = ini.SetFilePath(strPart.c_str()) &&
                  ini.WriteString(kProfileSection, "Kind", GetKindKeyword(kind.GetMode())) &&
                  ini.WriteInt(kProfileSection, "Definitions", static_cast<int32_t>(defs.size()));
  for (size_t n = 0; bWritten && n < defs.size(); ++n) {
    const FieldUpdateDef& def = defs[n];
    const FieldEntry* pEntry = kind.FindEntry(def.nFieldID);
    if (!pEntry) {
      if (pError) *pError = "definition " + std::to_string(n + 1) + " has no field of this kind";
      std::filesystem::remove(strPart, error);
      return false;
    }
    const std::string strSection = SectionName(n);
    const char* szSection = strSection.c_str();
    const FieldDescriptor& field = pEntry->Desc;
    bWritten = ini.WriteString(szSection, "Field", field.szName) &&
               ini.WriteInt(szSection, "FieldID", field.nFieldID);
    if (!bWritten) break;
    if (field.nType != ftString) {
      bWritten = ini.WriteString(szSection, ValueKey(field.nType),
                                 DefinitionValueText(field, def).c_str());
      continue;
    }
    const char* szOperation = OperationText(def.nOperation);
    bWritten = ini.WriteString(szSection, "Operation", szOperation ? szOperation : "Set") &&
               ini.WriteString(szSection, "Text", Quote(FieldString(def.szValue)).c_str());
    if (bWritten && def.nOperation == uoReplace)
      bWritten = ini.WriteString(szSection, "Search", Quote(FieldString(def.szSearch)).c_str());
    if (bWritten && def.nOperation == uoInsert)
      bWritten = ini.WriteInt(szSection, "Position", def.nPosition);
  }
  if (bWritten) std::filesystem::rename(strPart, strPath, error);
  if (!bWritten || error) {
    std::filesystem::remove(strPart, error);
    if (pError) *pError = "the profile cannot be written to " + strPath;
    return false;
  }
  return true;
}

bool ReadProfileFile(const std::string& strPath, const CxItemKind& kind,
                     std::vector<FieldUpdateDef>* pDefs, std::string* pError) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(strPath, error)) {
    if (pError) *pError = strPath + ": there is no such file";
    return false;
  }
  ProfileReader reader(strPath, kind);
  std::string strSection, strWhy;
  if (reader.Read(pDefs, &strSection, &strWhy)) return true;
  if (pError) *pError = strPath + ", section [" + strSection + "]: " + strWhy;
  return false;
}
