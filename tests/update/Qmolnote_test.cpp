#include "update/Qmolnote.h"

#include <gtest/gtest.h>

#include <vector>

#include "update/support/ApplierCheck.h"

namespace {

#define FIELD(Member) QM_IMAGE_FIELD(NoteImage, NoteField, Member)

// The note catalogue in order: id, display name, description, type, maximum
// length and the image field the entry changes.
// clang-format off
const std::vector<ExpectedField> kNoteFields = {
    {3, "Color", "Color", ftEnumeration, 4, FIELD(Color)},
    {5, "Note", "Note", ftString, 20480, FIELD(Body)},
};
// clang-format on

const std::vector<ExpectedEnum> kNoteEnums = {
    {3, {0, 1, 2, 4, 3}, {"Blue", "Green", "Pink", "White", "Yellow"}},
};

class NoteApplier : public testing::Test {
 protected:
  CxQMOLNoteUtil m_Applier;
};

TEST_F(NoteApplier, CatalogueMatchesTheFieldTable) {
  ExpectCatalogue<CxQMOLNoteUtil>(kNoteFields, kNoteEnums);
}

TEST_F(NoteApplier, EveryEntryChangesOnlyItsOwnField) {
  ExpectApplyEveryEntry<CxQMOLNoteUtil, NoteImage>(m_Applier, kNoteFields);
}

TEST_F(NoteApplier, TextRulesHoldOnEveryTextField) {
  ExpectTextRulesOnEveryString<CxQMOLNoteUtil, NoteImage>(m_Applier, kNoteFields);
}

TEST_F(NoteApplier, IdsOtherThanColorAndNoteAreRefused) {
  ExpectRefusedIds<CxQMOLNoteUtil, NoteImage>(m_Applier, {0, 1, 2, 4, 6, 28, -1});
}

TEST_F(NoteApplier, ColorStoresTheChosenValue) {
  const std::vector<ValueCase> cases = {
      {3, 3, FIELD(Color), 3},  // "Yellow"
      {3, 4, FIELD(Color), 4},  // "White"
      {3, 0, FIELD(Color), 0},  // "Blue"
  };
  ExpectValueCases<CxQMOLNoteUtil, NoteImage>(m_Applier, cases);
}

TEST_F(NoteApplier, ReplacingTheWholeBodyEmptiesIt) {
  auto pStart = FilledImage<NoteImage>();
  PutText(*pStart, FIELD(Body), "buy milk");
  auto pAfter = ApplyAndCheck(m_Applier, *pStart, FIELD(Body),
                              TextDef(5, uoReplace, "", "buy milk"), true, true);
  EXPECT_STREQ("", pAfter->Body);
}

#undef FIELD

}  // namespace
