// CxUpdateRun: one run of the definitions over the ticked items, item by
// item, with the report of what happened to each; and its preview, which
// applies the same definitions with the same appliers to copies of the
// images and writes nothing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "update/CxBusyStore.h"
#include "update/CxChangeReport.h"
#include "update/CxItemKind.h"
#include "update/Qmcommon.h"

class CxList;
class CxRunJournal;

class CxUpdateRun {
 public:
  // The definitions (FieldUpdateDef) are taken from the list, in list order.
  CxUpdateRun(const CxItemKind& kind, CxList* pFieldList);
  ~CxUpdateRun();
  CxUpdateRun(const CxUpdateRun&) = delete;
  CxUpdateRun& operator=(const CxUpdateRun&) = delete;

  // What the run would do to one display record; its image stays as it is.
  CxItemChanges PreviewItem(void* pRecord) const;
  // The preview of every record of the list (of display records).
  CxChangeReport Preview(CxList* pRecordList) const;

  // The definitions in words, one line each ("Job Title: Set value to ...").
  std::string DescribeDefinitions() const;

  // From here on every save is journaled (pJournal may be none: then nothing
  // is). False, with the reason, when the journal cannot take the run of
  // nItems items: then the run must not start.
  bool Begin(CxRunJournal* pJournal, size_t nItems, std::string* pError);
  // Applies every definition to the record's image and saves the item when a
  // value changed; adds the item's line to the report. True when the item is
  // as the definitions want it (updated, unchanged, or a list skipped). Once a
  // few saves in a row found the store locked by another program, the items
  // left are not tried and reported as not saved, with that reason.
  bool UpdateItem(void* pRecord);
  // Ends the run and its journal entry.
  void End();
  const CxChangeReport& GetReport() const { return m_Report; }

 private:
  // Applies the definitions to pImage in place, filling the field rows, and
  // leaves exactly the fields to write marked as changed.
  void ApplyAll(void* pImage, CxItemChanges* pItem) const;
  CxItemChanges ItemLine(const void* pImage) const;

  const CxItemKind& m_Kind;
  std::vector<FieldUpdateDef> m_Defs;
  CxRunJournal* m_pJournal;
  CxChangeReport m_Report;
  bool m_bBegun;
  CxBusyStore m_BusyStore;
};
