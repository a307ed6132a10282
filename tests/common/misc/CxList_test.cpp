#include "common/misc/CxList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Items are the letters of one static text, so a walk can be written and
// compared as a string ("abc").
const char kLetters[] = "abcdefghijklmnopqrstuvwxyz";

void* Item(char c) { return const_cast<char*>(&kLetters[c - 'a']); }

char Letter(void* p) { return *static_cast<char*>(p); }

void AddAll(CxList& list, const std::string& items) {
  for (char c : items) ASSERT_TRUE(list.Add(Item(c)));
}

// The items GetNext returns from the cursor on, until it returns null.
std::string RestOfWalk(CxList& list) {
  std::string seen;
  for (void* p = list.GetNext(); p; p = list.GetNext()) {
    seen += Letter(p);
    if (seen.size() > 100) break;  // a broken list must not hang the test
  }
  return seen;
}

std::string FullWalk(CxList& list) {
  void* p = list.GetFirst();
  if (!p) return "";
  return std::string(1, Letter(p)) + RestOfWalk(list);
}

TEST(CxListTest, EmptyListGivesNothing) {
  CxList list;
  EXPECT_EQ(list.GetCount(), 0u);
  EXPECT_EQ(list.GetFirst(), nullptr);
  EXPECT_EQ(list.GetNext(), nullptr);
  EXPECT_EQ(list.GetNext(), nullptr);
  EXPECT_FALSE(list.Remove(Item('a'), false));
}

TEST(CxListTest, AddNullIsRefusedAndChangesNothing) {
  CxList list;
  AddAll(list, "ab");
  list.GetFirst();
  EXPECT_FALSE(list.Add(nullptr));
  EXPECT_EQ(list.GetCount(), 2u);
  // The cursor stayed on the head.
  EXPECT_EQ(RestOfWalk(list), "b");
}

TEST(CxListTest, AddsKeepOrderAndLeaveCursorOnTheLastItem) {
  CxList list;
  AddAll(list, "abc");
  EXPECT_EQ(list.GetCount(), 3u);
  EXPECT_EQ(list.GetNext(), nullptr);
  EXPECT_EQ(FullWalk(list), "abc");
  // Past the end GetNext keeps returning null until the next GetFirst.
  EXPECT_EQ(list.GetNext(), nullptr);
  EXPECT_EQ(list.GetNext(), nullptr);
  EXPECT_EQ(FullWalk(list), "abc");
}

TEST(CxListTest, AddDuringAWalkMovesTheCursorToTheNewTail) {
  CxList list;
  AddAll(list, "abc");
  list.GetFirst();
  ASSERT_TRUE(list.Add(Item('d')));
  EXPECT_EQ(list.GetNext(), nullptr);
  EXPECT_EQ(FullWalk(list), "abcd");
}

TEST(CxListTest, LongWalkVisitsEveryItemOnce) {
  CxList list;
  const std::string items = kLetters;
  for (int nRound = 0; nRound < 40; ++nRound) AddAll(list, items);
  EXPECT_EQ(list.GetCount(), 40u * items.size());
  std::string seen;
  for (void* p = list.GetFirst(); p; p = list.GetNext()) seen += Letter(p);
  std::string expected;
  for (int nRound = 0; nRound < 40; ++nRound) expected += items;
  EXPECT_EQ(seen, expected);
}

struct RemoveCase {
  const char* szName;
  const char* szItems;
  int nSteps;  // GetNext calls after GetFirst; -1: no walk, the cursor is where Add left it
  char cRemove;
  bool bRemoved;
  const char* szRestAfter;  // what GetNext returns from the cursor the removal left
  const char* szAfter;      // the list from the head afterwards
};

class CxListRemoveTest : public ::testing::TestWithParam<RemoveCase> {};

TEST_P(CxListRemoveTest, UnlinksAndMovesTheCursorToTheFollowingItem) {
  const RemoveCase& c = GetParam();
  CxList list;
  AddAll(list, c.szItems);
  if (c.nSteps >= 0) {
    list.GetFirst();
    for (int i = 0; i < c.nSteps; ++i) list.GetNext();
  }
  EXPECT_EQ(list.Remove(Item(c.cRemove), false), c.bRemoved);
  EXPECT_EQ(RestOfWalk(list), c.szRestAfter);
  EXPECT_EQ(FullWalk(list), c.szAfter);
  EXPECT_EQ(list.GetCount(), strlen(c.szAfter));
  // Positions must still run without gaps: adding after the removal lands
  // at the end and a fresh walk sees it exactly once.
  ASSERT_TRUE(list.Add(Item('z')));
  EXPECT_EQ(FullWalk(list), std::string(c.szAfter) + "z");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CxListRemoveTest,
    ::testing::Values(
        // Removing the item just returned skips the one that moved into its place.
        RemoveCase{"ItemJustReturned", "abcd", 1, 'b', true, "d", "acd"},
        RemoveCase{"HeadUnderCursor", "abcd", 0, 'a', true, "cd", "bcd"},
        RemoveCase{"TailLeavesNoCursor", "abcd", 1, 'd', true, "", "abc"},
        RemoveCase{"TailAfterAdds", "abc", -1, 'c', true, "", "ab"},
        // The cursor jumps back to the item after the removed one.
        RemoveCase{"ItemBeforeCursor", "abcd", 3, 'a', true, "cd", "bcd"},
        RemoveCase{"ItemAfterCursor", "abcde", 0, 'c', true, "e", "abde"},
        RemoveCase{"OnlyItem", "a", 0, 'a', true, "", ""},
        RemoveCase{"FirstOfTwinsOnly", "abac", 0, 'a', true, "ac", "bac"},
        RemoveCase{"SecondTwinStays", "baca", 3, 'a', true, "a", "bca"},
        RemoveCase{"MissingItemChangesNothing", "abc", 0, 'x', false, "bc", "abc"},
        RemoveCase{"MissingFromEmpty", "", 0, 'a', false, "", ""}),
    [](const ::testing::TestParamInfo<RemoveCase>& info) { return std::string(info.param.szName); });

TEST(CxListTest, RemovingTheOnlyItemLeavesAFreshEmptyList) {
  CxList list;
  AddAll(list, "a");
  ASSERT_TRUE(list.Remove(Item('a'), false));
  EXPECT_EQ(list.GetCount(), 0u);
  EXPECT_EQ(list.GetNext(), nullptr);
  EXPECT_EQ(list.GetFirst(), nullptr);
  // A stale head or tail would link the new item to the freed container.
  AddAll(list, "bc");
  EXPECT_EQ(FullWalk(list), "bc");
}

TEST(CxListTest, RemoveAllResetsListAndCursor) {
  CxList list;
  AddAll(list, "abcd");
  list.GetFirst();
  list.GetNext();
  list.RemoveAll(false);
  EXPECT_EQ(list.GetCount(), 0u);
  EXPECT_EQ(list.GetNext(), nullptr);
  EXPECT_EQ(list.GetFirst(), nullptr);
  AddAll(list, "xy");
  EXPECT_EQ(FullWalk(list), "xy");
}

// Ownership: the list releases an item only when asked to. Items the list
// must not free are checked after the list is gone; items it should free are
// left to it, so a missed free shows as a leak in the sanitizer build and a
// wrong one as a double free.
TEST(CxListTest, FreesItemsOnlyWhenAsked) {
  char* pKept = static_cast<char*>(malloc(8));
  char* pFreedByRemove = static_cast<char*>(malloc(8));
  char* pFreedByRemoveAll = static_cast<char*>(malloc(8));
  ASSERT_TRUE(pKept && pFreedByRemove && pFreedByRemoveAll);
  strcpy(pKept, "kept");
  {
    CxList list;
    ASSERT_TRUE(list.Add(pFreedByRemove));
    ASSERT_TRUE(list.Add(pKept));
    EXPECT_TRUE(list.Remove(pFreedByRemove, true));
    EXPECT_TRUE(list.Remove(pKept, false));
    ASSERT_TRUE(list.Add(pKept));
  }  // destruction releases the containers only
  {
    CxList list;
    ASSERT_TRUE(list.Add(pFreedByRemoveAll));
    list.RemoveAll(true);
    ASSERT_TRUE(list.Add(pKept));
    list.RemoveAll(false);
  }
  EXPECT_STREQ(pKept, "kept");
  free(pKept);
}

}  // namespace
