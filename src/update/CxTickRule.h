// CxTickRule: a condition on one text of an item (contains, does not contain,
// equals, starts with, is empty, is not empty), case-insensitive unless asked,
// by which the selection pages tick or untick rows and the batch tool picks
// the items to change.
#pragma once

#include <cstdint>
#include <string>

enum RuleCondition : int32_t {
  rcContains,
  rcNotContains,
  rcEquals,
  rcStartsWith,
  rcEmpty,
  rcNotEmpty,
};

constexpr int kRuleConditionCount = 6;

struct CxTickRule {
  RuleCondition nCondition = rcContains;
  std::string strText;  // in the ANSI code page, as the program's texts are
  bool bCaseSensitive = false;

  // Whether a text (in the ANSI code page) meets the condition. Case is folded
  // by Unicode's simple mapping, so "ÅNGSTRÖM" contains "ström".
  bool Matches(const std::string& strValue) const;
  // Whether the condition compares with a text (empty and not-empty do not).
  static bool TakesText(RuleCondition nCondition);
};

// The condition as people read it ("does not contain") and as the batch tool
// writes it ("not-contains"); the condition of such a word, false for none.
const char* GetRuleConditionText(RuleCondition nCondition);
const char* GetRuleConditionWord(RuleCondition nCondition);
bool ParseRuleCondition(const std::string& strWord, RuleCondition* pCondition);
