// Shared checks for the four appliers: the expected catalogue of a kind is
// written out in each kind's test as a table of ExpectedField rows, and these
// helpers compare the applier's catalogue and Apply against it.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "support/FieldDefs.h"
#include "update/Qmcommon.h"

// The image member an entry changes: where it is, how big, which mark.
struct ImageField {
  size_t nOffset;
  size_t nSize;
  int nMark;
  const char* szMember;
};

#define QM_IMAGE_FIELD(ImageType, FieldEnum, Member)                                             \
  ImageField {                                                                                   \
    offsetof(ImageType, Member), sizeof(ImageType::Member), static_cast<int>(FieldEnum::Member), \
        #Member                                                                                  \
  }

struct ExpectedField {
  int32_t nFieldID;
  const char* szName;
  const char* szDesc;
  int32_t nType;
  uint32_t nMaxLength;
  ImageField Field;
};

struct ExpectedEnum {
  int32_t nFieldID;
  std::vector<int32_t> Values;
  std::vector<std::string> Texts;
};

// An image whose every byte is a recognisable filler, with no marks set, so that
// any byte Apply writes outside its field shows up.
template <typename Image>
std::unique_ptr<Image> FilledImage() {
  auto pImage = std::make_unique<Image>();
  memset(static_cast<void*>(pImage.get()), 'Z', sizeof(Image));
  memset(&pImage->Changed, 0, sizeof pImage->Changed);
  memset(&pImage->Truncated, 0, sizeof pImage->Truncated);
  memset(&pImage->Unread, 0, sizeof pImage->Unread);
  return pImage;
}

template <typename Image>
char* TextAt(Image& image, const ImageField& field) {
  return reinterpret_cast<char*>(&image) + field.nOffset;
}

template <typename Image>
void PutText(Image& image, const ImageField& field, const std::string& sText) {
  ASSERT_LT(sText.size(), field.nSize);
  memcpy(TextAt(image, field), sText.c_str(), sText.size() + 1);
}

// Every byte outside the given fields is as before.
template <typename Image>
void ExpectOnlyFieldsDiffer(const Image& before, const Image& after,
                            const std::vector<ImageField>& fields) {
  const auto* a = reinterpret_cast<const unsigned char*>(&before);
  const auto* b = reinterpret_cast<const unsigned char*>(&after);
  for (size_t i = 0; i < sizeof(Image); ++i) {
    bool bInField = false;
    for (const ImageField& field : fields)
      bInField = bInField || (i >= field.nOffset && i < field.nOffset + field.nSize);
    if (!bInField && a[i] != b[i]) {
      ADD_FAILURE() << "byte " << i << " outside the changed fields differs";
      return;
    }
  }
}

// Every byte outside the field and the two mark sets is as before; of the
// Truncated marks only the field's own may have been cleared (a Set makes the
// whole value known). The Changed marks are checked by the callers.
template <typename Image>
void ExpectOnlyFieldDiffers(const Image& before, const Image& after, const ImageField& field) {
  const ImageField changed{offsetof(Image, Changed), sizeof(FieldMarks), -1, "Changed"};
  const ImageField truncated{offsetof(Image, Truncated), sizeof(FieldMarks), -1, "Truncated"};
  ExpectOnlyFieldsDiffer(before, after, {field, changed, truncated});
  for (int n = 0; n < FieldMarks::kCapacity; ++n) {
    if (n == field.nMark && !after.Truncated.Test(n)) continue;
    EXPECT_EQ(before.Truncated.Test(n), after.Truncated.Test(n)) << "Truncated mark " << n;
  }
}

template <typename Image>
void ExpectImagesEqual(const Image& before, const Image& after) {
  EXPECT_EQ(0, memcmp(&before, &after, sizeof(Image))) << "the image changed";
}

// The Changed marks hold exactly nMark (or nothing for nMark < 0).
inline void ExpectMarks(const FieldMarks& marks, int nMark) {
  for (int n = 0; n < FieldMarks::kCapacity; ++n)
    EXPECT_EQ(n == nMark, marks.Test(n)) << "mark " << n;
}

// The catalogue, entry by entry, against the table.
template <typename Applier>
void ExpectCatalogue(const std::vector<ExpectedField>& expected,
                     const std::vector<ExpectedEnum>& enums) {
  ASSERT_EQ(static_cast<int32_t>(expected.size()), Applier::GetFieldCount());
  EXPECT_EQ(nullptr, Applier::GetFieldAt(-1));
  EXPECT_EQ(nullptr, Applier::GetFieldAt(Applier::GetFieldCount()));
  for (size_t i = 0; i < expected.size(); ++i) {
    const ExpectedField& want = expected[i];
    SCOPED_TRACE(std::string("entry ") + std::to_string(i) + " " + want.szName);
    const FieldDescriptor* pField = Applier::GetFieldAt(static_cast<int32_t>(i));
    ASSERT_NE(nullptr, pField);
    EXPECT_EQ(want.nFieldID, pField->nFieldID);
    EXPECT_EQ(want.nType, pField->nType);
    EXPECT_STREQ(want.szName, pField->szName);
    EXPECT_STREQ(want.szDesc, pField->szDesc);
    EXPECT_EQ(want.nMaxLength, pField->nMaxLength);
    EXPECT_EQ(pField, Applier::FindField(want.nFieldID));

    const ExpectedEnum* pEnum = nullptr;
    for (const ExpectedEnum& e : enums)
      if (e.nFieldID == want.nFieldID) pEnum = &e;
    EXPECT_EQ(pEnum != nullptr, want.nType == ftEnumeration);
    if (!pEnum) {
      EXPECT_EQ(0, pField->nEnumCount);
      continue;
    }
    ASSERT_EQ(static_cast<int32_t>(pEnum->Values.size()), pField->nEnumCount);
    for (size_t n = 0; n < pEnum->Values.size(); ++n) {
      EXPECT_EQ(pEnum->Values[n], pField->nEnumValues[n]) << "value " << n;
      EXPECT_EQ(pEnum->Texts[n], pField->szEnumTexts[n]) << "text " << n;
    }
  }
}

// Applies one definition to a copy of start; checks the result, that only
// the field changed, and the Changed marks (the field's, or none when the
// definition leaves the field alone).
template <typename Applier, typename Image>
std::unique_ptr<Image> ApplyAndCheck(const Applier& applier, const Image& start,
                                     const ImageField& field, const FieldUpdateDef& def,
                                     bool bWantResult, bool bWantMarked) {
  auto pAfter = std::make_unique<Image>(start);
  EXPECT_EQ(bWantResult, applier.Apply(pAfter.get(), &def));
  ExpectOnlyFieldDiffers(start, *pAfter, field);
  ExpectMarks(pAfter->Changed, bWantMarked ? field.nMark : -1);
  if (!bWantMarked) ExpectImagesEqual(start, *pAfter);
  return pAfter;
}

// Every entry of the catalogue, with the definitions its type allows: each
// changes exactly its own image field and marks it.
template <typename Applier, typename Image>
void ExpectApplyEveryEntry(const Applier& applier, const std::vector<ExpectedField>& expected) {
  struct TextCase {
    FieldUpdateDef def;
    const char* szWant;
  };
  for (const ExpectedField& entry : expected) {
    SCOPED_TRACE(entry.szName);
    const ImageField& field = entry.Field;
    auto pStart = FilledImage<Image>();
    const int32_t id = entry.nFieldID;
    switch (entry.nType) {
      case ftString: {
        PutText(*pStart, field, "old");
        const TextCase cases[] = {
            {TextDef(id, uoSet, "Wert"), "Wert"},
            {TextDef(id, uoAppend, "+x"), "old+x"},
            {TextDef(id, uoInsert, "X", "", 1), "oXld"},
            {TextDef(id, uoReplace, "L", "l"), "oLd"},
        };
        for (const TextCase& c : cases) {
          auto pAfter = ApplyAndCheck(applier, *pStart, field, c.def, true, true);
          EXPECT_STREQ(c.szWant, TextAt(*pAfter, field)) << "operation " << c.def.nOperation;
        }
        break;
      }
      case ftDate:
      case ftDateTime: {
        FieldUpdateDef def = NewDef(id);
        def.nHasDate = 1;
        def.dtValue = 45123.625;
        auto pAfter = ApplyAndCheck(applier, *pStart, field, def, true, true);
        double dtGot = 0;
        memcpy(&dtGot, TextAt(*pAfter, field), sizeof dtGot);
        EXPECT_EQ(45123.625, dtGot);
        def.nHasDate = 0;
        ApplyAndCheck(applier, *pStart, field, def, true, false);
        break;
      }
      case ftBoolean:
        for (uint8_t bValue : {uint8_t{1}, uint8_t{0}}) {
          FieldUpdateDef def = NewDef(id);
          def.bValue = bValue;
          auto pAfter = ApplyAndCheck(applier, *pStart, field, def, true, true);
          // A 32-bit flag must hold exactly 1 or 0, not just its low byte.
          std::vector<unsigned char> want(field.nSize, 0);
          want[0] = bValue;
          EXPECT_EQ(0, memcmp(want.data(), TextAt(*pAfter, field), field.nSize))
              << "flag " << int{bValue};
        }
        break;
      case ftInteger:
      case ftEnumeration: {
        FieldUpdateDef def = NewDef(id);
        def.nValue = -150;
        auto pAfter = ApplyAndCheck(applier, *pStart, field, def, true, true);
        int32_t nGot = 0;
        ASSERT_EQ(sizeof nGot, field.nSize);
        memcpy(&nGot, TextAt(*pAfter, field), sizeof nGot);
        EXPECT_EQ(-150, nGot);
        break;
      }
      default:
        ADD_FAILURE() << "unexpected type " << entry.nType;
    }
  }
}

// The cases Apply turns down or that leave a text field alone by rule, for
// every String entry: nothing changes and nothing is marked.
template <typename Applier, typename Image>
void ExpectTextRulesOnEveryString(const Applier& applier,
                                  const std::vector<ExpectedField>& expected) {
  for (const ExpectedField& entry : expected) {
    if (entry.nType != ftString) continue;
    SCOPED_TRACE(entry.szName);
    const ImageField& field = entry.Field;
    const int32_t id = entry.nFieldID;
    auto pStart = FilledImage<Image>();
    PutText(*pStart, field, "old");

    // Left alone by rule: true, nothing marked.
    const FieldUpdateDef untouched[] = {
        TextDef(id, uoNone, "new"),         TextDef(id, uoInsert, "X", "", 3),
        TextDef(id, uoInsert, "X", "", -1), TextDef(id, uoReplace, "ll", "l"),
        TextDef(id, uoReplace, "x", ""),    TextDef(id, 9, "new"),
    };
    for (const FieldUpdateDef& def : untouched)
      ApplyAndCheck(applier, *pStart, field, def, true, false);

    // A value that was cut when read: only Set may change it.
    auto pCut = std::make_unique<Image>(*pStart);
    pCut->Truncated.Set(field.nMark);
    const FieldUpdateDef refused[] = {
        TextDef(id, uoAppend, "+x"),
        TextDef(id, uoInsert, "X", "", 0),
        TextDef(id, uoReplace, "L", "l"),
    };
    for (const FieldUpdateDef& def : refused)
      ApplyAndCheck(applier, *pCut, field, def, false, false);
    auto pSet = ApplyAndCheck(applier, *pCut, field, TextDef(id, uoSet, "new"), true, true);
    EXPECT_STREQ("new", TextAt(*pSet, field));
    EXPECT_FALSE(pSet->Truncated.Test(field.nMark));  // the whole value is now known

    // A value Outlook did not give: not even Set may change it.
    auto pUnread = std::make_unique<Image>(*pStart);
    pUnread->Unread.Set(field.nMark);
    for (const FieldUpdateDef& def : refused)
      ApplyAndCheck(applier, *pUnread, field, def, false, false);
    ApplyAndCheck(applier, *pUnread, field, TextDef(id, uoSet, "new"), false, false);
    EXPECT_EQ(arUnread, applier.GetRefusal(pUnread.get(), &refused[0]));
    EXPECT_EQ(arCutText, applier.GetRefusal(pCut.get(), &refused[0]));
    EXPECT_EQ(arNone, applier.GetRefusal(pCut.get(), &untouched[0]));
  }
}

// Ids the catalogue does not hold, and missing arguments: false, nothing changes.
template <typename Applier, typename Image>
void ExpectRefusedIds(const Applier& applier, const std::vector<int32_t>& ids) {
  auto pStart = FilledImage<Image>();
  for (int32_t id : ids) {
    SCOPED_TRACE("id " + std::to_string(id));
    EXPECT_EQ(nullptr, Applier::FindField(id));
    auto pAfter = std::make_unique<Image>(*pStart);
    FieldUpdateDef def = TextDef(id, uoSet, "new");
    def.nHasDate = 1;
    def.dtValue = 40000;
    def.bValue = 1;
    def.nValue = 1;
    EXPECT_FALSE(applier.Apply(pAfter.get(), &def));
    ExpectImagesEqual(*pStart, *pAfter);
  }
  FieldUpdateDef def = NewDef(Applier::GetFieldAt(0)->nFieldID);
  EXPECT_FALSE(applier.Apply(nullptr, &def));
  auto pAfter = std::make_unique<Image>(*pStart);
  EXPECT_FALSE(applier.Apply(pAfter.get(), nullptr));
  ExpectImagesEqual(*pStart, *pAfter);
}

// A number, flag or enumeration definition and the value its slot must hold.
struct ValueCase {
  int32_t nFieldID;
  int32_t nValue;  // the definition's integer value, or its Boolean value
  ImageField Field;
  int32_t nWant;
};

template <typename Applier, typename Image>
void ExpectValueCases(const Applier& applier, const std::vector<ValueCase>& cases) {
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.Field.szMember);
    const FieldDescriptor* pEntry = Applier::FindField(c.nFieldID);
    ASSERT_NE(nullptr, pEntry);
    FieldUpdateDef def = NewDef(c.nFieldID);
    if (pEntry->nType == ftBoolean)
      def.bValue = static_cast<uint8_t>(c.nValue);
    else
      def.nValue = c.nValue;
    auto pStart = FilledImage<Image>();
    auto pAfter = ApplyAndCheck(applier, *pStart, c.Field, def, true, true);
    int32_t nGot = 0;  // little-endian: a one-byte flag lands in the low byte
    ASSERT_LE(c.Field.nSize, sizeof nGot);
    memcpy(&nGot, TextAt(*pAfter, c.Field), c.Field.nSize);
    EXPECT_EQ(c.nWant, nGot);
  }
}
