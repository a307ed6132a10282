#include "update/Qmcommon.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/misc/CxText.h"
#include "update/CxProfileFile.h"

namespace {

struct TypeName {
  int32_t nType;
  const char* szName;
};

constexpr TypeName kTypeNames[] = {
    {ftString, "String"},   {ftDate, "Date"},       {ftDateTime, "Date & Time"},
    {ftBoolean, "Boolean"}, {ftInteger, "Integer"}, {ftEnumeration, "Enumeration"},
};

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte offset at which the character with zero-based index nPos starts, or npos
// when the text has nPos characters or fewer. Positions count characters, not
// bytes, so an insertion never lands inside a multi-byte character.
size_t CharStart(const std::string& sText, int32_t nPos) {
  if (nPos < 0) return std::string::npos;
  int32_t nChar = -1;
  for (size_t i = 0; i < sText.size(); ++i)
    if (!IsContinuationByte(sText[i]) && ++nChar == nPos) return i;
  return std::string::npos;
}

// Replaces the first occurrence of sSearch, searching from the beginning, until
// none is left. Every occurrence the text already holds is replaced. A
// replacement can also form a new occurrence with the characters around it,
// and such chains can grow the text without end (or exponentially); they are
// followed only while the text still fits nLimit bytes, since beyond that the
// stored value is cut anyway.
void ReplaceAll(std::string& sText, const std::string& sSearch, const std::string& sValue,
                size_t nLimit) {
  const size_t nBack = sSearch.size() - 1;
  // sText[nOriginal..] is still untouched input; an occurrence starting before
  // it was formed by an earlier replacement.
  size_t nOriginal = 0;
  // No occurrence starts before the first one found; after replacing it, a new
  // one must overlap the replacement, so it cannot start more than nBack bytes
  // before it. Resuming there finds exactly what a search from the beginning
  // would.
  size_t nFrom = 0;
  for (;;) {
    const size_t nAt = sText.find(sSearch, nFrom);
    if (nAt == std::string::npos) break;
    if (nAt < nOriginal && sText.size() > nLimit) break;
    sText.replace(nAt, sSearch.size(), sValue);
    if (nAt + sSearch.size() <= nOriginal)
      nOriginal = nOriginal - sSearch.size() + sValue.size();
    else
      nOriginal = nAt + sValue.size();
    nFrom = nAt >= nBack ? nAt - nBack : 0;
  }
}

// Text operations that need the whole current value to be right.
bool NeedsWholeText(int32_t nOperation) {
  return nOperation == uoAppend || nOperation == uoInsert || nOperation == uoReplace;
}

}  // namespace

const char* GetApplyRefusalText(ApplyRefusal nRefusal) {
  switch (nRefusal) {
    case arNone:
      return "";
    case arNoImage:
      return "the item was not read";
    case arNoField:
      return "this kind of item has no such field";
    case arUnread:
      return "the item has no such field (Outlook did not give it when the item was read, "
             "e.g. a distribution list among contacts)";
    case arCutText:
      return "the stored text was cut when it was read, and this operation would shorten it";
  }
  return "";
}

const char* GetFieldTypeName(int32_t nType) {
  for (const TypeName& entry : kTypeNames)
    if (entry.nType == nType) return entry.szName;
  return "";
}

// ---- CxFieldCatalogue ------------------------------------------------------------

const FieldDescriptor* CxFieldCatalogue::GetFieldAt(int32_t nIndex) const {
  if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
  return &m_pEntries[nIndex].Desc;
}

int32_t CxFieldCatalogue::FindIndex(int32_t nFieldID) const {
  for (int32_t i = 0; i < m_nCount; ++i)
    if (m_pEntries[i].Desc.nFieldID == nFieldID) return i;
  return -1;
}

const FieldEntry* CxFieldCatalogue::FindEntry(int32_t nFieldID) const {
  const int32_t nIndex = FindIndex(nFieldID);
  return nIndex < 0 ? nullptr : &m_pEntries[nIndex];
}

const FieldDescriptor* CxFieldCatalogue::FindField(int32_t nFieldID) const {
  const FieldEntry* pEntry = FindEntry(nFieldID);
  return pEntry ? &pEntry->Desc : nullptr;
}

void CxFieldCatalogue::WriteEnumeration(const FieldEnumBinding& binding) const {
  const int32_t nIndex = FindIndex(binding.nFieldID);
  if (nIndex < 0) return;
  const FieldEnumeration& values = *binding.pEnum;
  FieldDescriptor& desc = m_pEntries[nIndex].Desc;
  desc.nEnumCount = values.nCount;
  for (int32_t n = 0; n < kMaxEnumCount; ++n) {
    const bool bUsed = n < values.nCount;
    desc.nEnumValues[n] = bUsed ? values.nValues[n] : 0;
    CopyText(desc.szEnumTexts[n], sizeof desc.szEnumTexts[n], bUsed ? values.szTexts[n] : "");
  }
}

// ---- Profiles ------------------------------------------------------------------

CxUpdateProfile::~CxUpdateProfile() { m_FieldList.RemoveAll(true); }

CxUpdateProfileManager::CxUpdateProfileManager() : m_szPath{} {}

CxUpdateProfileManager::~CxUpdateProfileManager() {
  for (void* p = m_ProfileList.GetFirst(); p; p = m_ProfileList.GetNext())
    delete static_cast<CxUpdateProfile*>(p);
  m_ProfileList.RemoveAll(false);
}

bool CxUpdateProfileManager::SaveProfile(const char* szPath, const CxItemKind& kind,
                                         CxList* pFieldList, std::string* pError) {
  std::vector<FieldUpdateDef> defs;
  if (pFieldList) {
    for (void* p = pFieldList->GetFirst(); p; p = pFieldList->GetNext())
      defs.push_back(*static_cast<const FieldUpdateDef*>(p));
  }
  if (!szPath || !WriteProfileFile(szPath, kind, defs, pError)) return false;
  CopyText(m_szPath, sizeof m_szPath, szPath);
  return true;
}

bool CxUpdateProfileManager::LoadProfile(const char* szPath, const CxItemKind& kind,
                                         CxList* pFieldList, std::string* pError) {
  std::vector<FieldUpdateDef> defs;
  if (!szPath || !pFieldList || !ReadProfileFile(szPath, kind, &defs, pError)) return false;
  std::vector<FieldUpdateDef*> copies;
  for (const FieldUpdateDef& def : defs) {
    auto* pCopy = static_cast<FieldUpdateDef*>(malloc(sizeof(FieldUpdateDef)));
    if (!pCopy) {
      for (FieldUpdateDef* p : copies) free(p);
      if (pError) *pError = "out of memory";
      return false;
    }
    *pCopy = def;
    copies.push_back(pCopy);
  }
  pFieldList->RemoveAll(true);
  for (FieldUpdateDef* p : copies) pFieldList->Add(p);
  CopyText(m_szPath, sizeof m_szPath, szPath);
  return true;
}

// ---- CxQMCommonUtil -------------------------------------------------------------

CxQMCommonUtil::CxQMCommonUtil() : m_pProfileManager(std::make_unique<CxUpdateProfileManager>()) {}

CxQMCommonUtil::~CxQMCommonUtil() = default;

bool CxQMCommonUtil::UpdateString(char* szBuffer, uint32_t nMaxLength, const FieldUpdateDef* pDef,
                                  bool* pbApplied) {
  if (pbApplied) *pbApplied = false;
  if (!szBuffer || !pDef || nMaxLength == 0) return false;

  const std::string sValue = FieldString(pDef->szValue);
  std::string sText(szBuffer);
  switch (pDef->nOperation) {
    case uoSet:
      sText = sValue;
      break;
    case uoAppend:
      sText += sValue;
      break;
    case uoInsert: {
      const size_t nAt = CharStart(sText, pDef->nPosition);
      if (nAt == std::string::npos) return true;  // at or past the end: unchanged
      sText.insert(nAt, sValue);
      break;
    }
    case uoReplace: {
      const std::string sSearch = FieldString(pDef->szSearch);
      // A replacement that contains the search text would never run out of
      // occurrences; such a definition, like an empty search, does nothing.
      if (sSearch.empty() || sValue.find(sSearch) != std::string::npos) return true;
      ReplaceAll(sText, sSearch, sValue, nMaxLength - 1);
      break;
    }
    default:
      return true;
  }
  CopyText(szBuffer, nMaxLength, sText.c_str());
  if (pbApplied) *pbApplied = true;
  return true;
}

bool CxQMCommonUtil::UpdateDate(double* pdtSlot, const FieldUpdateDef* pDef, bool* pbApplied) {
  if (pbApplied) *pbApplied = false;
  if (!pdtSlot || !pDef) return false;
  if (pDef->nHasDate != 1) return true;
  *pdtSlot = pDef->dtValue;
  if (pbApplied) *pbApplied = true;
  return true;
}

bool CxQMCommonUtil::UpdateInteger(int32_t* pnSlot, const FieldUpdateDef* pDef) {
  if (!pnSlot || !pDef) return false;
  *pnSlot = pDef->nValue;
  return true;
}

bool CxQMCommonUtil::UpdateBoolean(bool* pbFlag, const FieldUpdateDef* pDef) {
  if (!pbFlag || !pDef) return false;
  *pbFlag = pDef->bValue != 0;
  return true;
}

bool CxQMCommonUtil::UpdateBoolean(int32_t* pnFlag, const FieldUpdateDef* pDef) {
  if (!pnFlag || !pDef) return false;
  *pnFlag = pDef->bValue != 0 ? 1 : 0;
  return true;
}

ApplyRefusal CxQMCommonUtil::RefusalOnFields(const CxFieldCatalogue& catalogue,
                                             const unsigned char* pImage, size_t nImageSize,
                                             const FieldMarks& truncated, const FieldMarks& unread,
                                             const FieldUpdateDef* pDef) {
  if (!pImage || !pDef) return arNoImage;
  const FieldEntry* pEntry = catalogue.FindEntry(pDef->nFieldID);
  if (!pEntry) return arNoField;
  const FieldSlot& slot = pEntry->Slot;
  if (slot.nOffset > nImageSize || slot.nSize > nImageSize - slot.nOffset) return arNoField;
  // A value Outlook did not give is unknown: changing it could overwrite what
  // the item holds, and an item without the property would refuse the put.
  if (unread.Test(slot.nMark)) return arUnread;
  if (pEntry->Desc.nType == ftString) {
    const char* szText = reinterpret_cast<const char*>(pImage + slot.nOffset);
    const size_t nLength = strnlen(szText, slot.nSize);
    if (nLength == slot.nSize) return arNoField;  // no terminating zero: not a text
    // Appending, inserting or replacing in a text that was cut when it was read,
    // or that is already longer than the catalogue lets it be, would store a
    // shortened value and lose what Outlook holds. Set replaces the whole text.
    const bool bPartial = truncated.Test(slot.nMark) || nLength >= pEntry->Desc.nMaxLength;
    if (bPartial && NeedsWholeText(pDef->nOperation)) return arCutText;
  }
  return arNone;
}

bool CxQMCommonUtil::ApplyToFields(const CxFieldCatalogue& catalogue, unsigned char* pImage,
                                   size_t nImageSize, FieldMarks* pChanged, FieldMarks* pTruncated,
                                   FieldMarks* pUnread, const FieldUpdateDef* pDef) {
  if (!pImage || !pDef || !pTruncated || !pUnread) return false;
  if (RefusalOnFields(catalogue, pImage, nImageSize, *pTruncated, *pUnread, pDef) != arNone)
    return false;
  const FieldEntry* pEntry = catalogue.FindEntry(pDef->nFieldID);
  const FieldSlot& slot = pEntry->Slot;
  unsigned char* pField = pImage + slot.nOffset;

  bool bApplied = true;
  bool bResult = false;
  switch (pEntry->Desc.nType) {
    case ftString: {
      bResult =
          UpdateString(reinterpret_cast<char*>(pField), pEntry->Desc.nMaxLength, pDef, &bApplied);
      // A Set stores the whole new value, so the field no longer holds a cut
      // copy of Outlook's text and may be written back.
      if (bResult && bApplied && pDef->nOperation == uoSet) pTruncated->Clear(slot.nMark);
      break;
    }
    case ftDate:
    case ftDateTime:
      bResult = UpdateDate(reinterpret_cast<double*>(pField), pDef, &bApplied);
      break;
    case ftBoolean:
      bResult = slot.nSize == sizeof(int32_t)
                    ? UpdateBoolean(reinterpret_cast<int32_t*>(pField), pDef)
                    : UpdateBoolean(reinterpret_cast<bool*>(pField), pDef);
      break;
    case ftInteger:
    case ftEnumeration:
      bResult = UpdateInteger(reinterpret_cast<int32_t*>(pField), pDef);
      break;
    default:
      return false;
  }
  if (bResult && bApplied && pChanged) pChanged->Set(slot.nMark);
  return bResult;
}
