// Whole runs of the real wizard over a real local store, one per kind of item:
// the kind chosen on the first page, the store connected and read, definitions
// made in the editor, some items unticked, the run, the summary, the window
// closed. The store is exported before and after, and every difference must
// be one the definitions explain, with the values computed here from the
// "before" document.
//
// One run is made with the keyboard alone (mnemonics, Tab, arrows, Space), the
// others with the mouse. The keyboard run looks at every page and dialog it
// passes: nothing may be cut off at a window's edge (the test runs at twice
// the scale too); with QM_SCREENSHOT_DIR set, it saves a picture of each.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTimeEdit>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <span>

#include "app/Finish.h"
#include "app/Look.h"
#include "app/Main.h"
#include "app/Mode.h"
#include "app/Onefield.h"
#include "app/Proc.h"
#include "app/RecordPage.h"
#include "app/Updatefield.h"
#include "common/records/CommAddrMgr.h"
#include "common/records/CommDateMgr.h"
#include "common/records/CommNoteMgr.h"
#include "common/records/CommTaskMgr.h"
#include "support/AppTest.h"
#include "support/StoreExchange.h"
#include "support/TestStore.h"
#include "update/Qmcommon.h"

namespace {

// ---- what the user enters ---------------------------------------------------

enum class Input { Text, Date, DateTime, Boolean, Integer, Enumeration };

// One definition as the user makes it in the editor, with what it must do to
// the exchange document.
struct Definition {
  const char* szField;       // as the editor lists it
  const char* szProperty;    // the item property it changes
  Input nInput;
  int32_t nOperation;        // Text: uoSet, uoAppend, uoInsert or uoReplace
  const char* szValue;       // Text: the value (Replace: the replacement); Boolean and
                             // Enumeration: the entry chosen; Date: "yyyy-MM-ddTHH:mm:ss"
  const char* szSearch;      // Replace: the text to find
  int nNumber;               // Insert: the position; Integer: the value; Boolean and
                             // Enumeration: the value stored
  int nCapacity;             // Text: bytes the item image holds, with the terminating zero
  const char* szDetails;     // the row's "Update Details" on the definitions page
};

constexpr Definition Text(const char* szField, const char* szProperty, int32_t nOperation,
                          const char* szValue, int nCapacity, const char* szDetails,
                          const char* szSearch = "", int nPosition = 0) {
  return {szField, szProperty, Input::Text, nOperation, szValue, szSearch, nPosition, nCapacity, szDetails};
}
constexpr Definition Value(const char* szField, const char* szProperty, Input nInput,
                           const char* szValue, int nNumber, const char* szDetails) {
  return {szField, szProperty, nInput, 0, szValue, "", nNumber, 0, szDetails};
}

const Definition kContactDefinitions[] = {
    Text("Job Title", "JobTitle", uoSet, "Director", 32, "Set value to \"Director\""),
    // Ben's department is 29 characters: the result is cut to the field's 31.
    Text("Department", "Department", uoAppend, " East", 32, "Append \" East\" to the field."),
    // The position counts characters: Ann's street begins with a two-byte one.
    Text("Business Street", "BusinessAddressStreet", uoInsert, "Über ", 128,
         "Insert \"Über \" at position 2", "", 2),
    Text("Note", "Body", uoReplace, "Dr.", 2048, "Replace \"Mr.\" with \"Dr.\"", "Mr."),
    Value("Birthday", "Birthday", Input::Date, "1985-07-12T00:00:00", 0,
          "Set value to \"07/12/1985\""),
    Value("Gender", "Gender", Input::Enumeration, "Female", 1, "Set value to \"Female\""),
};

const Definition kCalendarDefinitions[] = {
    Value("Reminder Play Sound", "ReminderPlaySound", Input::Boolean, "True(Yes)", 1,
          "Set value to \"True(Yes)\""),
    Value("Busy Status", "BusyStatus", Input::Enumeration, "Out Of Office", 3,
          "Set value to \"Out Of Office\""),
    Value("Start Time", "Start", Input::DateTime, "2024-04-02T13:30:00", 0,
          "Set value to \"04/02/2024 13:30:00\""),
    Value("End Time", "End", Input::DateTime, "2024-04-02T15:45:00", 0,
          "Set value to \"04/02/2024 15:45:00\""),
    Text("Subject", "Subject", uoAppend, " (moved)", 256, "Append \" (moved)\" to the field."),
    Text("Location", "Location", uoSet, "Salle Lumière", 256, "Set value to \"Salle Lumière\""),
    Text("Note", "Body", uoReplace, "plan", 20480, "Replace \"budget\" with \"plan\"", "budget"),
    Text("Reminder Sound File", "ReminderSoundFile", uoInsert, "sounds/", 260,
         "Insert \"sounds/\" at position 0"),
    Value("Reminder Minutes Before Start", "ReminderMinutesBeforeStart", Input::Integer, "", 30,
          "Set value to \"30\""),
};

const Definition kTaskDefinitions[] = {
    Text("Subject", "Subject", uoAppend, " [Q2]", 256, "Append \" [Q2]\" to the field."),
    Value("Due Date", "DueDate", Input::Date, "2024-06-28T00:00:00", 0,
          "Set value to \"06/28/2024\""),
    Value("Total Work", "TotalWork", Input::Integer, "", 120, "Set value to \"120\""),
    Value("Importance", "Importance", Input::Enumeration, "High", 2, "Set value to \"High\""),
    // The reminder time reaches Outlook only with the reminder on.
    Value("Reminder Set", "ReminderSet", Input::Boolean, "True(Yes)", 1,
          "Set value to \"True(Yes)\""),
    Value("Reminder Time", "ReminderTime", Input::DateTime, "2024-06-27T09:15:00", 0,
          "Set value to \"06/27/2024 09:15:00\""),
};

const Definition kNoteDefinitions[] = {
    Value("Color", "Color", Input::Enumeration, "White", 4, "Set value to \"White\""),
    Text("Note", "Body", uoAppend, " (reviewed)", 20480, "Append \" (reviewed)\" to the field."),
};

// ---- the stores the runs start from ------------------------------------------

// Every item carries old times, so a save is seen in LastModificationTime.
const char kContactStore[] = R"({"format": "olstore", "version": 1, "contacts": {
  "items": [
    {"FullName": "Ann Archer", "FirstName": "Ann", "LastName": "Archer", "JobTitle": "Clerk",
     "Department": "Sales", "BusinessAddressStreet": "Ölweg 12", "CompanyName": "Archer & Co",
     "Email1Address": "ann@archer.example", "Body": "Met Mr. Smith at the fair. Mr. Smith buys.",
     "Birthday": "1980-01-02T00:00:00", "Gender": 0,
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"},
    {"FullName": "Ben Baker", "FirstName": "Ben", "LastName": "Baker", "JobTitle": "Engineer",
     "Department": "Research and Development Dept", "BusinessAddressStreet": "7 Mill Lane",
     "Body": "No titles here.", "Gender": 2, "HomeTelephoneNumber": "+44 20 7946 0000",
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"},
    {"FullName": "Cleo Cole", "FirstName": "Cleo", "LastName": "Cole", "JobTitle": "Buyer",
     "Department": "Purchasing", "Body": "Mr. Cole is her husband.",
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"},
    {"FullName": "Dan Dunn", "FirstName": "Dan", "LastName": "Dunn", "Body": "Mr.Mr.",
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"},
    {"Type": "DistList", "DLName": "Team", "Members": [],
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"}
  ],
  "folders": [{"name": "Clients", "items": [
    {"FullName": "Eve Ernst", "FirstName": "Eve", "LastName": "Ernst", "JobTitle": "Owner",
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"}]}]
}})";

const char kCalendarStore[] = R"({"format": "olstore", "version": 1, "calendar": {
  "items": [
    {"Subject": "Team meeting", "Start": "2024-03-11T09:00:00", "End": "2024-03-11T10:00:00",
     "Location": "Room 1", "Body": "Agenda: budget, then budget again", "BusyStatus": 2,
     "ReminderMinutesBeforeStart": 15, "ReminderSoundFile": "reminder.wav",
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"},
    {"Subject": "Design review", "Start": "2024-03-12T14:00:00", "End": "2024-03-12T15:00:00",
     "Body": "Bring the budget.",
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"},
    {"Subject": "Lunch with Cleo", "Start": "2024-03-13T12:00:00", "End": "2024-03-13T13:00:00",
     "Location": "Corner bistro",
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"},
    {"Subject": "Weekly sync", "Start": "2024-03-14T08:30:00", "End": "2024-03-14T09:00:00",
     "RecurrencePattern": {"RecurrenceType": 1, "DayOfWeekMask": 16, "Interval": 1,
       "PatternStartDate": "2024-03-14T00:00:00", "PatternEndDate": "2024-06-27T00:00:00",
       "NoEndDate": false},
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"},
    {"Subject": "Quarterly planning", "Start": "2024-03-15T10:00:00", "End": "2024-03-15T12:00:00",
     "Body": "No agenda yet.", "ReminderSet": false,
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"}
  ],
  "folders": [{"name": "Holidays", "items": [
    {"Subject": "Easter", "Start": "2024-03-31T00:00:00", "End": "2024-04-01T00:00:00",
     "AllDayEvent": true,
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"}]}]
}})";

const char kTaskStore[] = R"({"format": "olstore", "version": 1, "tasks": {
  "items": [
    {"Subject": "Write report", "Body": "Figures from March.", "Status": 1, "PercentComplete": 40,
     "StartDate": "2024-03-01T00:00:00", "DueDate": "2024-03-29T00:00:00",
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"},
    {"Subject": "Call supplier", "Importance": 0,
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"}
  ],
  "folders": [{"name": "Projects",
    "items": [
      {"Subject": "Plan launch", "TotalWork": 600, "Categories": "Launch",
       "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"}],
    "folders": [{"name": "2024", "items": [
      {"Subject": "Book venue", "Status": 2, "PercentComplete": 100,
       "DateCompleted": "2024-02-20T00:00:00",
       "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"}]}]}]
}})";

const char kNoteStore[] = R"({"format": "olstore", "version": 1, "notes": {
  "items": [
    {"Body": "Shopping list\r\nmilk, bread", "Color": 3,
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"},
    {"Body": "Ideas for the garden", "Color": 1,
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"},
    {"Body": "Phone numbers", "Color": 0, "Categories": "Home",
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"}
  ],
  "folders": [{"name": "Archive", "items": [
    {"Body": "Old note", "Color": 2,
     "CreationTime": "2020-01-01T09:00:00", "LastModificationTime": "2023-01-15T08:00:00"}]}]
}})";

// ---- one run -----------------------------------------------------------------

// A note as long as no item image holds: more than 20479 bytes.
constexpr int kLongNoteBytes = 24000;

template <typename TRecord>
QString RecordEntryID(const void* pRecord) {
  const auto* p = static_cast<const TRecord*>(pRecord);
  return p && p->Image ? QString::fromUtf8(p->Image->EntryID) : QString();
}

struct KindRun {
  const char* szName;
  int32_t nMode;
  QRadioButton* TfmMode::*pRadio;
  const char* szStore;
  std::span<const Definition> definitions;
  QString (*fnEntryID)(const void* pRecord);
  // Items by name (see ExchangeItemName), as the selection page must list them.
  QStringList listed;
  QStringList unticked;
  // A ticked item deleted from the store behind the program's back, after the
  // selection page and before the run; none when empty.
  QString strDeleted;
  // The subject of one more item, whose note is longer than the program can
  // read whole; none when empty.
  QString strLongNote;
  // The failure lines the log must hold, and the summary's result when not
  // every item was updated whole.
  QStringList logged;
  QString strResult;
  bool bSubFolder;
  bool bKeyboard;
  const char* szApp;
};

const KindRun kRuns[] = {
    {"contacts, by keyboard",
     1,
     &TfmMode::rbtnAddr,
     kContactStore,
     kContactDefinitions,
     &RecordEntryID<AddrRecord>,
     {"Ann Archer", "Ben Baker", "Cleo Cole", "Dan Dunn", "Team"},
     {"Team", "Cleo Cole"},
     QString(),
     QString(),
     {},
     QString(),
     false,
     true,
     "Outlook Contacts"},
    {"calendar, an item deleted and a note too long",
     2,
     &TfmMode::rbtnDate,
     kCalendarStore,
     kCalendarDefinitions,
     &RecordEntryID<DateRecord>,
     {"Team meeting", "Design review", "Lunch with Cleo", "Weekly sync", "Quarterly planning",
      "Long report"},
     {"Lunch with Cleo", "Weekly sync"},
     QStringLiteral("Design review"),
     QStringLiteral("Long report"),
     {"The calendar item \"Design review\" could not be saved to Outlook: not found in Outlook",
      "The calendar item \"Long report\": Note was not changed: the stored text was cut when it "
      "was read, and this operation would shorten it"},
     QStringLiteral("2 updated, 1 updated in part, 1 not saved. The report says why."),
     false,
     false,
     "Outlook Calendar"},
    {"tasks, subfolders included",
     4,
     &TfmMode::rbtnTask,
     kTaskStore,
     kTaskDefinitions,
     &RecordEntryID<TaskRecord>,
     {"Write report", "Call supplier", "Plan launch", "Book venue"},
     {"Call supplier"},
     QString(),
     QString(),
     {},
     QString(),
     true,
     false,
     "Outlook Tasks"},
    {"notes",
     8,
     &TfmMode::rbtnNote,
     kNoteStore,
     kNoteDefinitions,
     &RecordEntryID<NoteRecord>,
     {"Shopping list", "Ideas for the garden", "Phone numbers"},
     {"Ideas for the garden"},
     QString(),
     QString(),
     {},
     QString(),
     false,
     false,
     "Outlook Notes"},
};

// ---- the value operations, worked out independently ----------------------------

// A text as a field of nCapacity bytes holds it: at most nCapacity - 1 bytes,
// never half a character.
QByteArray Cut(QByteArray text, int nCapacity) {
  if (text.size() < nCapacity) return text;
  qsizetype nLength = nCapacity - 1;
  while (nLength > 0 && (static_cast<unsigned char>(text[nLength]) & 0xC0) == 0x80) --nLength;
  return text.left(nLength);
}

QByteArray ApplyText(const Definition& def, QByteArray current) {
  const QByteArray value(def.szValue);
  if (def.nOperation == uoSet) return Cut(value, def.nCapacity);
  // A text longer than the field holds was read cut; changing a part of it
  // would write the cut copy back, so it is left alone.
  if (current.size() >= def.nCapacity) return current;
  switch (def.nOperation) {
    case uoAppend: return Cut(current + value, def.nCapacity);
    case uoInsert: {
      // Only inside the text: at its end, or into an empty field, nothing happens.
      const std::u32string characters = QString::fromUtf8(current).toStdU32String();
      if (characters.size() <= static_cast<size_t>(def.nNumber)) return current;
      const qsizetype nAt =
          QString::fromStdU32String(characters.substr(0, def.nNumber)).toUtf8().size();
      return Cut(current.insert(nAt, value), def.nCapacity);
    }
    case uoReplace: {
      const QByteArray search(def.szSearch);
      if (search.isEmpty() || value.contains(search)) return current;
      // Every search starts again from the beginning.
      for (qsizetype n = current.indexOf(search); n >= 0; n = current.indexOf(search))
        current.replace(n, search.size(), value);
      return Cut(current, def.nCapacity);
    }
    default: return current;
  }
}

QJsonValue ApplyDefinition(const Definition& def, const QJsonValue& current) {
  switch (def.nInput) {
    case Input::Text: {
      const QByteArray text = ApplyText(def, current.toString().toUtf8());
      return text.isEmpty() ? QJsonValue() : QJsonValue(QString::fromUtf8(text));
    }
    case Input::Date:
    case Input::DateTime: return QString::fromUtf8(def.szValue);
    case Input::Boolean: return def.nNumber != 0;
    case Input::Integer:
    case Input::Enumeration: return def.nNumber;
  }
  return current;
}

// The properties a run changes on one item, from the item as it was.
QJsonObject ChangedProperties(std::span<const Definition> definitions, const QJsonObject& before) {
  QJsonObject item = before;
  QJsonObject changed;
  for (const Definition& def : definitions) {
    const QString strProperty = QString::fromUtf8(def.szProperty);
    const QJsonValue value = ApplyDefinition(def, item.value(strProperty));
    changed.insert(strProperty, value);
    item.insert(strProperty, value);
  }
  return changed;
}

// ---- the two ways of using the program -----------------------------------------

class UserInput {
 public:
  virtual ~UserInput() = default;
  virtual bool Click(QAbstractButton* pButton) = 0;
  virtual bool Choose(QComboBox* pCombo, const QString& strText) = 0;
  virtual bool Type(QLineEdit* pEdit, const QString& strText) = 0;
  virtual bool SetNumber(QSpinBox* pSpin, int nValue) = 0;
  virtual bool SetDate(QDateEdit* pEdit, const QDate& date) = 0;
  virtual bool SetTime(QTimeEdit* pEdit, const QTime& time) = 0;
  // Takes the tick off one row of a selection list.
  virtual bool Untick(QTreeView* pList, int nRow) = 0;
};

// Types characters one by one; those without a key of their own arrive as
// text, as from an input method.
void TypeText(QWidget* pWidget, const QString& strText) {
  for (QChar ch : strText) {
    if (ch.unicode() < 0x80)
      QTest::keyClick(pWidget, ch.toLatin1());
    else
      QTest::sendKeyEvent(QTest::Click, pWidget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
  }
}

bool WaitForClick(QAbstractButton* pButton, const std::function<void()>& press) {
  QSignalSpy clicked(pButton, &QAbstractButton::clicked);
  press();
  return !clicked.isEmpty() || clicked.wait(2000);
}

class Mouse final : public UserInput {
 public:
  bool Click(QAbstractButton* pButton) override {
    if (!pButton->isVisible() || !pButton->isEnabled()) return false;
    // A radio reacts on its indicator, whatever its width.
    const QPoint at = qobject_cast<QRadioButton*>(pButton) ? QPoint(8, pButton->height() / 2)
                                                          : pButton->rect().center();
    return WaitForClick(pButton, [&] { QTest::mouseClick(pButton, Qt::LeftButton, {}, at); });
  }
  bool Choose(QComboBox* pCombo, const QString& strText) override {
    const int nIndex = pCombo->findText(strText);
    if (nIndex < 0) return false;
    QTest::mouseClick(pCombo, Qt::LeftButton);
    QAbstractItemView* pView = pCombo->view();
    if (!QTest::qWaitForWindowExposed(pView->window())) return false;
    // The list ignores a release as quick as a double click: it would be the
    // end of the click that opened it.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    const QModelIndex index = pView->model()->index(nIndex, pCombo->modelColumn(), pView->rootIndex());
    pView->scrollTo(index);
    QTest::mouseClick(pView->viewport(), Qt::LeftButton, {}, pView->visualRect(index).center());
    return pCombo->currentIndex() == nIndex;
  }
  bool Type(QLineEdit* pEdit, const QString& strText) override {
    QTest::mouseClick(pEdit, Qt::LeftButton);
    QTest::keyClick(pEdit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(pEdit, Qt::Key_Delete);
    TypeText(pEdit, strText);
    return pEdit->text() == strText;
  }
  bool SetNumber(QSpinBox* pSpin, int nValue) override {
    QTest::mouseClick(pSpin, Qt::LeftButton);
    QTest::keyClick(pSpin, Qt::Key_A, Qt::ControlModifier);
    TypeText(pSpin, QString::number(nValue));
    return pSpin->value() == nValue;
  }
  // Picking a day in the calendar pop-up is the pop-up's own business; the
  // editor sees the same change as from any other way of setting it.
  bool SetDate(QDateEdit* pEdit, const QDate& date) override {
    pEdit->setDate(date);
    return pEdit->date() == date;
  }
  bool SetTime(QTimeEdit* pEdit, const QTime& time) override {
    pEdit->setTime(time);
    return pEdit->time() == time;
  }
  bool Untick(QTreeView* pList, int nRow) override {
    const QModelIndex index = pList->model()->index(nRow, 0);
    pList->scrollTo(index);
    // The tick box sits at the left of the row's first cell.
    const QRect cell = pList->visualRect(index);
    const int nBox = pList->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, pList);
    const QPoint at(cell.left() + 3 + nBox / 2, cell.center().y());
    QTest::mouseClick(pList->viewport(), Qt::LeftButton, {}, at);
    return index.data(Qt::CheckStateRole).toInt() == Qt::Unchecked;
  }
};

class Keyboard final : public UserInput {
 public:
  static QWidget* Focus() { return QApplication::focusWidget(); }

  // A key goes where the keyboard is. When a dialog closes, a window manager
  // gives the keyboard back to the window beneath; the offscreen platform has
  // none, so that part is done here.
  static void Press(int nKey, Qt::KeyboardModifiers nModifiers = Qt::NoModifier) {
    if (!QApplication::activeWindow()) {
      QWidget* pBeneath = QApplication::activeModalWidget();
      for (QWidget* pWindow : QApplication::topLevelWidgets())
        if (!pBeneath && pWindow->isVisible() && pWindow->inherits("TfmMain")) pBeneath = pWindow;
      if (pBeneath) {
        pBeneath->activateWindow();
        (void)QTest::qWaitFor([pBeneath] { return QApplication::activeWindow() == pBeneath; }, 2000);
      }
    }
    QWidget* pTarget = Focus() ? Focus() : QApplication::activeWindow();
    if (!pTarget) {
      qWarning("no window has the keyboard");
      return;
    }
    QTest::keyClick(pTarget, static_cast<Qt::Key>(nKey), nModifiers);
  }

  // Moves the focus to pTarget the way a user does: Tab, and within a group of
  // radio buttons the arrow keys (which also check the radio they reach).
  static bool MoveTo(QWidget* pTarget) {
    auto* pRadio = qobject_cast<QRadioButton*>(pTarget);
    for (int n = 0; n < 100 && Focus() != pTarget; ++n) {
      auto* pAt = qobject_cast<QRadioButton*>(Focus());
      if (pRadio && pAt && pAt->parentWidget() == pRadio->parentWidget()) {
        const int nSiblings = pRadio->parentWidget()->findChildren<QRadioButton*>().size();
        for (int k = 0; k < nSiblings && Focus() != pTarget; ++k) Press(Qt::Key_Down);
        for (int k = 0; k < nSiblings && Focus() != pTarget; ++k) Press(Qt::Key_Up);
        if (Focus() == pTarget) break;
      }
      Press(Qt::Key_Tab);
    }
    return Focus() == pTarget;
  }

  // A date or time picker the keyboard way: Tab brings the focus to its first
  // part (day, month, hour, ...); Tab and Shift+Tab move between the parts and
  // the arrow keys step the part in focus. The largest parts go first, so that
  // a day is never cut to a shorter month on the way.
  static int Part(const QDateTime& when, QDateTimeEdit::Section nSection) {
    switch (nSection) {
      case QDateTimeEdit::DaySection: return when.date().day();
      case QDateTimeEdit::MonthSection: return when.date().month();
      case QDateTimeEdit::YearSection: return when.date().year();
      case QDateTimeEdit::HourSection: return when.time().hour();
      case QDateTimeEdit::MinuteSection: return when.time().minute();
      case QDateTimeEdit::SecondSection: return when.time().second();
      default: return 0;
    }
  }
  static bool StepSections(QDateTimeEdit* pEdit, const QDateTime& when) {
    if (!MoveTo(pEdit)) return false;
    QList<int> order;
    for (int n = 0; n < pEdit->sectionCount(); ++n) order << n;
    std::sort(order.begin(), order.end(), [pEdit](int a, int b) {
      return pEdit->sectionAt(a) > pEdit->sectionAt(b);  // years before months before days
    });
    int nAt = 0;
    for (int nIndex : order) {
      for (; nAt < nIndex; ++nAt) Press(Qt::Key_Tab);
      for (; nAt > nIndex; --nAt) Press(Qt::Key_Backtab, Qt::ShiftModifier);
      const QDateTimeEdit::Section nSection = pEdit->sectionAt(nIndex);
      if (pEdit->currentSection() != nSection) return false;
      for (int k = 0; k < 400 && Part(pEdit->dateTime(), nSection) != Part(when, nSection); ++k)
        Press(Part(pEdit->dateTime(), nSection) < Part(when, nSection) ? Qt::Key_Up : Qt::Key_Down);
    }
    return true;
  }

  // The letter after the single '&' of a caption; none without one.
  static QChar Mnemonic(const QString& strCaption) {
    for (qsizetype n = 0; n + 1 < strCaption.size(); ++n) {
      if (strCaption[n] != '&') continue;
      if (strCaption[n + 1] != '&') return strCaption[n + 1].toUpper();
      ++n;
    }
    return QChar();
  }

  bool Click(QAbstractButton* pButton) override {
    if (!pButton->isVisible() || !pButton->isEnabled()) return false;
    const QChar mnemonic = Mnemonic(pButton->text());
    if (!mnemonic.isNull())
      return WaitForClick(pButton, [&] { Press(Qt::Key_A + (mnemonic.unicode() - 'A'), Qt::AltModifier); });
    if (!MoveTo(pButton)) return false;
    if (auto* pRadio = qobject_cast<QRadioButton*>(pButton)) {
      if (!pRadio->isChecked()) Press(Qt::Key_Space);
      return pRadio->isChecked();
    }
    return WaitForClick(pButton, [] { Press(Qt::Key_Space); });
  }
  bool Choose(QComboBox* pCombo, const QString& strText) override {
    const int nIndex = pCombo->findText(strText);
    if (nIndex < 0 || !MoveTo(pCombo)) return false;
    // Home, then down the closed list to the entry.
    Press(Qt::Key_Home);
    for (int n = 0; n < nIndex; ++n) Press(Qt::Key_Down);
    return pCombo->currentIndex() == nIndex;
  }
  bool Type(QLineEdit* pEdit, const QString& strText) override {
    if (!MoveTo(pEdit)) return false;
    Press(Qt::Key_A, Qt::ControlModifier);
    Press(Qt::Key_Delete);
    TypeText(pEdit, strText);
    return pEdit->text() == strText;
  }
  bool SetNumber(QSpinBox* pSpin, int nValue) override {
    if (!MoveTo(pSpin)) return false;
    Press(Qt::Key_A, Qt::ControlModifier);
    TypeText(pSpin, QString::number(nValue));
    return pSpin->value() == nValue;
  }
  bool SetDate(QDateEdit* pEdit, const QDate& date) override {
    return StepSections(pEdit, QDateTime(date, pEdit->time())) && pEdit->date() == date;
  }
  bool SetTime(QTimeEdit* pEdit, const QTime& time) override {
    return StepSections(pEdit, QDateTime(pEdit->date(), time)) && pEdit->time() == time;
  }
  bool Untick(QTreeView* pList, int nRow) override {
    if (!MoveTo(pList)) return false;
    Press(Qt::Key_Home);
    for (int n = 0; n < nRow; ++n) Press(Qt::Key_Down);
    if (pList->currentIndex().row() != nRow) return false;
    Press(Qt::Key_Space);
    return pList->model()->index(nRow, 0).data(Qt::CheckStateRole).toInt() == Qt::Unchecked;
  }
};

// Fills the editor for one definition and presses OK; false (after closing the
// editor with Cancel) when a control would not take the input.
bool FillEditor(TfmOneField* pEditor, const Definition& def, UserInput& user, QString* pProblem,
                const std::function<void()>& beforeOK) {
  auto Fail = [&](const QString& strProblem) {
    *pProblem = QStringLiteral("%1: %2").arg(QString::fromUtf8(def.szField), strProblem);
    pEditor->reject();
    return false;
  };
  // The editor takes the keyboard when it opens, as a dialog does.
  // (QWindow::isActive also holds while the owner still has the keyboard.)
  if (!QTest::qWaitFor([pEditor] { return QApplication::activeWindow() == pEditor; }, 2000))
    return Fail(QStringLiteral("the editor did not take the keyboard"));
  if (!user.Choose(pEditor->cbName, QString::fromUtf8(def.szField)))
    return Fail(QStringLiteral("not offered (chosen: %1)").arg(pEditor->cbName->currentText()));
  const QString strValue = QString::fromUtf8(def.szValue);
  switch (def.nInput) {
    case Input::Text: {
      struct Operation {
        int32_t nOperation;
        QRadioButton* TfmOneField::*pRadio;
        QLineEdit* TfmOneField::*pValue;
      };
      const Operation operations[] = {
          {uoSet, &TfmOneField::rbtnSet, &TfmOneField::edtSetValue},
          {uoAppend, &TfmOneField::rbtnAppend, &TfmOneField::edtAppendValue},
          {uoInsert, &TfmOneField::rbtnInsert, &TfmOneField::edtInsertValue},
          {uoReplace, &TfmOneField::rbtnReplace, &TfmOneField::edtReplaceDest},
      };
      for (const Operation& operation : operations) {
        if (operation.nOperation != def.nOperation) continue;
        if (!user.Click(pEditor->*operation.pRadio)) return Fail(QStringLiteral("operation not chosen"));
        if (def.nOperation == uoReplace &&
            !user.Type(pEditor->edtReplaceSource, QString::fromUtf8(def.szSearch)))
          return Fail(QStringLiteral("search text not typed"));
        if (!user.Type(pEditor->*operation.pValue, strValue)) return Fail(QStringLiteral("value not typed"));
        if (def.nOperation == uoInsert && !user.SetNumber(pEditor->edtPosition, def.nNumber))
          return Fail(QStringLiteral("position not typed"));
      }
      break;
    }
    case Input::Date:
    case Input::DateTime: {
      const QDateTime when = QDateTime::fromString(strValue, Qt::ISODate);
      if (!user.SetDate(pEditor->pDate, when.date())) return Fail(QStringLiteral("date not taken"));
      if (def.nInput == Input::DateTime && !user.SetTime(pEditor->pTime, when.time()))
        return Fail(QStringLiteral("time not taken"));
      break;
    }
    case Input::Boolean:
      if (!user.Choose(pEditor->cbBoolValue, strValue)) return Fail(QStringLiteral("choice not taken"));
      break;
    case Input::Enumeration:
      if (!user.Choose(pEditor->cbEnumValue, strValue)) return Fail(QStringLiteral("entry not taken"));
      break;
    case Input::Integer:
      if (!user.SetNumber(pEditor->edtIntValue, def.nNumber)) return Fail(QStringLiteral("number not taken"));
      break;
  }
  beforeOK();
  if (!user.Click(pEditor->btnOK)) return Fail(QStringLiteral("OK not pressed"));
  if (pEditor->isVisible()) return Fail(QStringLiteral("the editor refused the input"));
  return true;
}

QString LogText(const ScopedDataHome& home) {
  QFile log(home.AppDataFolder() + QStringLiteral("appdebug.log"));
  return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

// The least size the layouts give pWidget when there is room: its own
// minimum, else its minimum size hint where it may shrink, its size hint
// where it may not.
QSize LeastSize(const QWidget* pWidget) {
  const QSizePolicy policy = pWidget->sizePolicy();
  const QSize hint = pWidget->sizeHint();
  const QSize minHint = pWidget->minimumSizeHint();
  auto Least = [](int nSet, QSizePolicy::Policy nPolicy, int nHint, int nMinHint) {
    if (nSet > 0) return nSet;
    if (nPolicy == QSizePolicy::Ignored) return 0;
    return (nPolicy & QSizePolicy::ShrinkFlag) ? nMinHint : nHint;
  };
  return QSize(
      Least(pWidget->minimumWidth(), policy.horizontalPolicy(), hint.width(), minHint.width()),
      Least(pWidget->minimumHeight(), policy.verticalPolicy(), hint.height(), minHint.height()));
}

// Whether pLayout (or a layout inside it) places pWidget.
bool Places(const QLayout* pLayout, const QWidget* pWidget) {
  for (int n = 0; pLayout && n < pLayout->count(); ++n) {
    QLayoutItem* pItem = pLayout->itemAt(n);
    if (pItem->widget() == pWidget || Places(pItem->layout(), pWidget)) return true;
  }
  return false;
}

// The widgets shown in pWindow that are cut off: lying partly outside it, or
// squeezed below the size they need. What a list or text box scrolls is not
// looked at: it is meant to lie partly out of view.
QStringList WidgetsOutside(const QWidget* pWindow) {
  QStringList outside;
  for (const QWidget* pWidget : pWindow->findChildren<QWidget*>()) {
    if (pWidget->isWindow() || !pWidget->isVisibleTo(pWindow)) continue;
    bool bScrolled = false;
    for (const QWidget* p = pWidget->parentWidget(); p && p != pWindow; p = p->parentWidget()) {
      const auto* pArea = qobject_cast<const QAbstractScrollArea*>(p->parentWidget());
      bScrolled = bScrolled || p->isWindow() || (pArea && pArea->viewport() == p);
    }
    const QRect rect(pWidget->mapTo(pWindow, QPoint(0, 0)), pWidget->size());
    // Only a layout squeezes; the parts of a list or a tab widget are sized
    // by it, as it likes.
    const QSize least =
        Places(pWidget->parentWidget()->layout(), pWidget) ? LeastSize(pWidget) : QSize(0, 0);
    if (bScrolled || (pWindow->rect().contains(rect) && rect.width() >= least.width() &&
                      rect.height() >= least.height()))
      continue;
    const auto* pButton = qobject_cast<const QAbstractButton*>(pWidget);
    outside << QStringLiteral("%1 '%2' at %3,%4 %5x%6 (needs %7x%8)")
                   .arg(QString::fromUtf8(pWidget->metaObject()->className()),
                        pButton ? pButton->text() : pWidget->objectName())
                   .arg(rect.x())
                   .arg(rect.y())
                   .arg(rect.width())
                   .arg(rect.height())
                   .arg(least.width())
                   .arg(least.height());
  }
  return outside;
}

}  // namespace

class EndToEndTest : public QObject {
  Q_OBJECT

 private:
  ScopedDataHome* m_pHome = nullptr;
  UserRecorder* m_pUser = nullptr;
  TestStore* m_pStore = nullptr;
  QPointer<TfmMain> m_pMain;
  QString m_strScreenshots;

  TfmPage* Page(int nIndex) const { return m_pMain->PageAt(nIndex); }
  template <typename TPage>
  TPage* Window(TfmMain::PageWindow nWindow) const {
    return static_cast<TPage*>(m_pMain->GetPageWindow(nWindow));
  }

  // Looks at a window as the user sees it: nothing of it may lie outside it,
  // and with QM_SCREENSHOT_DIR set its picture is saved there.
  void Snap(QWidget* pWidget, const char* szName) {
    QCoreApplication::processEvents();
    const QStringList outside = WidgetsOutside(pWidget);
    QVERIFY2(outside.isEmpty(), qPrintable(QString::fromUtf8(szName) + ": " + outside.join("; ")));
    if (m_strScreenshots.isEmpty()) return;
    pWidget->grab().save(QDir(m_strScreenshots).filePath(QString::fromUtf8(szName) + ".png"));
  }

  // The picture of the dialog fnOpen opens, which is then closed.
  void SnapDialog(const std::function<void()>& fnOpen, const char* szName) {
    bool bSeen = false;
    OnNextModal([&](QWidget* pDialog) {
      bSeen = true;
      Snap(pDialog, szName);
      pDialog->close();
    });
    fnOpen();
    QVERIFY2(bSeen, szName);
  }

  // The store a run starts from.
  static QByteArray SeedDocument(const KindRun& run) {
    QJsonObject document = QJsonDocument::fromJson(run.szStore).object();
    if (!run.strLongNote.isEmpty()) {
      const QString strKey = QStringLiteral("calendar");
      QJsonObject folder = document.value(strKey).toObject();
      QJsonArray items = folder.value(QStringLiteral("items")).toArray();
      QString strBody = QStringLiteral("The budget, line by line.\r\n");
      while (strBody.size() < kLongNoteBytes) strBody += QStringLiteral("Another line of the budget.\r\n");
      items.append(QJsonObject{{"Subject", run.strLongNote},
                               {"Start", "2024-03-18T09:00:00"},
                               {"End", "2024-03-18T09:30:00"},
                               {"Location", "Room 2"},
                               {"Body", strBody},
                               {"CreationTime", "2020-01-01T09:00:00"},
                               {"LastModificationTime", "2023-01-15T08:00:00"}});
      folder.insert(QStringLiteral("items"), items);
      document.insert(strKey, folder);
    }
    return QJsonDocument(document).toJson();
  }

  QJsonObject Export() {
    QJsonObject document;
    QString strError;
    if (!ExportStore(m_pHome->StoreFile(), &document, &strError))
      qWarning("export failed: %s", qPrintable(strError));
    return document;
  }

  // The rows of the selection list, by item name from the "before" document.
  QStringList ListedNames(const KindRun& run, TfmRecordPage* pPage, const QList<ExchangeItem>& items) {
    QStringList names;
    for (int n = 0; n < pPage->Model()->RecordCount(); ++n) {
      const QString strID = run.fnEntryID(pPage->Model()->RecordAt(n));
      QString strName = QStringLiteral("<unknown %1>").arg(strID);
      for (const ExchangeItem& item : items)
        if (item.strEntryID == strID) strName = ExchangeItemName(item.properties);
      names << strName;
    }
    return names;
  }

 private slots:
  void initTestCase() {
    // The program's own look, so that pictures show what users see.
    ApplyLook(*qApp);
    m_strScreenshots = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (!m_strScreenshots.isEmpty()) QDir().mkpath(m_strScreenshots);
  }

  void init() {
    m_pHome = new ScopedDataHome;
    m_pUser = new UserRecorder;
    m_pStore = new TestStore(m_pHome->StoreFile().toStdString());
    QVERIFY2(m_pStore->IsOpen(), m_pStore->Error().c_str());
  }

  void cleanup() {
    delete m_pMain.data();
    delete m_pStore;
    delete m_pUser;
    delete m_pHome;
  }

  // The comparison the runs rely on must see every kind of difference.
  void comparisonSeesEveryDifference_data() {
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("saved");  // EntryID:property=value of the expected changes
    QTest::addColumn<QString>("removed");
    QTest::addColumn<int>("differences");
    QTest::newRow("identical") << QString() << QString() << QString() << 0;
    QTest::newRow("expected change made") << R"(A:Subject=new;A:LastModificationTime=2024)" << "A:Subject=new"
                                          << QString() << 0;
    QTest::newRow("expected change missing") << R"(A:LastModificationTime=2024)" << "A:Subject=new"
                                             << QString() << 1;
    QTest::newRow("other property changed") << R"(A:Subject=new;A:Body=x;A:LastModificationTime=2024)"
                                            << "A:Subject=new" << QString() << 1;
    QTest::newRow("untouched item saved") << R"(B:LastModificationTime=2024)" << QString() << QString() << 1;
    QTest::newRow("changed item not saved") << R"(A:Subject=new)" << "A:Subject=new" << QString() << 1;
    QTest::newRow("item removed as expected") << R"(-A)" << QString() << "A" << 0;
    QTest::newRow("item removed unexpectedly") << R"(-A)" << QString() << QString() << 1;
    QTest::newRow("item expected gone is there") << QString() << QString() << "A" << 1;
    QTest::newRow("item added") << R"(+C)" << QString() << QString() << 1;
  }

  void comparisonSeesEveryDifference() {
    QFETCH(QString, after);
    QFETCH(QString, saved);
    QFETCH(QString, removed);
    QFETCH(int, differences);
    auto Item = [](const char* szID) {
      return QJsonObject{{"EntryID", szID}, {"Subject", "old"}, {"Body", "b"},
                         {"LastModificationTime", "2023-01-15T08:00:00"}};
    };
    auto Document = [](const QList<QJsonObject>& items) {
      QJsonArray array;
      for (const QJsonObject& item : items) array.append(item);
      return QJsonObject{{"tasks", QJsonObject{{"items", array}, {"folders", QJsonArray()}}}};
    };
    QMap<QString, QJsonObject> afterItems{{"A", Item("A")}, {"B", Item("B")}};
    // "A:Subject=new" changes a property, "-A" removes an item, "+C" adds one.
    for (const QString& strStep : after.split(';', Qt::SkipEmptyParts)) {
      if (strStep.startsWith('-')) {
        afterItems.remove(strStep.mid(1));
      } else if (strStep.startsWith('+')) {
        afterItems.insert(strStep.mid(1), Item(qPrintable(strStep.mid(1))));
      } else {
        const QString strID = strStep.section(':', 0, 0);
        afterItems[strID].insert(strStep.section(':', 1).section('=', 0, 0), strStep.section('=', 1));
      }
    }
    ExpectedChanges expected;
    for (const QString& strStep : saved.split(';', Qt::SkipEmptyParts))
      expected.saved[strStep.section(':', 0, 0)].insert(strStep.section(':', 1).section('=', 0, 0),
                                                        strStep.section('=', 1));
    for (const QString& strID : removed.split(';', Qt::SkipEmptyParts)) expected.removed.insert(strID);
    const QStringList found =
        UnexpectedDifferences(Document({Item("A"), Item("B")}), Document(afterItems.values()), expected);
    QVERIFY2(found.size() == differences, qPrintable(found.join('\n')));
  }

  void wholeRun_data() {
    QTest::addColumn<int>("run");
    for (size_t n = 0; n < std::size(kRuns); ++n)
      QTest::newRow(kRuns[n].szName) << static_cast<int>(n);
  }

  void wholeRun() {
    QFETCH(int, run);
    const KindRun& kind = kRuns[run];
    std::unique_ptr<UserInput> pUser;
    if (kind.bKeyboard)
      pUser = std::make_unique<Keyboard>();
    else
      pUser = std::make_unique<Mouse>();
    UserInput& user = *pUser;
    const bool bSnap = kind.bKeyboard;

    QString strError;
    QVERIFY2(ImportIntoStore(m_pHome->StoreFile(), SeedDocument(kind), &strError), qPrintable(strError));
    const QJsonObject before = Export();
    const QList<ExchangeItem> beforeItems = ExchangeItems(before);
    QVERIFY(!beforeItems.isEmpty());

    // The settings file as another start left it: another mode, and the
    // subfolder switch, which page 0 shows.
    QVERIFY(QDir().mkpath(m_pHome->AppDataFolder()));
    {
      QFile ini(m_pHome->SettingsFile());
      QVERIFY(ini.open(QIODevice::WriteOnly));
      ini.write(QStringLiteral("[DI-ZU]\r\nAppFlag=%1\r\nSubFolder=%2\r\n")
                    .arg(kind.nMode == 1 ? 2 : 1)
                    .arg(kind.bSubFolder ? 1 : 0)
                    .toUtf8());
    }

    // Start.
    m_pMain = new TfmMain;
    m_pMain->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pMain));
    m_pMain->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_pMain));
    QCOMPARE(m_pMain->GetCurPage(), 0);

    // Page 0: the kind.
    auto* pMode = Window<TfmMode>(TfmMain::pwMode);
    QCOMPARE(pMode->cbSubFolder->isChecked(), kind.bSubFolder);
    QVERIFY(user.Click(pMode->*kind.pRadio));
    QVERIFY((pMode->*kind.pRadio)->isChecked());
    if (bSnap) Snap(m_pMain, "1-mode");
    QVERIFY(user.Click(m_pMain->btnNext));
    QCOMPARE(m_pMain->GetCurPage(), 1);
    if (bSnap) Snap(m_pMain, "2-access");

    // Page 1: connect and read.
    QVERIFY(user.Click(m_pMain->btnNext));
    QCOMPARE(m_pMain->GetCurPage(), 2);

    // Page 2: every definition through the editor.
    auto* pFields = Window<TfmUpdateField>(TfmMain::pwUpdateField);
    for (const Definition& def : kind.definitions) {
      QString strProblem;
      bool bFilled = false;
      OnNextModal([&](QWidget* pModal) {
        auto* pEditor = qobject_cast<TfmOneField*>(pModal);
        if (!pEditor) {
          strProblem = QStringLiteral("the modal window is not the editor");
          pModal->close();
          return;
        }
        bFilled = FillEditor(pEditor, def, user, &strProblem, [&] {
          if (bSnap && def.nOperation == uoReplace) Snap(pEditor, "3-editor");
        });
      });
      QVERIFY(user.Click(pFields->btnAdd));
      QVERIFY2(bFilled, qPrintable(strProblem));
    }
    QStringList rows, wanted;
    for (int n = 0; n < pFields->lvFields->topLevelItemCount(); ++n)
      rows << pFields->lvFields->topLevelItem(n)->text(0) + " | " + pFields->lvFields->topLevelItem(n)->text(1);
    for (const Definition& def : kind.definitions)
      wanted << QString::fromUtf8(def.szField) + " | " + QString::fromUtf8(def.szDetails);
    QCOMPARE(rows, wanted);
    if (bSnap) Snap(m_pMain, "4-definitions");
    QVERIFY(user.Click(m_pMain->btnNext));
    QCOMPARE(m_pMain->GetCurPage(), 3);

    // Page 3: the items of the kind (of the subfolders too when the setting
    // says so), all ticked; back to the definitions and forward again lists
    // them afresh.
    auto* pSelect = qobject_cast<TfmRecordPage*>(Page(3));
    QVERIFY(pSelect);
    QCOMPARE(ListedNames(kind, pSelect, beforeItems), kind.listed);
    QVERIFY(user.Click(m_pMain->btnPrev));
    QCOMPARE(m_pMain->GetCurPage(), 2);
    QVERIFY(user.Click(m_pMain->btnNext));
    QCOMPARE(m_pMain->GetCurPage(), 3);
    QCOMPARE(pSelect->Model()->TickedRecords().size(), static_cast<size_t>(kind.listed.size()));
    QStringList ticked = kind.listed;
    for (const QString& strName : kind.unticked) {
      QVERIFY2(user.Untick(pSelect->List(), static_cast<int>(kind.listed.indexOf(strName))),
               qPrintable(strName));
      ticked.removeOne(strName);
    }
    if (bSnap) {
      Snap(m_pMain, "5-selection");
      SnapDialog([pSelect] { pSelect->btnPreview->click(); }, "5-preview");
    }
    QSignalSpy finished(Window<TfmProc>(TfmMain::pwProc), &TfmProc::RunFinished);
    if (bSnap) {
      QProgressBar* pBar = Window<TfmProc>(TfmMain::pwProc)->pbMain;
      connect(pBar, &QProgressBar::valueChanged, this, [this, pBar](int nValue) {
        if (nValue > 0 && nValue < 100 && !pBar->property("snapped").toBool()) {
          pBar->setProperty("snapped", true);
          Snap(m_pMain, "6-run");
        }
      });
    }
    QVERIFY(user.Click(m_pMain->btnNext));
    QCOMPARE(m_pMain->GetCurPage(), 4);

    // Behind the program's back, before the run starts.
    ExpectedChanges expected;
    if (!kind.strDeleted.isEmpty()) {
      const ExchangeItem* pGone = FindItemByName(beforeItems, kind.strDeleted);
      QVERIFY(pGone);
      QVERIFY(m_pStore->Remove(pGone->strEntryID.toStdString()));
      expected.removed.insert(pGone->strEntryID);
    }

    // Page 4 runs on its own and moves to the summary.
    QVERIFY(finished.wait(120000));
    QCOMPARE(m_pMain->GetCurPage(), 5);

    // Page 5: the summary tells the truth.
    auto* pFinish = Window<TfmFinish>(TfmMain::pwFinish);
    QCOMPARE(pFinish->lblApp->text(), QString::fromUtf8(kind.szApp));
    QCOMPARE(pFinish->lblFields->text(),
             QStringLiteral("%1 fields in total").arg(kind.definitions.size()));
    QCOMPARE(pFinish->lblRec->text(), QStringLiteral("%1 records in total").arg(ticked.size()));
    const QString strLog = LogText(*m_pHome);
    if (kind.logged.isEmpty()) {
      QCOMPARE(pFinish->lblResult->text(), QStringLiteral("Records updating successfully."));
      QVERIFY2(!strLog.contains(QStringLiteral("[Proc.cpp")), qPrintable(strLog));
      QVERIFY2(!strLog.contains(QStringLiteral("[CxUpdateRun.cpp")), qPrintable(strLog));
    } else {
      QCOMPARE(pFinish->lblResult->text(), kind.strResult);
      // Failures are written whatever the log settings: level 0, marked "!!!".
      for (const QString& strLine : kind.logged)
        QVERIFY2(strLog.contains(QStringLiteral("[!!!] - ") + strLine), qPrintable(strLog));
    }
    if (bSnap) {
      Snap(m_pMain, "7-summary");
      SnapDialog([pFinish] { pFinish->btnReport->click(); }, "8-report");
      // The undo is shown, not made: the store must keep what the run did.
      SnapDialog([pFinish] { pFinish->btnUndo->click(); }, "9-undo");
    }
    QStringList shown;
    for (const MessageBoxCall& message : m_pUser->messages) shown << message.strText;
    QVERIFY2(shown.isEmpty(), qPrintable(shown.join('\n')));

    // Finish ends the program; the settings keep the mode just used.
    QVERIFY(user.Click(m_pMain->btnClose));
    QTRY_VERIFY(m_pMain.isNull());
    QSettings settings(m_pHome->SettingsFile(), QSettings::IniFormat);
    QCOMPARE(settings.value("DI-ZU/AppFlag").toInt(), kind.nMode);
    QCOMPARE(settings.value("DI-ZU/SubFolder").toInt(), kind.bSubFolder ? 1 : 0);

    // Exactly the ticked items changed, exactly in the defined fields.
    for (const QString& strName : ticked) {
      if (strName == kind.strDeleted) continue;
      const ExchangeItem* pItem = FindItemByName(beforeItems, strName);
      QVERIFY2(pItem, qPrintable(strName));
      expected.saved.insert(pItem->strEntryID, ChangedProperties(kind.definitions, pItem->properties));
    }
    const QStringList differences = UnexpectedDifferences(before, Export(), expected);
    QVERIFY2(differences.isEmpty(), qPrintable(differences.join('\n')));
  }
};

QTEST_MAIN(EndToEndTest)
#include "EndToEnd_test.moc"
