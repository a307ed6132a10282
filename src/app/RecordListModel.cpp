#include "app/RecordListModel.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "app/ProgramText.h"

RecordListModel::RecordListModel(std::span<const RecordColumn> columns, RecordTextFn fnText,
                                 bool bCaptionEditable, QObject* pParent)
    : QAbstractTableModel(pParent),
      m_columns(columns),
      m_fnText(fnText),
      m_fnFolder(nullptr),
      m_bCaptionEditable(bCaptionEditable) {}

void RecordListModel::SetFolderColumn(RecordTextFn fnFolder) {
  if (fnFolder == m_fnFolder) return;
  beginResetModel();
  m_fnFolder = fnFolder;
  endResetModel();
}

int RecordListModel::TickWhere(int nColumn, const CxTickRule& rule, bool bTick) {
  if (nColumn < 0 || nColumn >= columnCount()) return 0;
  int nMatched = 0;
  for (int nRow = 0; nRow < RecordCount(); ++nRow) {
    if (!rule.Matches(ToProgramText(CellText(nRow, nColumn)).toStdString())) continue;
    m_ticks[static_cast<size_t>(nRow)] = bTick ? 1 : 0;
    ++nMatched;
  }
  if (!m_records.empty())
    emit dataChanged(index(0, 0), index(RecordCount() - 1, 0), {Qt::CheckStateRole});
  return nMatched;
}

void RecordListModel::sort(int nColumn, Qt::SortOrder nOrder) {
  if (nColumn < 0 || nColumn >= columnCount() || m_records.empty()) return;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<QString> texts;
  texts.reserve(m_records.size());
  for (int nRow = 0; nRow < RecordCount(); ++nRow) texts.push_back(CellText(nRow, nColumn));
  std::vector<int> rows(m_records.size());
  std::iota(rows.begin(), rows.end(), 0);
  std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
    const int nCompare =
        QString::localeAwareCompare(texts[static_cast<size_t>(a)], texts[static_cast<size_t>(b)]);
    return nOrder == Qt::AscendingOrder ? nCompare < 0 : nCompare > 0;
  });
  std::vector<void*> records;
  std::vector<char> ticks;
  std::unordered_map<int, QString> captions;
  std::vector<int> newRowOf(m_records.size());
  for (size_t n = 0; n < rows.size(); ++n) {
    const int nOld = rows[n];
    newRowOf[static_cast<size_t>(nOld)] = static_cast<int>(n);
    records.push_back(m_records[static_cast<size_t>(nOld)]);
    ticks.push_back(m_ticks[static_cast<size_t>(nOld)]);
    auto edited = m_editedCaptions.find(nOld);
    if (edited != m_editedCaptions.end()) captions[static_cast<int>(n)] = edited->second;
  }
  m_records = std::move(records);
  m_ticks = std::move(ticks);
  m_editedCaptions = std::move(captions);
  const QModelIndexList persistent = persistentIndexList();
  QModelIndexList moved;
  for (const QModelIndex& old : persistent)
    moved.append(index(newRowOf[static_cast<size_t>(old.row())], old.column()));
  changePersistentIndexList(persistent, moved);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void RecordListModel::SetRecords(std::vector<void*> records) {
  beginResetModel();
  m_records = std::move(records);
  m_ticks.assign(m_records.size(), 1);
  m_editedCaptions.clear();
  endResetModel();
}

void* RecordListModel::RecordAt(int nRow) const {
  if (nRow < 0 || nRow >= RecordCount()) return nullptr;
  return m_records[static_cast<size_t>(nRow)];
}

bool RecordListModel::IsTicked(int nRow) const {
  if (nRow < 0 || nRow >= RecordCount()) return false;
  return m_ticks[static_cast<size_t>(nRow)] != 0;
}

void RecordListModel::SetTicked(int nRow, bool bTicked) {
  if (nRow < 0 || nRow >= RecordCount()) return;
  m_ticks[static_cast<size_t>(nRow)] = bTicked ? 1 : 0;
  const QModelIndex cell = index(nRow, 0);
  emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

void RecordListModel::SetAllTicked(bool bTicked) {
  if (m_records.empty()) return;
  m_ticks.assign(m_records.size(), bTicked ? 1 : 0);
  emit dataChanged(index(0, 0), index(RecordCount() - 1, 0), {Qt::CheckStateRole});
}

std::vector<void*> RecordListModel::TickedRecords() const {
  std::vector<void*> ticked;
  for (size_t i = 0; i < m_records.size(); ++i)
    if (m_ticks[i] && m_records[i]) ticked.push_back(m_records[i]);
  return ticked;
}

int RecordListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : RecordCount();
}

int RecordListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_columns.size()) + (m_fnFolder ? 1 : 0);
}

QString RecordListModel::CellText(int nRow, int nColumn) const {
  if (nColumn == 0) {
    auto edited = m_editedCaptions.find(nRow);
    if (edited != m_editedCaptions.end()) return edited->second;
  }
  char szText[kTextSize];
  if (static_cast<size_t>(nColumn) == m_columns.size())
    m_fnFolder(m_records[static_cast<size_t>(nRow)], 0, szText, sizeof szText);
  else
    m_fnText(m_records[static_cast<size_t>(nRow)], m_columns[static_cast<size_t>(nColumn)].nKey,
             szText, sizeof szText);
  QString strText = FromProgramText(szText);
  // A row is one line: a multi-line text (a note's body) reads on in it.
  strText.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  strText.replace(QLatin1Char('\n'), QLatin1Char(' '));
  strText.replace(QLatin1Char('\r'), QLatin1Char(' '));
  return strText;
}

QVariant RecordListModel::data(const QModelIndex& index, int nRole) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  switch (nRole) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return CellText(index.row(), index.column());
    case Qt::CheckStateRole:
      if (index.column() != 0) return {};
      return IsTicked(index.row()) ? Qt::Checked : Qt::Unchecked;
    default:
      return {};
  }
}

QVariant RecordListModel::headerData(int nSection, Qt::Orientation orientation, int nRole) const {
  if (orientation != Qt::Horizontal || nSection < 0 || nSection >= columnCount()) return {};
  if (nRole != Qt::DisplayRole) return {};
  if (static_cast<size_t>(nSection) == m_columns.size()) return QStringLiteral("Folder");
  return QString::fromUtf8(m_columns[static_cast<size_t>(nSection)].szCaption);
}

Qt::ItemFlags RecordListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags nFlags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  if (index.column() == 0) {
    nFlags |= Qt::ItemIsUserCheckable;
    if (m_bCaptionEditable) nFlags |= Qt::ItemIsEditable;
  }
  return nFlags;
}

bool RecordListModel::setData(const QModelIndex& index, const QVariant& value, int nRole) {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) ||
      index.column() != 0)
    return false;
  if (nRole == Qt::CheckStateRole) {
    SetTicked(index.row(), value.toInt() == Qt::Checked);
    return true;
  }
  if (nRole == Qt::EditRole && m_bCaptionEditable) {
    m_editedCaptions[index.row()] = value.toString();
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
  }
  return false;
}
