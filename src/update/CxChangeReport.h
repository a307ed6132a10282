// CxChangeReport: item by item and field by field, what a run would do (its
// preview), what it did (its report), or what an undo would do or did. One
// table for all of them, so the wizard shows and saves them the same way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What happens to one field.
enum FieldOutcome : int32_t {
  foChange,    // the value changes
  foNoChange,  // the new value equals the old one
  foRefused,   // left alone, for the reason given
  foSkipped,   // the item has no such field (a distribution list among contacts)
};

// What happens to one item.
enum ItemOutcome : int32_t {
  ioChange,     // preview: it will be saved with its changes
  ioUnchanged,  // nothing to change: every new value equals the old one
  ioRefused,    // preview: nothing can change, something was refused
  ioUpdated,    // saved with every definition applied
  ioPartial,    // saved, but some fields were refused
  ioNotSaved,   // not saved, for the reason given
  ioConflict,   // undo: changed since the run, left as it is
  ioRestored,   // undo: its old values are back
  ioDeleted,    // undo: no longer in Outlook
  ioSkipped,    // a distribution list among contacts, which has none of the fields
};

struct CxFieldChange {
  std::string strField;
  std::string strOld;  // the current value in a preview
  std::string strNew;
  FieldOutcome nOutcome = foChange;
  std::string strReason;  // why it was refused
};

struct CxItemChanges {
  std::string strName;
  std::string strFolder;
  ItemOutcome nOutcome = ioUnchanged;
  std::string strReason;  // why it was not saved, or the conflict
  std::vector<CxFieldChange> Fields;
};

class CxChangeReport {
 public:
  // bPreview: nothing was written yet (the rows say "will change").
  explicit CxChangeReport(bool bPreview = true) : m_bPreview(bPreview) {}

  bool IsPreview() const { return m_bPreview; }
  void Add(CxItemChanges item) { m_Items.push_back(std::move(item)); }
  const std::vector<CxItemChanges>& GetItems() const { return m_Items; }

  // How many items have this outcome.
  int CountItems(ItemOutcome nOutcome) const;
  // How many field rows have this outcome, over items with any outcome.
  int CountFields(FieldOutcome nOutcome) const;
  // "N items will change, M fields; K unchanged; R refused" for a preview;
  // for a report the counts of every item outcome that occurs.
  std::string CountsText() const;
  // The outcome column of one row, in words.
  std::string OutcomeText(const CxItemChanges& item, const CxFieldChange& field) const;
  // The outcome of an item in words ("updated", "not saved", ...).
  static const char* ItemOutcomeText(ItemOutcome nOutcome);

  // Writes one line per field (an item without fields gets one line) as CSV
  // (RFC 4180, UTF-8) to strPath, replacing the file only once the whole
  // report is written. False, with the reason, when it cannot be written.
  bool WriteCsv(const std::string& strPath, std::string* pError) const;

 private:
  bool m_bPreview;
  std::vector<CxItemChanges> m_Items;
};
