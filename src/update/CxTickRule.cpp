#include "update/CxTickRule.h"

#include "common/misc/CxUtf8.h"

namespace {

struct ConditionName {
  RuleCondition nCondition;
  const char* szText;
  const char* szWord;
};

constexpr ConditionName kConditions[kRuleConditionCount] = {
    {rcContains, "contains", "contains"}, {rcNotContains, "does not contain", "not-contains"},
    {rcEquals, "equals", "equals"},       {rcStartsWith, "starts with", "starts-with"},
    {rcEmpty, "is empty", "empty"},       {rcNotEmpty, "is not empty", "not-empty"},
};

// The text in UTF-16, its case folded unless it must be kept.
OleString Comparable(const std::string& strText, bool bKeepCase) {
  OleString strOle;
  if (!strText.empty()) {
    const int nUnits = MultiByteToWideChar(CP_ACP, 0, strText.data(),
                                           static_cast<int>(strText.size()), nullptr, 0);
    if (nUnits > 0) {
      strOle.assign(static_cast<size_t>(nUnits), 0);
      MultiByteToWideChar(CP_ACP, 0, strText.data(), static_cast<int>(strText.size()),
                          strOle.data(), nUnits);
    }
  }
  if (!bKeepCase && !strOle.empty())
    CharLowerBuffW(strOle.data(), static_cast<DWORD>(strOle.size()));
  return strOle;
}

}  // namespace

bool CxTickRule::TakesText(RuleCondition nCondition) {
  return nCondition != rcEmpty && nCondition != rcNotEmpty;
}

bool CxTickRule::Matches(const std::string& strValue) const {
  switch (nCondition) {
    case rcEmpty:
      return strValue.empty();
    case rcNotEmpty:
      return !strValue.empty();
    default:
      break;
  }
  const OleString value = Comparable(strValue, bCaseSensitive);
  const OleString text = Comparable(strText, bCaseSensitive);
  switch (nCondition) {
    case rcContains:
      return value.find(text) != OleString::npos;
    case rcNotContains:
      return value.find(text) == OleString::npos;
    case rcEquals:
      return value == text;
    case rcStartsWith:
      return value.compare(0, text.size(), text) == 0;
    default:
      return false;
  }
}

const char* GetRuleConditionText(RuleCondition nCondition) {
  for (const ConditionName& name : kConditions)
    if (name.nCondition == nCondition) return name.szText;
  return "";
}

const char* GetRuleConditionWord(RuleCondition nCondition) {
  for (const ConditionName& name : kConditions)
    if (name.nCondition == nCondition) return name.szWord;
  return "";
}

bool ParseRuleCondition(const std::string& strWord, RuleCondition* pCondition) {
  for (const ConditionName& name : kConditions) {
    if (strWord == name.szWord) {
      *pCondition = name.nCondition;
      return true;
    }
  }
  return false;
}
