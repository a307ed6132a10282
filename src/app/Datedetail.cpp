#include "app/Datedetail.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <iterator>

#include "app/AccessibleNames.h"
#include "app/DetailView.h"
#include "app/ProgramText.h"

namespace {

// The inner recurrence sheet, interval box and "By:" choice of one kind.
struct RecurrenceView {
  int32_t nKind;
  QWidget* TfmDateDetail::*pTab;
  QLineEdit* TfmDateDetail::*pInterval;
  QRadioButton* TfmDateDetail::*pBy;  // none: the sheet has no choice
};

const RecurrenceView kRecurrenceViews[] = {
    {rkDaily, &TfmDateDetail::tDaily, &TfmDateDetail::edtRecurDays, nullptr},
    {rkWeekly, &TfmDateDetail::tWeekly, &TfmDateDetail::edtRecurWeeks, nullptr},
    {rkMonthlyByWeekday, &TfmDateDetail::tMonthly, &TfmDateDetail::edtRecurMonths, &TfmDateDetail::rbtnDay},
    {rkMonthlyByDate, &TfmDateDetail::tMonthly, &TfmDateDetail::edtRecurMonths, &TfmDateDetail::rbtnDate},
    {rkYearlyByWeekday, &TfmDateDetail::tYearly, &TfmDateDetail::edtRecurYears, nullptr},
    {rkYearlyByDate, &TfmDateDetail::tYearly, &TfmDateDetail::edtRecurYears, nullptr},
};

struct WeekdayBox {
  QCheckBox* TfmDateDetail::*pBox;
  const char* szCaption;
  int32_t nMaskBit;  // the day in Outlook's DayOfWeekMask
};

const WeekdayBox kWeekdays[] = {
    {&TfmDateDetail::cbMonday, "Monday", 2},       {&TfmDateDetail::cbTuesday, "Tuesday", 4},
    {&TfmDateDetail::cbWednesday, "Wednesday", 8}, {&TfmDateDetail::cbThursday, "Thursday", 16},
    {&TfmDateDetail::cbFriday, "Friday", 32},      {&TfmDateDetail::cbSaturday, "Saturday", 64},
    {&TfmDateDetail::cbSunday, "Sunday", 1},
};

// A pattern that ends this late runs for good.
constexpr WORD kEndlessYear = 2100;

QString DisplayText(const DateRecord* pRecord, int32_t nKey) {
  DisplayField field;
  char szText[256];
  if (!CommDateMgr::FindDisplayField(nKey, &field) ||
      !CommDateMgr::DisplayText(pRecord, &field, szText, sizeof szText))
    return QString();
  return FromProgramText(szText);
}

QString DayText(const SYSTEMTIME& st) {
  return QString::asprintf("%02d/%02d/%04d", st.wMonth, st.wDay, st.wYear);
}

// "Every" [box] unit, as one row of a recurrence sheet; returns the box.
QLineEdit* AddEveryRow(QBoxLayout* pLayout, const char* szUnit, QWidget* pParent) {
  auto* pRow = new QHBoxLayout;
  auto* pEdit = new QLineEdit(pParent);
  pEdit->setMaximumWidth(60);
  // "Every [2] weeks": the box holds the number of units.
  pEdit->setAccessibleName(
      QStringLiteral("Number of %1").arg(QString::fromUtf8(szUnit).section(' ', 0, 0).remove('.')));
  pRow->addWidget(new QLabel(QStringLiteral("Every"), pParent));
  pRow->addWidget(pEdit);
  pRow->addWidget(new QLabel(QString::fromUtf8(szUnit), pParent));
  pRow->addStretch();
  pLayout->addLayout(pRow);
  return pEdit;
}

}  // namespace

TfmDateDetail::TfmDateDetail(QWidget* pParent) : QDialog(pParent), m_pRecord(nullptr) {
  setWindowTitle(QStringLiteral("Calendar detail information"));

  pDate = new QTabWidget(this);
  pDate->setAccessibleName(windowTitle());
  tRecur = BuildRecurrence();
  tNotes = BuildNotes();
  tGen = BuildGeneral();
  pDate->addTab(tRecur, QStringLiteral("Recurrence"));
  pDate->addTab(tNotes, QStringLiteral("Notes"));
  pDate->addTab(tGen, QStringLiteral("General"));
  pDate->setCurrentWidget(tGen);
  // Notes and recurrence are shown, not edited; read-only rather than greyed
  // out, so a long note can still be scrolled.
  MakeViewOnly(tRecur);
  MakeViewOnly(tNotes);

  btnClose = FinishDialog(this, pDate, 480, 380);
}

QWidget* TfmDateDetail::BuildGeneral() {
  auto* pSheet = new QWidget;
  auto* pForm = new QFormLayout;
  edtDesc = AddEditRow(pForm, "Description:", pSheet);
  edtDate = AddEditRow(pForm, "Date:", pSheet);
  edtStartTime = AddEditRow(pForm, "Start time:", pSheet);
  edtEndTime = AddEditRow(pForm, "End time:", pSheet);
  edtLocation = AddEditRow(pForm, "Location:", pSheet);
  edtCategory = AddEditRow(pForm, "Category:", pSheet);

  cbAlarm = new QCheckBox(QStringLiteral("Alarm"), pSheet);
  cbPrivate = new QCheckBox(QStringLiteral("Private"), pSheet);
  cbAllday = new QCheckBox(QStringLiteral("All day event"), pSheet);
  auto* pBoxes = new QHBoxLayout;
  pBoxes->addWidget(cbAlarm);
  pBoxes->addWidget(cbPrivate);
  pBoxes->addWidget(cbAllday);
  pBoxes->addStretch();

  auto* pLayout = new QVBoxLayout(pSheet);
  pLayout->addLayout(pForm);
  pLayout->addLayout(pBoxes);
  pLayout->addStretch();
  return pSheet;
}

QWidget* TfmDateDetail::BuildNotes() {
  auto* pSheet = new QWidget;
  memNotes = NewMemo(pSheet);
  memNotes->setAccessibleName(QStringLiteral("Notes"));
  (new QVBoxLayout(pSheet))->addWidget(memNotes);
  return pSheet;
}

QWidget* TfmDateDetail::BuildRecurrence() {
  auto* pSheet = new QWidget;
  pRecur = new QTabWidget(pSheet);
  pRecur->setAccessibleName(QStringLiteral("Recurrence pattern"));

  tYearly = new QWidget;
  auto* pYearly = new QVBoxLayout(tYearly);
  edtRecurYears = AddEveryRow(pYearly, "years", tYearly);
  pYearly->addStretch();

  tWeekly = new QWidget;
  auto* pWeekly = new QVBoxLayout(tWeekly);
  edtRecurWeeks = AddEveryRow(pWeekly, "weeks on:", tWeekly);
  auto* pDays = new QGridLayout;
  for (int i = 0; i < static_cast<int>(std::size(kWeekdays)); ++i) {
    auto* pBox = new QCheckBox(QString::fromUtf8(kWeekdays[i].szCaption), tWeekly);
    this->*kWeekdays[i].pBox = pBox;
    pDays->addWidget(pBox, i / 4, i % 4);
  }
  pWeekly->addLayout(pDays);
  pWeekly->addStretch();

  tMonthly = new QWidget;
  auto* pMonthly = new QVBoxLayout(tMonthly);
  edtRecurMonths = AddEveryRow(pMonthly, "months", tMonthly);
  rbtnDate = new QRadioButton(QStringLiteral("Date"), tMonthly);
  rbtnDay = new QRadioButton(QStringLiteral("Day"), tMonthly);
  m_pMonthlyBy = new QButtonGroup(this);
  m_pMonthlyBy->addButton(rbtnDate);
  m_pMonthlyBy->addButton(rbtnDay);
  auto* pBy = new QHBoxLayout;
  pBy->addWidget(new QLabel(QStringLiteral("By:"), tMonthly));
  pBy->addWidget(rbtnDate);
  pBy->addWidget(rbtnDay);
  pBy->addStretch();
  pMonthly->addLayout(pBy);
  pMonthly->addStretch();

  tDaily = new QWidget;
  auto* pDaily = new QVBoxLayout(tDaily);
  edtRecurDays = AddEveryRow(pDaily, "days.", tDaily);
  pDaily->addStretch();

  pRecur->addTab(tYearly, QStringLiteral("Yearly"));
  pRecur->addTab(tWeekly, QStringLiteral("Weekly"));
  pRecur->addTab(tMonthly, QStringLiteral("Monthly"));
  pRecur->addTab(tDaily, QStringLiteral("Daily"));
  pRecur->setCurrentWidget(tDaily);

  auto* pRange = new QGroupBox(QStringLiteral(" Recurrence Range "), pSheet);
  edtRecurStart = new QLineEdit(pRange);
  rbtnNoEnd = new QRadioButton(QStringLiteral("No end date"), pRange);
  rbtnEndBy = new QRadioButton(QStringLiteral("End by"), pRange);
  edtRecurEnd = new QLineEdit(pRange);
  m_pRangeEnd = new QButtonGroup(this);
  m_pRangeEnd->addButton(rbtnNoEnd);
  m_pRangeEnd->addButton(rbtnEndBy);
  auto* pRangeGrid = new QGridLayout(pRange);
  edtRecurEnd->setAccessibleName(QStringLiteral("End date"));
  pRangeGrid->addWidget(NewLabelFor(QStringLiteral("Start:"), edtRecurStart, pRange), 0, 0);
  pRangeGrid->addWidget(edtRecurStart, 0, 1);
  pRangeGrid->addWidget(rbtnNoEnd, 0, 2);
  pRangeGrid->addWidget(rbtnEndBy, 1, 2);
  pRangeGrid->addWidget(edtRecurEnd, 1, 3);

  auto* pLayout = new QVBoxLayout(pSheet);
  pLayout->addWidget(pRecur, 1);
  pLayout->addWidget(pRange);
  return pSheet;
}

void TfmDateDetail::SetRecord(const DateRecord* pRecord) {
  m_pRecord = pRecord;
  UpdateData(false);
}

bool TfmDateDetail::UpdateData(bool bSave) {
  if (bSave) return true;
  if (!m_pRecord) return false;
  Fill();
  return true;
}

void TfmDateDetail::Fill() {
  edtDesc->setText(FieldText(m_pRecord->Subject));
  memNotes->setPlainText(FieldText(m_pRecord->Body));
  edtLocation->setText(FieldText(m_pRecord->Location));
  edtStartTime->setText(DisplayText(m_pRecord, ddkStartTime));
  edtEndTime->setText(DisplayText(m_pRecord, ddkEndTime));
  edtDate->setText(DisplayText(m_pRecord, ddkDate));
  cbPrivate->setChecked(m_pRecord->Private != 0);
  cbAlarm->setChecked(m_pRecord->ReminderSet != 0);
  cbAllday->setChecked(m_pRecord->AllDayEvent != 0);
  FillRecurrence();
  edtCategory->setText(FieldText(m_pRecord->Categories));
}

void TfmDateDetail::ResetRecurrence() {
  pDate->setTabVisible(pDate->indexOf(tRecur), true);
  for (int i = 0; i < pRecur->count(); ++i) pRecur->setTabVisible(i, true);
  pRecur->setCurrentWidget(tDaily);
  for (const RecurrenceView& view : kRecurrenceViews) (this->*view.pInterval)->clear();
  for (const WeekdayBox& weekday : kWeekdays) (this->*weekday.pBox)->setChecked(false);
  UntickGroup(m_pMonthlyBy);
  UntickGroup(m_pRangeEnd);
  edtRecurEnd->clear();
}

void TfmDateDetail::FillRecurrence() {
  ResetRecurrence();
  const DateRecord& record = *m_pRecord;
  if (record.RecurrenceKind == rkNone) {
    pDate->setTabVisible(pDate->indexOf(tRecur), false);
  } else {
    for (const RecurrenceView& view : kRecurrenceViews) {
      if (view.nKind != record.RecurrenceKind) continue;
      QWidget* pShown = this->*view.pTab;
      for (int i = 0; i < pRecur->count(); ++i) pRecur->setTabVisible(i, pRecur->widget(i) == pShown);
      pRecur->setCurrentWidget(pShown);
      (this->*view.pInterval)->setText(QString::asprintf("%d", record.Interval));
      if (view.pBy) (this->*view.pBy)->setChecked(true);
      // The record keeps no weekdays; the item's image, when the record has
      // one, says which days a weekly series falls on.
      if (view.nKind == rkWeekly && record.Image)
        for (const WeekdayBox& weekday : kWeekdays)
          (this->*weekday.pBox)->setChecked((record.Image->DayOfWeekMask & weekday.nMaskBit) != 0);
      break;
    }
  }

  // The record never carries a pattern start of its own; the item's start
  // date stands in for it.
  const SYSTEMTIME& start = record.PatternStartDate;
  edtRecurStart->setText(start.wMonth && start.wDay && start.wYear ? DayText(start)
                                                                    : DisplayText(m_pRecord, ddkDate));
  // An end without a date (year 0) is no end either.
  const SYSTEMTIME& end = record.PatternEndDate;
  if (record.HasPatternEnd && end.wYear != 0 && end.wYear < kEndlessYear) {
    rbtnEndBy->setChecked(true);
    edtRecurEnd->setText(DayText(end));
  } else {
    rbtnNoEnd->setChecked(true);
  }
}
