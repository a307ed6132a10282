#include "update/CxUpdateRun.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "common/misc/CxDebugUtil.h"
#include "common/misc/CxList.h"
#include "common/misc/CxUtf8.h"
#include "common/outlook/OlComm.h"
#include "update/CxRunJournal.h"
#include "update/CxUpdateText.h"

namespace {

const unsigned char* SlotOf(const void* pImage, const FieldSlot& slot) {
  return static_cast<const unsigned char*>(pImage) + slot.nOffset;
}

std::string FieldName(const FieldEntry* pEntry, int32_t nFieldID) {
  return pEntry ? AnsiToUtf8(pEntry->Desc.szName) : "field " + std::to_string(nFieldID);
}

constexpr char kListHasNoSuchField[] = "a distribution list has no such field";

constexpr char kNotSavedInThisState[] =
    "Outlook does not take this field in the item's present state (for example a reminder "
    "time while the reminder is off)";

std::string ValueText(const FieldEntry& entry, const void* pField) {
  return AnsiToUtf8(FieldValueText(entry, pField));
}

}  // namespace

CxUpdateRun::CxUpdateRun(const CxItemKind& kind, CxList* pFieldList)
    : m_Kind(kind), m_pJournal(nullptr), m_Report(false), m_bBegun(false) {
  if (!pFieldList) return;
  for (void* p = pFieldList->GetFirst(); p; p = pFieldList->GetNext())
    m_Defs.push_back(*static_cast<const FieldUpdateDef*>(p));
}

CxUpdateRun::~CxUpdateRun() { End(); }

std::string CxUpdateRun::DescribeDefinitions() const {
  std::string strText;
  for (const FieldUpdateDef& def : m_Defs) {
    const FieldEntry* pEntry = m_Kind.FindEntry(def.nFieldID);
    if (!strText.empty()) strText += '\n';
    strText += FieldName(pEntry, def.nFieldID);
    if (pEntry) strText += ": " + AnsiToUtf8(DescribeDefinition(pEntry->Desc, def));
  }
  return strText;
}

CxItemChanges CxUpdateRun::ItemLine(const void* pImage) const {
  CxItemChanges item;
  if (!pImage) {
    item.strName = std::string("<") + m_Kind.GetKindName() + " not read>";
    return item;
  }
  item.strName = AnsiToUtf8(m_Kind.GetItemName(pImage));
  item.strFolder = AnsiToUtf8(m_Kind.GetFolderName(pImage));
  return item;
}

void CxUpdateRun::ApplyAll(void* pImage, CxItemChanges* pItem) const {
  FieldMarks* pChanged = m_Kind.GetChanged(pImage);
  // Only what this run changes is written.
  memset(pChanged, 0, sizeof *pChanged);
  const size_t nSize = m_Kind.GetImageSize();
  const std::unique_ptr<unsigned char[]> pOriginal(new unsigned char[nSize]);
  memcpy(pOriginal.get(), pImage, nSize);
  const FieldMarks& truncated = m_Kind.GetTruncated(pImage);
  const FieldMarks& truncatedBefore = m_Kind.GetTruncated(pOriginal.get());

  std::vector<const FieldEntry*> entries;
  for (const FieldUpdateDef& def : m_Defs) {
    const FieldEntry* pEntry = m_Kind.FindEntry(def.nFieldID);
    entries.push_back(pEntry);
    CxFieldChange row;
    row.strField = FieldName(pEntry, def.nFieldID);
    const ApplyRefusal nRefusal = m_Kind.GetRefusal(pImage, &def);
    if (pEntry && nRefusal != arNoField)
      row.strOld = ValueText(*pEntry, SlotOf(pImage, pEntry->Slot));
    if (nRefusal == arUnread && m_Kind.IsDistList(pImage)) {
      row.nOutcome = foSkipped;
      row.strReason = kListHasNoSuchField;
      pItem->Fields.push_back(std::move(row));
      continue;
    }
    if (nRefusal != arNone || !pEntry) {
      row.nOutcome = foRefused;
      row.strReason = GetApplyRefusalText(nRefusal == arNone ? arNoField : nRefusal);
      pItem->Fields.push_back(std::move(row));
      continue;
    }
    const FieldSlot& slot = pEntry->Slot;
    const std::string strBefore(reinterpret_cast<const char*>(SlotOf(pImage, slot)), slot.nSize);
    const bool bWasCut = truncated.Test(slot.nMark);
    if (!m_Kind.Apply(pImage, &def)) {
      row.nOutcome = foRefused;
      row.strReason = "the definition cannot be applied to this item";
      pItem->Fields.push_back(std::move(row));
      continue;
    }
    row.strNew = ValueText(*pEntry, SlotOf(pImage, slot));
    // A Set over a text that was cut when read writes the whole text, even
    // when its start reads the same.
    const bool bChanged = memcmp(strBefore.data(), SlotOf(pImage, slot), slot.nSize) != 0 ||
                          (bWasCut && !truncated.Test(slot.nMark));
    row.nOutcome = bChanged ? foChange : foNoChange;
    pItem->Fields.push_back(std::move(row));
  }

  // A field that ends as it began is not written: the item keeps what it has.
  for (size_t n = 0; n < entries.size(); ++n) {
    const FieldEntry* pEntry = entries[n];
    if (!pEntry || !pChanged->Test(pEntry->Slot.nMark)) continue;
    const FieldSlot& slot = pEntry->Slot;
    if (memcmp(SlotOf(pImage, slot), SlotOf(pOriginal.get(), slot), slot.nSize) == 0 &&
        truncated.Test(slot.nMark) == truncatedBefore.Test(slot.nMark))
      pChanged->Clear(slot.nMark);
  }
  // A field the save would leave out in the item's present state is not
  // changed, and the row says so.
  FieldMarks saved{};
  m_Kind.GetSavedFields(pImage, &saved);
  bool bAnyRefused = false;
  for (size_t n = 0; n < entries.size(); ++n) {
    CxFieldChange& row = pItem->Fields[n];
    if (row.nOutcome == foChange && !pChanged->Test(entries[n]->Slot.nMark))
      row.nOutcome = foNoChange;
    if (row.nOutcome == foChange && !saved.Test(entries[n]->Slot.nMark)) {
      row.nOutcome = foRefused;
      row.strReason = kNotSavedInThisState;
    }
    if (row.nOutcome == foRefused) bAnyRefused = true;
  }
  for (const FieldEntry* pEntry : entries) {
    if (pEntry && !saved.Test(pEntry->Slot.nMark)) pChanged->Clear(pEntry->Slot.nMark);
  }
  const bool bAnySkipped =
      std::any_of(pItem->Fields.begin(), pItem->Fields.end(),
                  [](const CxFieldChange& row) { return row.nOutcome == foSkipped; });
  if (pChanged->Any())
    pItem->nOutcome = ioChange;
  else if (bAnyRefused)
    pItem->nOutcome = ioRefused;
  else
    pItem->nOutcome = bAnySkipped ? ioSkipped : ioUnchanged;
}

CxItemChanges CxUpdateRun::PreviewItem(void* pRecord) const {
  const void* pImage = m_Kind.GetRecordImage(pRecord);
  CxItemChanges item = ItemLine(pImage);
  if (!pImage) {
    item.nOutcome = ioRefused;
    item.strReason = GetApplyRefusalText(arNoImage);
    return item;
  }
  const size_t nSize = m_Kind.GetImageSize();
  const std::unique_ptr<unsigned char[]> pCopy(new unsigned char[nSize]);
  memcpy(pCopy.get(), pImage, nSize);
  ApplyAll(pCopy.get(), &item);
  return item;
}

CxChangeReport CxUpdateRun::Preview(CxList* pRecordList) const {
  CxChangeReport report(true);
  if (!pRecordList) return report;
  for (void* pRecord = pRecordList->GetFirst(); pRecord; pRecord = pRecordList->GetNext())
    report.Add(PreviewItem(pRecord));
  return report;
}

bool CxUpdateRun::Begin(CxRunJournal* pJournal, size_t nItems, std::string* pError) {
  m_Report = CxChangeReport(false);
  m_pJournal = nullptr;
  if (pJournal && !pJournal->BeginRun(m_Kind.GetMode(), DescribeDefinitions(), 0, nItems, pError))
    return false;
  m_pJournal = pJournal;
  m_bBegun = true;
  m_BusyStore.Reset();
  if (OlBaseUtil* pAccessor = m_Kind.GetAccessor()) pAccessor->SetSaveWatcher(m_pJournal);
  return true;
}

bool CxUpdateRun::UpdateItem(void* pRecord) {
  void* pImage = m_Kind.GetRecordImage(pRecord);
  CxItemChanges item = ItemLine(pImage);
  if (!pImage) {
    QM_LOG(0, "A selected %s has no item image and was not updated.", m_Kind.GetKindName());
    item.nOutcome = ioNotSaved;
    item.strReason = GetApplyRefusalText(arNoImage);
    m_Report.Add(std::move(item));
    return false;
  }
  // People know the item by the name it had when they ticked it.
  const std::string strName = m_Kind.GetItemName(pImage);
  ApplyAll(pImage, &item);
  for (const CxFieldChange& row : item.Fields) {
    if (row.nOutcome == foRefused)
      QM_LOG(0, "The %s \"%s\": %s was not changed: %s", m_Kind.GetKindName(), strName.c_str(),
             row.strField.c_str(), row.strReason.c_str());
  }
  switch (item.nOutcome) {
    case ioUnchanged:
    case ioSkipped:
      break;
    case ioRefused:
      item.nOutcome = ioNotSaved;
      item.strReason = "no field could be changed";
      break;
    default: {
      const bool bAnyRefused =
          std::any_of(item.Fields.begin(), item.Fields.end(),
                      [](const CxFieldChange& row) { return row.nOutcome == foRefused; });
      OlBaseUtil* pAccessor = m_Kind.GetAccessor();
      if (m_pJournal && !m_pJournal->IsWritable()) {
        item.nOutcome = ioNotSaved;
        item.strReason = "the run journal cannot be written";
        break;
      }
      if (m_BusyStore.GivenUp()) {
        item.nOutcome = ioNotSaved;
        item.strReason = CxBusyStore::kNotTried;
        break;
      }
      if (m_pJournal)
        m_pJournal->SetItem(m_Kind.GetEntryID(pImage), m_Kind.GetStoreID(pImage), strName);
      const bool bSaved = m_Kind.Save(pImage);
      m_BusyStore.NoteSave(!bSaved && pAccessor && pAccessor->WasStoreBusy());
      if (bSaved) {
        item.nOutcome = bAnyRefused ? ioPartial : ioUpdated;
      } else {
        item.nOutcome = ioNotSaved;
        item.strReason = pAccessor ? AnsiToUtf8(pAccessor->GetSaveFailure()) : "";
        if (item.strReason.empty()) item.strReason = "no accessor is open";
        QM_LOG(0, "The %s \"%s\" could not be saved to Outlook: %s", m_Kind.GetKindName(),
               strName.c_str(), item.strReason.c_str());
      }
      break;
    }
  }
  const bool bDone =
      item.nOutcome == ioUpdated || item.nOutcome == ioUnchanged || item.nOutcome == ioSkipped;
  m_Report.Add(std::move(item));
  return bDone;
}

void CxUpdateRun::End() {
  if (!m_bBegun) return;
  m_bBegun = false;
  if (OlBaseUtil* pAccessor = m_Kind.GetAccessor()) pAccessor->SetSaveWatcher(nullptr);
  if (m_pJournal) m_pJournal->EndRun();
  m_pJournal = nullptr;
}
