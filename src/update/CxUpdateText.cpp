#include "update/CxUpdateText.h"

#include <cstdint>
#include <cstring>

#include "common/misc/CxDateTime.h"

namespace {

template <size_t N>
std::string DefText(const char (&szText)[N]) {
  return std::string(szText, strnlen(szText, N));
}

std::string DateText(double dtValue, bool bWithTime) {
  CxDateTime date(&dtValue);
  char szText[32] = {};
  if (bWithTime)
    date.FormatDateTime(szText, sizeof szText);
  else
    date.FormatDate(szText, sizeof szText);
  return szText;
}

// A stored date; nothing at all for 0 and for Outlook's "no date" (whose date
// part formats as empty).
std::string StoredDateText(double dtValue, bool bWithTime) {
  if (dtValue > -0.00001 && dtValue < 0.00001) return std::string();
  const std::string strText = DateText(dtValue, bWithTime);
  return strText.empty() || strText[0] == ' ' ? std::string() : strText;
}

std::string SetValueText(const std::string& strValue) { return "Set value to \"" + strValue + "\""; }

const char* EnumText(const FieldDescriptor& field, int32_t nValue) {
  const int32_t nCount = field.nEnumCount < 0            ? 0
                         : field.nEnumCount > kMaxEnumCount ? kMaxEnumCount
                                                          : field.nEnumCount;
  for (int32_t nIndex = 0; nIndex < nCount; ++nIndex)
    if (field.nEnumValues[nIndex] == nValue) return field.szEnumTexts[nIndex];
  return nullptr;
}

}  // namespace

std::string DescribeDefinition(const FieldDescriptor& field, const FieldUpdateDef& def) {
  const std::string strValue = DefText(def.szValue);
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
          return "Replace \"" + DefText(def.szSearch) + "\" with \"" + strValue + "\"";
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
      const char* szText = entry.Desc.nType == ftEnumeration ? EnumText(entry.Desc, nValue) : nullptr;
      return szText ? std::string(szText) : std::to_string(nValue);
    }
    default:
      return std::string();
  }
}
