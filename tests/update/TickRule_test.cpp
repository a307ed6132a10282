// Tick rules: every condition, with and without case, over texts with
// characters beyond ASCII.
#include <gtest/gtest.h>

#include <string>

#include "common/misc/CxUtf8.h"
#include "support/AnsiCodePage.h"
#include "update/CxTickRule.h"

namespace {

struct RuleCase {
  RuleCondition nCondition;
  const char* szText;
  bool bCaseSensitive;
  const char* szValue;
  bool bMatches;
};

const RuleCase kRuleCases[] = {
    {rcContains, "sales", false, "Head of Sales", true},
    {rcContains, "sales", true, "Head of Sales", false},
    {rcContains, "", false, "anything", true},
    {rcContains, "x", false, "", false},
    {rcNotContains, "sales", false, "Head of Sales", false},
    {rcNotContains, "sales", true, "Head of Sales", true},
    {rcNotContains, "x", false, "", true},
    {rcEquals, "acme ltd", false, "ACME Ltd", true},
    {rcEquals, "acme", false, "ACME Ltd", false},
    {rcEquals, "ACME Ltd", true, "ACME Ltd", true},
    {rcEquals, "acme ltd", true, "ACME Ltd", false},
    {rcStartsWith, "+49", false, "+49 30 1234567", true},
    {rcStartsWith, "30", false, "+49 30 1234567", false},
    {rcStartsWith, "longer than the value", false, "long", false},
    {rcEmpty, "ignored", false, "", true},
    {rcEmpty, "", false, " ", false},
    {rcNotEmpty, "", false, " ", true},
    {rcNotEmpty, "", false, "", false},
    // Case folding knows more than ASCII.
    {rcContains, "STR\xC3\x96M", false, "\xC3\x85ngstr\xC3\xB6m", true},
    {rcEquals, "\xC3\xA5ngstr\xC3\xB6m", false, "\xC3\x85NGSTR\xC3\x96M", true},
    {rcEquals, "\xC3\xA5ngstr\xC3\xB6m", true, "\xC3\x85NGSTR\xC3\x96M", false},
    {rcStartsWith, "\xCE\xB1\xCE\xB8", false, "\xCE\x91\xCE\x98\xCE\x97\xCE\x9D\xCE\x91", true},
};

// Whether the system's code page holds this UTF-8 text (Greek has no place in
// Windows-1252, say).
bool AnsiHolds(const char* szUtf8) { return AnsiToUtf8(AnsiText(szUtf8)) == szUtf8; }

TEST(TickRuleTest, EveryConditionOverATableOfTexts) {
  for (const RuleCase& ruleCase : kRuleCases) {
    if (!AnsiHolds(ruleCase.szText) || !AnsiHolds(ruleCase.szValue)) continue;
    const CxTickRule rule{ruleCase.nCondition, AnsiText(ruleCase.szText), ruleCase.bCaseSensitive};
    EXPECT_EQ(ruleCase.bMatches, rule.Matches(AnsiText(ruleCase.szValue)))
        << GetRuleConditionText(ruleCase.nCondition) << " \"" << ruleCase.szText << "\""
        << (ruleCase.bCaseSensitive ? " (case)" : "") << " on \"" << ruleCase.szValue << "\"";
  }
}

TEST(TickRuleTest, ConditionsHaveWordsBothWays) {
  for (int n = 0; n < kRuleConditionCount; ++n) {
    const auto nCondition = static_cast<RuleCondition>(n);
    RuleCondition nParsed = rcContains;
    ASSERT_TRUE(ParseRuleCondition(GetRuleConditionWord(nCondition), &nParsed)) << n;
    EXPECT_EQ(nCondition, nParsed);
    EXPECT_STRNE("", GetRuleConditionText(nCondition));
  }
  RuleCondition nParsed = rcEquals;
  EXPECT_FALSE(ParseRuleCondition("is", &nParsed));
  EXPECT_EQ(rcEquals, nParsed);
  EXPECT_FALSE(CxTickRule::TakesText(rcEmpty));
  EXPECT_TRUE(CxTickRule::TakesText(rcStartsWith));
}

}  // namespace
