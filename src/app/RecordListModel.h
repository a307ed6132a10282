// The rows of a selection page: one per record of the mode's container, each
// with a tick. Texts are made only when a row is drawn, so a folder of a
// hundred thousand items lists as fast as a handful.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "update/CxTickRule.h"

// One column: its caption, its width in pixels and the display key of the
// record field it shows.
struct RecordColumn {
  const char* szCaption;
  int nWidth;
  int32_t nKey;
};

// Writes the display text of one record field (by display key) into szBuf of
// nSize bytes; the kind's container does the work.
using RecordTextFn = void (*)(const void* pRecord, int32_t nKey, char* szBuf, int nSize);

// The display text through the container's own table: FindDisplayField, then
// DisplayText. A key the table lacks, or a field without a text, shows empty.
template <typename TMgr, typename TRecord, typename TField>
void ContainerText(const void* pRecord, int32_t nKey, char* szBuf, int nSize) {
  szBuf[0] = '\0';
  TField field;
  if (!TMgr::FindDisplayField(nKey, &field)) return;
  if (!TMgr::DisplayText(static_cast<const TRecord*>(pRecord), &field, szBuf, nSize)) szBuf[0] = '\0';
}

class RecordListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Each display text is made in a buffer of this size, so a longer field
  // shows its first 1023 bytes.
  static constexpr int kTextSize = 1024;

  // bCaptionEditable lets the user retype the first column's text; the new
  // text is only shown, never stored in the record.
  RecordListModel(std::span<const RecordColumn> columns, RecordTextFn fnText, bool bCaptionEditable,
                  QObject* pParent = nullptr);

  // Lists these records (not owned), in this order, all ticked; earlier ticks
  // and retyped captions are gone.
  void SetRecords(std::vector<void*> records);

  int RecordCount() const { return static_cast<int>(m_records.size()); }
  // The record of a row; none outside the rows.
  void* RecordAt(int nRow) const;
  bool IsTicked(int nRow) const;
  void SetTicked(int nRow, bool bTicked);
  void SetAllTicked(bool bTicked);
  // The ticked rows' records, top to bottom.
  std::vector<void*> TickedRecords() const;
  std::span<const RecordColumn> Columns() const { return m_columns; }

  // With a folder function the list shows one more, last column, "Folder":
  // each record's folder, as fnFolder writes it (as RecordTextFn, key unused).
  void SetFolderColumn(RecordTextFn fnFolder);
  // Ticks (or unticks) every row whose text in nColumn meets the rule; the
  // number of rows it matched.
  int TickWhere(int nColumn, const CxTickRule& rule, bool bTick);

  // Orders the rows by a column's text; ticks and retyped captions stay with
  // their records.
  void sort(int nColumn, Qt::SortOrder nOrder = Qt::AscendingOrder) override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int nRole = Qt::DisplayRole) const override;
  QVariant headerData(int nSection, Qt::Orientation orientation, int nRole = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int nRole = Qt::EditRole) override;

 private:
  QString CellText(int nRow, int nColumn) const;

  std::span<const RecordColumn> m_columns;
  RecordTextFn m_fnText;
  RecordTextFn m_fnFolder;  // none: no folder column
  bool m_bCaptionEditable;
  std::vector<void*> m_records;
  std::vector<char> m_ticks;  // one per row: 1 ticked
  std::unordered_map<int, QString> m_editedCaptions;  // by row
};
