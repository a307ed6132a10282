#include "common/records/CommNoteMgr.h"

#include <cstdio>
#include <cstring>

#include "common/misc/WinUtil.h"

namespace {

const DisplayField kDisplayFields[] = {
    {ndkColor, "Color"},
    {ndkPrivate, "Private"},
    {ndkSubject, "Subject"},
    {ndkNote, "Note"},
    {ndkCategory, "Category"},
    {ndkCreationTime, "Creation Time"},
    {ndkLastModificationTime, "Last Modification Time"},
    {ndkSource, "Source"},
    {ndkStatus, "Status"},
    {ndkIdInteger, "ID(Integer)"},
    {ndkIdString, "ID(String)"},
};
static_assert(sizeof(kDisplayFields) / sizeof(kDisplayFields[0]) == CommNoteMgr::kDisplayFieldCount);

// A note record keeps one byte less of its texts than its fields hold.
constexpr size_t kSubjectMax = 254;
constexpr size_t kBodyMax = 20478;
constexpr size_t kCategoriesMax = 254;

void PutColor(char* szBuf, int nSize, int32_t nColor) {
  char szText[16];
  snprintf(szText, sizeof(szText), "#%06x", static_cast<unsigned>(nColor));
  PutText(szBuf, nSize, szText);
}

// The date and time text; the empty text for no date or one that cannot be converted.
void PutTimestamp(char* szBuf, int nSize, DATE dtValue) {
  char szText[64] = "";
  if (IsRealDate(dtValue)) VariantTimeToString(dtValue, szText);
  PutText(szBuf, nSize, szText);
}

}  // namespace

bool MakeRecord(const NoteImage* pImage, NoteRecord* pRecord) {
  if (!pImage || !pRecord) return false;
  memset(pRecord, 0, sizeof(*pRecord));
  PutFieldText(pRecord->Subject, kSubjectMax + 1, pImage->Subject);
  PutFieldText(pRecord->Body, kBodyMax + 1, pImage->Body);
  PutFieldText(pRecord->Categories, kCategoriesMax + 1, pImage->Categories);
  pRecord->Color = pImage->Color;
  pRecord->CreationTime = IsRealDate(pImage->CreationTime) ? pImage->CreationTime : 0;
  pRecord->LastModificationTime = IsRealDate(pImage->LastModificationTime) ? pImage->LastModificationTime : 0;
  pRecord->SourceType = kSourceTypeOutlook;
  return true;
}

bool CommNoteMgr::FindDisplayField(int32_t nKey, DisplayField* pField) {
  return FindTableField(kDisplayFields, nKey, pField);
}

bool CommNoteMgr::DisplayFieldAt(int nIndex, DisplayField* pField) {
  return TableFieldAt(kDisplayFields, nIndex, pField);
}

bool CommNoteMgr::DisplayText(const NoteRecord* pRecord, const DisplayField* pField, char* szBuf, int nSize) {
  if (!pRecord || !pField || !BeginDisplayText(szBuf, nSize)) return false;
  switch (pField->nKey) {
    case ndkColor:
      PutColor(szBuf, nSize, pRecord->Color);
      break;
    case ndkPrivate:
      PutYesNo(szBuf, nSize, pRecord->Private != 0);
      break;
    case ndkSubject:
      PutFieldText(szBuf, nSize, pRecord->Subject);
      break;
    case ndkNote:
      PutFieldText(szBuf, nSize, pRecord->Body);
      break;
    case ndkCategory:
      PutFieldText(szBuf, nSize, pRecord->Categories);
      break;
    case ndkCreationTime:
      PutTimestamp(szBuf, nSize, pRecord->CreationTime);
      break;
    case ndkLastModificationTime:
      PutTimestamp(szBuf, nSize, pRecord->LastModificationTime);
      break;
    default:  // source, status, the IDs and unknown keys: no text
      break;
  }
  return true;
}
