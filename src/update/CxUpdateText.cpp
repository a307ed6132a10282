#include "update/CxUpdateText.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/misc/CxDateTime.h"
#include "common/misc/CxText.h"
#include "platform/win32.h"

namespace {


std::string DateText(double dtValue, bool bWithTime) {
  CxDateTime date(&dtValue);
  char szText[32] = {};
  if (bWithTime)
    date.FormatDateTime(szText, sizeof szText);
  else
    date.FormatDate(szText, sizeof szText);
  return szText;
}

std::string SetValueText(const std::string& strValue) {
  return "Set value to \"" + strValue + "\"";
}

const char* EnumText(const FieldDescriptor& field, int32_t nValue) {
  const int32_t nCount = field.nEnumCount < 0               ? 0
                         : field.nEnumCount > kMaxEnumCount ? kMaxEnumCount
                                                            : field.nEnumCount;
  for (int32_t nIndex = 0; nIndex < nCount; ++nIndex)
    if (field.nEnumValues[nIndex] == nValue) return field.szEnumTexts[nIndex];
  return nullptr;
}

}  // namespace

std::string StoredDateText(double dtValue, bool bWithTime) {
  if (dtValue > -0.00001 && dtValue < 0.00001) return std::string();
  // Outlook's "no date" formats its date part as empty.
  const std::string strText = DateText(dtValue, bWithTime);
  return strText.empty() || strText[0] == ' ' ? std::string() : strText;
}

std::string DescribeDefinition(const FieldDescriptor& field, const FieldUpdateDef& def) {
  const std::string strValue = FieldString(def.szValue);
  switch (field.nType) {
    case ftString:
      switch (def.nOperation) {
        case uoSet:
          return SetValueText(strValue);
        case uoAppend:
          return "Append \"" + strValue + "\" to the field.";
        case uoInsert:
          return "Insert \"" + strValue + "\" at position " + std::to_string(def.nPosition);
        case uoReplace:
          return "Replace \"" + FieldString(def.szSearch) + "\" with \"" + strValue + "\"";
        default:
          return std::string();
      }
    case ftBoolean:
      return SetValueText(def.bValue ? kTrueText : kFalseText);
    case ftInteger:
      return SetValueText(std::to_string(def.nValue));
    case ftEnumeration: {
      const char* szText = EnumText(field, def.nValue);
      return szText ? SetValueText(szText) : "<Not Specified>";
    }
    case ftDate:
      return SetValueText(DateText(def.dtValue, false));
    case ftDateTime:
      return SetValueText(DateText(def.dtValue, true));
    default:
      return "<Unknown>";
  }
}

std::string DefinitionValueText(const FieldDescriptor& field, const FieldUpdateDef& def) {
  switch (field.nType) {
    case ftBoolean:
      return def.bValue ? "true" : "false";
    case ftInteger:
      return std::to_string(def.nValue);
    case ftEnumeration: {
      const char* szText = EnumText(field, def.nValue);
      return szText ? szText : std::to_string(def.nValue);
    }
    case ftDate:
    case ftDateTime: {
      SYSTEMTIME st{};
      if (def.nHasDate != 1 || !VariantTimeToSystemTime(def.dtValue, &st)) return std::string();
      char szText[32];
      if (field.nType == ftDate)
        snprintf(szText, sizeof szText, "%04u-%02u-%02u", st.wYear, st.wMonth, st.wDay);
      else
        snprintf(szText, sizeof szText, "%04u-%02u-%02uT%02u:%02u", st.wYear, st.wMonth, st.wDay,
                 st.wHour, st.wMinute);
      return szText;
    }
    default:
      return std::string();
  }
}

namespace {

// "YYYY-MM-DD", with "THH:MM" when bWithTime, as an automation date.
bool ParseIsoDate(const std::string& strText, bool bWithTime, double* pdtValue) {
  unsigned nYear = 0, nMonth = 0, nDay = 0, nHour = 0, nMinute = 0;
  int nUsed = 0;
  const int nFields =
      bWithTime ? sscanf(strText.c_str(), "%4u-%2u-%2uT%2u:%2u%n", &nYear, &nMonth, &nDay, &nHour,
                         &nMinute, &nUsed)
                : sscanf(strText.c_str(), "%4u-%2u-%2u%n", &nYear, &nMonth, &nDay, &nUsed);
  if (nFields != (bWithTime ? 5 : 3) || static_cast<size_t>(nUsed) != strText.size()) return false;
  if (strText.size() != (bWithTime ? 16u : 10u)) return false;
  if (nYear < 100 || nMonth < 1 || nMonth > 12 || nDay < 1 || nHour > 23 || nMinute > 59)
    return false;
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(nYear);
  st.wMonth = static_cast<WORD>(nMonth);
  st.wDay = static_cast<WORD>(nDay);
  st.wHour = static_cast<WORD>(nHour);
  st.wMinute = static_cast<WORD>(nMinute);
  double dtValue = 0;
  if (!SystemTimeToVariantTime(&st, &dtValue)) return false;
  // A day past the month's end would roll over into the next month.
  SYSTEMTIME back{};
  if (!VariantTimeToSystemTime(dtValue, &back) || back.wDay != st.wDay || back.wMonth != st.wMonth)
    return false;
  *pdtValue = dtValue;
  return true;
}

bool ParseWholeNumber(const std::string& strText, int32_t* pnValue) {
  if (strText.empty() || strText.find_first_not_of("+-0123456789") != std::string::npos)
    return false;
  errno = 0;
  char* pEnd = nullptr;
  const long long nValue = strtoll(strText.c_str(), &pEnd, 10);
  if (errno != 0 || *pEnd != '\0' || nValue < INT32_MIN || nValue > INT32_MAX) return false;
  *pnValue = static_cast<int32_t>(nValue);
  return true;
}

}  // namespace

bool ParseDefinitionValue(const FieldDescriptor& field, const std::string& strText,
                          FieldUpdateDef* pDef, std::string* pError) {
  const auto fnRefuse = [&](const std::string& strWhy) {
    if (pError) *pError = strWhy;
    return false;
  };
  switch (field.nType) {
    case ftBoolean:
      if (strText != "true" && strText != "false")
        return fnRefuse("\"" + strText + "\" is not true or false");
      pDef->bValue = strText == "true" ? 1 : 0;
      return true;
    case ftInteger: {
      int32_t nValue = 0;
      if (!ParseWholeNumber(strText, &nValue))
        return fnRefuse("\"" + strText + "\" is not a whole number");
      pDef->nValue = nValue;
      return true;
    }
    case ftEnumeration: {
      for (int32_t n = 0; n < field.nEnumCount && n < kMaxEnumCount; ++n) {
        if (strText == field.szEnumTexts[n]) {
          pDef->nValue = field.nEnumValues[n];
          return true;
        }
      }
      std::string strChoices;
      for (int32_t n = 0; n < field.nEnumCount && n < kMaxEnumCount; ++n)
        strChoices += std::string(n ? ", " : "") + field.szEnumTexts[n];
      return fnRefuse("\"" + strText + "\" is not one of " + strChoices);
    }
    case ftDate:
    case ftDateTime: {
      double dtValue = 0;
      if (!ParseIsoDate(strText, field.nType == ftDateTime, &dtValue))
        return fnRefuse(
            "\"" + strText + "\" is not a " +
            (field.nType == ftDate ? "date (YYYY-MM-DD)" : "date and time (YYYY-MM-DDTHH:MM)"));
      pDef->nHasDate = 1;
      pDef->dtValue = dtValue;
      return true;
    }
    default:
      return fnRefuse("a text field has no such value");
  }
}

std::string FieldValueText(const FieldEntry& entry, const void* pField) {
  const auto* pBytes = static_cast<const unsigned char*>(pField);
  switch (entry.Desc.nType) {
    case ftString: {
      const char* szText = reinterpret_cast<const char*>(pBytes);
      return std::string(szText, strnlen(szText, entry.Slot.nSize));
    }
    case ftDate:
    case ftDateTime: {
      double dtValue = 0;
      memcpy(&dtValue, pBytes, sizeof dtValue);
      return StoredDateText(dtValue, entry.Desc.nType == ftDateTime);
    }
    case ftBoolean: {
      bool bValue = false;
      if (entry.Slot.nSize == sizeof(int32_t)) {
        int32_t nFlag = 0;
        memcpy(&nFlag, pBytes, sizeof nFlag);
        bValue = nFlag != 0;
      } else {
        bValue = pBytes[0] != 0;
      }
      return bValue ? "Yes" : "No";
    }
    case ftInteger:
    case ftEnumeration: {
      int32_t nValue = 0;
      memcpy(&nValue, pBytes, sizeof nValue);
      const char* szText =
          entry.Desc.nType == ftEnumeration ? EnumText(entry.Desc, nValue) : nullptr;
      return szText ? std::string(szText) : std::to_string(nValue);
    }
    default:
      return std::string();
  }
}
