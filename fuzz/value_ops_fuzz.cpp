// The value operations of field updates on arbitrary definitions: set,
// append, insert and replace texts of any bytes in fields of any size, and
// every kind's applier on item images of arbitrary bytes. Texts are compared
// with what the operation means, done the plain way; an applier must change
// nothing but its field and its marks.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "common/misc/CxText.h"
#include "update/CxItemKind.h"
#include "update/Qmcommon.h"

namespace {

constexpr int32_t kOperations[] = {uoNone, uoSet, uoAppend, uoInsert, uoReplace, 7};
constexpr int32_t kModes[] = {1, 2, 4, 8};
// Steps of the plain replacement before it gives up on a text that keeps changing.
constexpr int kMaxReplaceSteps = 20000;

// A definition field of up to its whole size: one of all 256 bytes has no zero.
template <size_t N>
void FillField(FuzzedDataProvider& input, char (&szField)[N]) {
  const std::string text = input.ConsumeBytesAsString(input.ConsumeIntegralInRange<size_t>(0, N));
  memset(szField, 0, N);
  memcpy(szField, text.data(), text.size());
}

FieldUpdateDef MakeDefinition(FuzzedDataProvider& input) {
  FieldUpdateDef def{};
  def.nOperation = input.PickValueInArray(kOperations);
  def.nPosition = input.ConsumeBool() ? input.ConsumeIntegralInRange<int32_t>(-2, 64)
                                      : input.ConsumeIntegral<int32_t>();
  def.nHasDate = input.ConsumeIntegralInRange<int32_t>(0, 2);
  def.dtValue = input.ConsumeFloatingPoint<double>();
  def.bValue = input.ConsumeIntegral<uint8_t>();
  def.nValue = input.ConsumeIntegral<int32_t>();
  FillField(input, def.szSearch);
  FillField(input, def.szValue);
  return def;
}

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The text an operation makes, uncut; nullopt when it leaves the text alone
// or when the plain replacement gave up.
std::optional<std::string> Expected(const std::string& text, const FieldUpdateDef& def,
                                    size_t nLimit) {
  const std::string value = FieldString(def.szValue);
  switch (def.nOperation) {
    case uoSet:
      return value;
    case uoAppend:
      return text + value;
    case uoInsert: {
      int32_t nChar = -1;
      for (size_t i = 0; i < text.size(); ++i)
        if (!IsContinuation(text[i]) && ++nChar == def.nPosition)
          return text.substr(0, i) + value + text.substr(i);
      return std::nullopt;
    }
    case uoReplace: {
      const std::string search = FieldString(def.szSearch);
      if (search.empty() || value.find(search) != std::string::npos) return std::nullopt;
      // Each step changes the length by the same amount, so a text that ends
      // within the limit never went past it.
      std::string result = text;
      for (int nStep = 0; nStep < kMaxReplaceSteps && result.size() <= nLimit; ++nStep) {
        const size_t nAt = result.find(search);
        if (nAt == std::string::npos) return result;
        result.replace(nAt, search.size(), value);
      }
      return std::nullopt;
    }
  }
  return std::nullopt;
}

void CheckUpdateString(FuzzedDataProvider& input, const FieldUpdateDef& def) {
  const uint32_t nMaxLength = input.ConsumeIntegralInRange<uint32_t>(1, 600);
  const std::string text = input.ConsumeRandomLengthString(nMaxLength - 1);
  std::vector<char> field(nMaxLength, 'Z');  // exactly the field, so ASan sees any overrun
  memcpy(field.data(), text.data(), text.size());
  field[text.size()] = '\0';
  const std::string before(field.data());

  bool bApplied = true;
  FUZZ_CHECK(CxQMCommonUtil::UpdateString(field.data(), nMaxLength, &def, &bApplied));
  FUZZ_CHECK(strnlen(field.data(), nMaxLength) < nMaxLength);
  const std::string after(field.data());

  const bool bActs = def.nOperation >= uoSet && def.nOperation <= uoReplace;
  const std::optional<std::string> expected = Expected(before, def, nMaxLength - 1);
  if (!bActs || (def.nOperation == uoInsert && !expected)) {
    FUZZ_CHECK(!bApplied && after == before);
    return;
  }
  if (def.nOperation == uoReplace) {
    const std::string search = FieldString(def.szSearch);
    if (search.empty() || FieldString(def.szValue).find(search) != std::string::npos) {
      FUZZ_CHECK(!bApplied && after == before);
      return;
    }
  }
  FUZZ_CHECK(bApplied);
  if (!expected) return;
  std::vector<char> cut(nMaxLength);
  CopyText(cut.data(), nMaxLength, expected->c_str());
  FUZZ_CHECK(after == cut.data());
}

void CheckOtherValues(const FieldUpdateDef& def) {
  double dtDate = -1;
  bool bApplied = false;
  FUZZ_CHECK(CxQMCommonUtil::UpdateDate(&dtDate, &def, &bApplied));
  FUZZ_CHECK(bApplied == (def.nHasDate == 1));
  if (bApplied) FUZZ_CHECK(memcmp(&dtDate, &def.dtValue, sizeof dtDate) == 0);
  int32_t nNumber = 0;
  FUZZ_CHECK(CxQMCommonUtil::UpdateInteger(&nNumber, &def) && nNumber == def.nValue);
  bool bFlag = false;
  int32_t nFlag = 7;
  FUZZ_CHECK(CxQMCommonUtil::UpdateBoolean(&bFlag, &def) && bFlag == (def.bValue != 0));
  FUZZ_CHECK(CxQMCommonUtil::UpdateBoolean(&nFlag, &def) && nFlag == (def.bValue != 0 ? 1 : 0));
}

// A kind's applier on an image of arbitrary bytes changes only the
// definition's field and its Changed and Truncated marks, and a refused
// definition changes nothing.
void CheckApplier(FuzzedDataProvider& input, FieldUpdateDef def) {
  static std::unique_ptr<CxItemKind> kinds[std::size(kModes)];
  const size_t nKind = input.ConsumeIntegralInRange<size_t>(0, std::size(kModes) - 1);
  if (!kinds[nKind]) kinds[nKind] = MakeItemKind(kModes[nKind], nullptr, nullptr, nullptr, nullptr);
  const CxItemKind& kind = *kinds[nKind];

  const int32_t nIndex = input.ConsumeIntegralInRange<int32_t>(0, kind.GetEntryCount());
  const FieldEntry* pEntry = kind.GetEntryAt(nIndex);  // none past the end: any field ID
  def.nFieldID = pEntry ? pEntry->Desc.nFieldID : input.ConsumeIntegral<int32_t>();

  std::vector<unsigned char> image = input.ConsumeBytes<unsigned char>(kind.GetImageSize());
  image.resize(kind.GetImageSize());
  const std::vector<unsigned char> before = image;
  const ApplyRefusal nRefusal = kind.GetRefusal(image.data(), &def);
  const bool bApplied = kind.Apply(image.data(), &def);
  if (nRefusal != arNone) {
    FUZZ_CHECK(!bApplied && image == before);
    return;
  }
  FUZZ_CHECK(pEntry != nullptr && bApplied);
  const auto offsetOf = [&](const void* p) {
    return static_cast<size_t>(static_cast<const unsigned char*>(p) - image.data());
  };
  const size_t nChanged = offsetOf(kind.GetChanged(image.data()));
  const size_t nTruncated = offsetOf(&kind.GetTruncated(image.data()));
  const auto inside = [](size_t i, size_t nBegin, size_t nSize) {
    return i >= nBegin && i < nBegin + nSize;
  };
  for (size_t i = 0; i < image.size(); ++i) {
    if (inside(i, pEntry->Slot.nOffset, pEntry->Slot.nSize) ||
        inside(i, nChanged, sizeof(FieldMarks)) || inside(i, nTruncated, sizeof(FieldMarks)))
      continue;
    FUZZ_CHECK(image[i] == before[i]);
  }
  if (pEntry->Desc.nType == ftString) {
    // Still a text; a Set's new text is within what the catalogue allows.
    const auto* szText = reinterpret_cast<const char*>(image.data() + pEntry->Slot.nOffset);
    const size_t nLength = strnlen(szText, pEntry->Slot.nSize);
    FUZZ_CHECK(nLength < pEntry->Slot.nSize);
    if (def.nOperation == uoSet) FUZZ_CHECK(nLength < pEntry->Desc.nMaxLength);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const FieldUpdateDef def = MakeDefinition(input);
  CheckUpdateString(input, def);
  CheckOtherValues(def);
  CheckApplier(input, def);
  return 0;
}
