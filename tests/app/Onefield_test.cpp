// The definition editor, driven as a user drives it: choosing a field and a
// value, clicking the operations, typing, then OK or Cancel.
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimeEdit>
#include <QtTest>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "app/Apputil.h"
#include "app/Context.h"
#include "app/Onefield.h"
#include "common/misc/CxList.h"
#include "support/AppTest.h"
#include "support/FieldContext.h"
#include "support/FieldDefs.h"
#include "update/Qmoladdr.h"
#include "update/Qmoldate.h"
#include "update/Qmolnote.h"
#include "update/Qmoltask.h"

namespace {

bool SameDefinition(const FieldUpdateDef& a, const FieldUpdateDef& b) {
  return memcmp(&a, &b, sizeof a) == 0;
}

struct Catalogue {
  int nMode;
  int32_t (*pCount)();
  const FieldDescriptor* (*pAt)(int32_t);
};
const Catalogue kCatalogues[] = {
    {1, &CxQMOLAddrUtil::GetFieldCount, &CxQMOLAddrUtil::GetFieldAt},
    {2, &CxQMOLDateUtil::GetFieldCount, &CxQMOLDateUtil::GetFieldAt},
    {4, &CxQMOLTaskUtil::GetFieldCount, &CxQMOLTaskUtil::GetFieldAt},
    {8, &CxQMOLNoteUtil::GetFieldCount, &CxQMOLNoteUtil::GetFieldAt},
};

QList<const FieldDescriptor*> CatalogueOf(int nMode) {
  QList<const FieldDescriptor*> fields;
  for (const Catalogue& catalogue : kCatalogues)
    if (catalogue.nMode == nMode)
      for (int32_t n = 0; n < catalogue.pCount(); ++n) fields.append(catalogue.pAt(n));
  return fields;
}

// Opens the editor on pDef the way the page does, on screen and ready for input.
bool Open(TfmOneField& dlg, FieldUpdateDef* pDef) {
  dlg.SetDefinition(pDef);
  if (!dlg.UpdateData(false)) return false;
  dlg.show();
  dlg.activateWindow();
  return QTest::qWaitForWindowActive(&dlg);
}

void ChooseIndex(QComboBox* pCombo, int nIndex) {
  QTest::keyClick(pCombo, Qt::Key_Home);
  for (int n = 0; n < nIndex; ++n) QTest::keyClick(pCombo, Qt::Key_Down);
}

bool Choose(QComboBox* pCombo, const QString& strText) {
  const int nIndex = pCombo->findText(strText);
  if (nIndex < 0) return false;
  ChooseIndex(pCombo, nIndex);
  return pCombo->currentIndex() == nIndex;
}

// Replaces an edit's text by typing, after clicking into it.
void Type(QWidget* pEdit, const QString& strText) {
  QTest::mouseClick(pEdit, Qt::LeftButton, {}, QPoint(pEdit->width() / 3, pEdit->height() / 2));
  QTest::keyClick(pEdit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(pEdit, Qt::Key_Delete);
  for (QChar ch : strText) {
    // Characters without a key of their own arrive as text, as from an input method.
    if (ch.unicode() < 0x80)
      QTest::keyClick(pEdit, ch.toLatin1());
    else
      QTest::sendKeyEvent(QTest::Click, pEdit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
  }
}

// Clicks on a radio's indicator, the part that reacts whatever the radio's width.
void ClickRadio(QRadioButton* pRadio) {
  QTest::mouseClick(pRadio, Qt::LeftButton, {}, QPoint(8, pRadio->height() / 2));
}

void Click(QPushButton* pButton) { QTest::mouseClick(pButton, Qt::LeftButton); }

// Plays what a user does on the String page: "rbtnX" clicks a radio,
// "edtX=text" types into an edit.
bool Play(TfmOneField& dlg, const QStringList& steps) {
  for (const QString& strStep : steps) {
    const qsizetype nEquals = strStep.indexOf(u'=');
    if (nEquals < 0) {
      auto* pRadio = dlg.findChild<QRadioButton*>(strStep);
      if (!pRadio) return false;
      ClickRadio(pRadio);
      if (!pRadio->isChecked()) return false;
      continue;
    }
    auto* pEdit = dlg.findChild<QWidget*>(strStep.left(nEquals));
    if (!pEdit) return false;
    Type(pEdit, strStep.mid(nEquals + 1));
  }
  return true;
}

const QList<QWidget*> StringEdits(TfmOneField& dlg) {
  return {dlg.edtSetValue,      dlg.edtAppendValue, dlg.edtInsertValue,
          dlg.edtPosition,      dlg.edtReplaceSource, dlg.edtReplaceDest};
}

QString EnabledEdits(TfmOneField& dlg) {
  QStringList names;
  for (QWidget* pEdit : StringEdits(dlg))
    if (pEdit->isEnabled()) names << pEdit->objectName();
  return names.join(u',');
}

// The String edits that show something, as "name=text".
QStringList FilledEdits(TfmOneField& dlg) {
  QStringList filled;
  for (QLineEdit* pEdit : {dlg.edtSetValue, dlg.edtAppendValue, dlg.edtInsertValue,
                           dlg.edtReplaceSource, dlg.edtReplaceDest})
    if (!pEdit->text().isEmpty()) filled << pEdit->objectName() + u'=' + pEdit->text();
  if (dlg.edtPosition->value() != 0)
    filled << QStringLiteral("edtPosition=") + dlg.edtPosition->text();
  return filled;
}

QString CheckedRadio(TfmOneField& dlg) {
  for (QRadioButton* pRadio : {dlg.rbtnSet, dlg.rbtnAppend, dlg.rbtnInsert, dlg.rbtnReplace})
    if (pRadio->isChecked()) return pRadio->objectName();
  return QString();
}

QString ComboState(const QComboBox* pCombo) {
  QStringList items;
  for (int n = 0; n < pCombo->count(); ++n) items << pCombo->itemText(n);
  return pCombo->currentText() + QStringLiteral(" of ") + items.join(u',');
}

QStringList VisiblePages(TfmOneField& dlg) {
  QStringList pages;
  for (int n = 0; n < dlg.pDetail->count(); ++n)
    if (dlg.pDetail->isTabVisible(n)) pages << dlg.pDetail->widget(n)->objectName();
  return pages;
}

// What the page on show offers, in one line.
QString ShownValue(TfmOneField& dlg) {
  QWidget* pPage = dlg.pDetail->currentWidget();
  if (pPage == dlg.tString)
    return QStringLiteral("%1 [%2] '%3'").arg(CheckedRadio(dlg), EnabledEdits(dlg),
                                               dlg.edtSetValue->text());
  if (pPage == dlg.tInteger) return QStringLiteral("int ") + dlg.edtIntValue->text();
  if (pPage == dlg.tBool) return QStringLiteral("bool ") + ComboState(dlg.cbBoolValue);
  if (pPage == dlg.tEnum) return QStringLiteral("enum ") + ComboState(dlg.cbEnumValue);
  if (pPage == dlg.tDateTime) {
    const QDate day = dlg.pDate->date();
    return QStringLiteral("date %1 %2").arg(
        day == QDate::currentDate() ? QStringLiteral("today") : day.toString(Qt::ISODate),
        dlg.pTime->isHidden() ? QStringLiteral("no time")
                              : dlg.pTime->time().toString(QStringLiteral("HH:mm:ss")));
  }
  return QStringLiteral("nothing");
}

// The drop-down list of the page on show: Boolean or Enumeration.
QComboBox* ValueChoices(TfmOneField& dlg) {
  return dlg.pDetail->currentWidget() == dlg.tBool ? dlg.cbBoolValue : dlg.cbEnumValue;
}

// The automation date of a local day and time.
double DayValue(QDate day, QTime time = QTime(0, 0)) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(day.year());
  st.wMonth = static_cast<WORD>(day.month());
  st.wDay = static_cast<WORD>(day.day());
  st.wHour = static_cast<WORD>(time.hour());
  st.wMinute = static_cast<WORD>(time.minute());
  st.wSecond = static_cast<WORD>(time.second());
  double dtValue = 0.0;
  SystemTimeToVariantTime(&st, &dtValue);
  return dtValue;
}

}  // namespace

class OnefieldTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

  void showsItsCaptions() {
    FieldContext context(4);
    TfmOneField dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Field Property"));
    QCOMPARE(dlg.size(), QSize(465, 466));
    QCOMPARE(dlg.lblTitle->text(),
             QStringLiteral("Please specify the details of the field to be updating."));
    QVERIFY(dlg.lblTitle->font().bold());
    dlg.SetTitle(QStringLiteral("Add field updating definitions:"));
    QCOMPARE(dlg.lblTitle->text(), QStringLiteral("Add field updating definitions:"));
    QCOMPARE(dlg.lblDesc->text(), QStringLiteral("<Empty>"));
    QVERIFY(dlg.edtType->isReadOnly());
    QCOMPARE(dlg.rbtnSet->text(), QStringLiteral("Set the value of this field as:"));
    QCOMPARE(dlg.rbtnAppend->text(), QStringLiteral("Append "));
    QCOMPARE(dlg.rbtnInsert->text(), QStringLiteral("Insert"));
    QCOMPARE(dlg.rbtnReplace->text(), QStringLiteral("Replace"));
    QCOMPARE(dlg.btnOK->text(), QStringLiteral("&OK"));
    QCOMPARE(dlg.btnCancel->text(), QStringLiteral("&Cancel"));
    QCOMPARE(dlg.pDetail->count(), 5);
    for (int n = 0; n < dlg.pDetail->count(); ++n)
      QCOMPARE(dlg.pDetail->tabText(n), QStringLiteral("Updating Details"));
    // No field chosen yet: no value page.
    QCOMPARE(VisiblePages(dlg), QStringList());
  }

  void insertSaysHowItsPositionCounts() {
    FieldContext context(4);
    FieldUpdateDef* pDef = context.Define(TextDef(22, uoInsert, "Dr. ", "", 4));
    TfmOneField dlg;
    QVERIFY(Open(dlg, pDef));
    QVERIFY(dlg.lblPositionHint->isVisible());
    QVERIFY(dlg.lblPositionHint->text().contains(QStringLiteral("from 0")));
    QCOMPARE(dlg.edtPosition->toolTip(), dlg.lblPositionHint->text());
    // Whole, between the Insert row and the Replace row.
    const QRect hint = dlg.lblPositionHint->geometry();
    QVERIFY(hint.height() >= dlg.lblPositionHint->heightForWidth(hint.width()));
    QVERIFY(hint.top() >= dlg.edtPosition->geometry().bottom());
    QVERIFY(hint.bottom() <= dlg.rbtnReplace->geometry().top());
  }

  void aTextTheFieldCannotHoldIsFlaggedBeforeOK_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("warning");  // empty: none shown
    // Job Title holds 31 bytes.
    const QString strFits(31, u'x');
    const QString strLong(32, u'x');
    const QString strWide = QString(16, QChar(0xE9));  // 32 bytes in UTF-8
    const QString strCut =
        QStringLiteral("This field holds 31 bytes; the text has %1 and will be cut to fit.");
    QTest::newRow("set, fits") << QStringList{"edtSetValue=" + strFits} << QString();
    QTest::newRow("set, too long") << QStringList{"edtSetValue=" + strLong} << strCut.arg(32);
    QTest::newRow("set, too long in bytes")
        << QStringList{"edtSetValue=" + strWide} << strCut.arg(32);
    QTest::newRow("append, too long")
        << QStringList{"rbtnAppend", "edtAppendValue=" + strLong} << strCut.arg(32);
    QTest::newRow("insert is not judged")
        << QStringList{"rbtnInsert", "edtInsertValue=" + strLong} << QString();
    QTest::newRow("switching away from a long set")
        << QStringList{"edtSetValue=" + strLong, "rbtnReplace", "edtReplaceSource=a"} << QString();
    QTest::newRow("shortened again")
        << QStringList{"edtSetValue=" + strLong, "edtSetValue=" + strFits} << QString();
  }

  void aTextTheFieldCannotHoldIsFlaggedBeforeOK() {
    QFETCH(QStringList, steps);
    QFETCH(QString, warning);
    FieldContext context(1);
    UserRecorder user;
    FieldUpdateDef def = NewDef(-1);
    TfmOneField dlg;
    QVERIFY(Open(dlg, &def));
    QVERIFY(Choose(dlg.cbName, QStringLiteral("Job Title")));
    QVERIFY(Play(dlg, steps));
    QCOMPARE(dlg.lblCutWarning->isVisible(), !warning.isEmpty());
    if (!warning.isEmpty()) {
      QCOMPARE(dlg.lblCutWarning->text(), warning);
      // Whole on the page.
      const QRect shown = dlg.lblCutWarning->geometry();
      QVERIFY(shown.height() >= dlg.lblCutWarning->heightForWidth(shown.width()));
      QVERIFY(shown.bottom() < dlg.tString->height());
    }
    // A warning, not a refusal: OK still stores the definition.
    Click(dlg.btnOK);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(user.messages.isEmpty());
  }

  void theSpinArrowsHaveTheirPictures() {
    // The style sheet draws the arrows from these; a picture the library did
    // not bring along leaves the buttons blank.
    for (const char* szName : {"spin-up", "spin-down", "spin-up-off", "spin-down-off"}) {
      const QPixmap picture(QStringLiteral(":/look/%1.png").arg(QString::fromUtf8(szName)));
      QVERIFY2(!picture.isNull() && picture.width() > 0, szName);
    }
  }

  void needsADefinition() {
    FieldContext context(4);
    UserRecorder user;
    TfmOneField dlg;
    QVERIFY(!dlg.UpdateData(false));
    QVERIFY(!dlg.UpdateData(true));
    QCOMPARE(dlg.cbName->count(), 0);
    QVERIFY(user.messages.isEmpty());
  }

  void newDefinitionOpensWithTheDefaults_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("field");  // empty: the field offered first
    QTest::addColumn<QString>("shownField");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("value");
    QTest::newRow("contact, first field") << 1 << "" << "Anniversary" << "Anniversary" << "Date"
                                          << "tDateTime" << "date today no time";
    QTest::newRow("contact text") << 1 << "Assistant Phone" << "Assistant Phone"
                                  << "Assistant Phone Number" << "String" << "tString"
                                  << "rbtnSet [edtSetValue] ''";
    QTest::newRow("contact gender") << 1 << "Gender" << "Gender" << "Gender" << "Enumeration"
                                    << "tEnum" << "enum Not Specified of Not Specified,Female,Male";
    QTest::newRow("calendar, first field")
        << 2 << "" << "All Day Event" << "All Day Event" << "Boolean" << "tBool"
        << "bool False(No) of True(Yes),False(No)";
    QTest::newRow("calendar start") << 2 << "Start Time" << "Start Time" << "Start Time"
                                    << "Date & Time" << "tDateTime" << "date today 00:00:00";
    QTest::newRow("calendar minutes")
        << 2 << "Reminder Minutes Before Start" << "Reminder Minutes Before Start"
        << "Reminder Minutes Before Start" << "Integer" << "tInteger" << "int 0";
    QTest::newRow("calendar busy status")
        << 2 << "Busy Status" << "Busy Status" << "Busy Status" << "Enumeration" << "tEnum"
        << "enum Free of Free,Tentative,Busy,Out Of Office";
    QTest::newRow("task, first field") << 4 << "" << "Subject" << "Subject" << "String"
                                       << "tString" << "rbtnSet [edtSetValue] ''";
    QTest::newRow("task importance, value 0 is not first")
        << 4 << "Importance" << "Importance" << "Importance" << "Enumeration" << "tEnum"
        << "enum Low of Normal,Low,High";
    QTest::newRow("task completed") << 4 << "Completed" << "Completed" << "Completed or Not"
                                    << "Boolean" << "tBool"
                                    << "bool False(No) of True(Yes),False(No)";
    QTest::newRow("task due date") << 4 << "Due Date" << "Due Date" << "Due Date" << "Date"
                                   << "tDateTime" << "date today no time";
    QTest::newRow("note, first field") << 8 << "" << "Color" << "Color" << "Enumeration" << "tEnum"
                                       << "enum Blue of Blue,Green,Pink,White,Yellow";
  }

  void newDefinitionOpensWithTheDefaults() {
    QFETCH(int, mode);
    QFETCH(QString, field);
    QFETCH(QString, shownField);
    QFETCH(QString, description);
    QFETCH(QString, type);
    QFETCH(QString, page);
    QFETCH(QString, value);
    FieldContext context(mode);
    FieldUpdateDef def = NewDef(-1);
    TfmOneField dlg;
    QVERIFY(Open(dlg, &def));
    if (!field.isEmpty()) QVERIFY(Choose(dlg.cbName, field));
    QCOMPARE(dlg.cbName->currentText(), shownField);
    QCOMPARE(dlg.lblDesc->text(), description);
    QCOMPARE(dlg.edtType->text(), type);
    QCOMPARE(VisiblePages(dlg), QStringList{page});
    QCOMPARE(dlg.pDetail->currentWidget()->objectName(), page);
    QCOMPARE(ShownValue(dlg), value);
  }

  void newDefinitionOffersOnlyFreeFields() {
    FieldContext context(1);
    context.Define(2);   // Anniversary
    FieldUpdateDef* pPhone = context.Define(4);  // Assistant Phone
    FieldUpdateDef def = NewDef(-1);
    TfmOneField dlg;
    QVERIFY(Open(dlg, &def));
    QStringList expected;
    for (const FieldDescriptor* pField : CatalogueOf(1))
      if (pField->nFieldID != 2 && pField->nFieldID != 4) expected << pField->szName;
    QStringList offered;
    for (int n = 0; n < dlg.cbName->count(); ++n) offered << dlg.cbName->itemText(n);
    QCOMPARE(offered, expected);
    QCOMPARE(dlg.cbName->currentText(), QStringLiteral("Assistant Name"));

    // An existing definition is offered every field, its own chosen, and may
    // take one that another definition uses.
    TfmOneField edit;
    QVERIFY(Open(edit, pPhone));
    QCOMPARE(edit.cbName->count(), CatalogueOf(1).size());
    QCOMPARE(edit.cbName->currentText(), QStringLiteral("Assistant Phone"));
    QVERIFY(Choose(edit.cbName, QStringLiteral("Anniversary")));
    Click(edit.btnOK);
    QCOMPARE(edit.result(), int(QDialog::Accepted));
    QCOMPARE(pPhone->nFieldID, 2);
    QCOMPARE(pPhone->nHasDate, 1);
  }

  void okIsRefusedWhileSomethingIsMissing_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<int>>("defined");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("every field has a definition")
        << 8 << QList<int>{3, 5} << QStringList() << "No field information is selected."
        << "";
    QTest::newRow("mode without a catalogue")
        << 3 << QList<int>() << QStringList() << "No field information is selected." << "";
    QTest::newRow("append nothing")
        << 4 << QList<int>() << QStringList{"edtSetValue=kept", "rbtnAppend"}
        << "The append string value can not be empty. Please enter some content."
        << "edtAppendValue";
    QTest::newRow("insert nothing")
        << 4 << QList<int>() << QStringList{"rbtnInsert", "edtPosition=4"}
        << "The insert string value can not be empty. Please enter some content."
        << "edtInsertValue";
    QTest::newRow("replace nothing")
        << 4 << QList<int>() << QStringList{"rbtnReplace", "edtReplaceDest=Dr."}
        << "The replace find value can not be empty. Please enter some content."
        << "edtReplaceSource";
  }

  void okIsRefusedWhileSomethingIsMissing() {
    QFETCH(int, mode);
    QFETCH(QList<int>, defined);
    QFETCH(QStringList, steps);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    FieldContext context(mode);
    for (int nFieldID : defined) context.Define(nFieldID);
    UserRecorder user;
    FieldUpdateDef def = NewDef(-1);
    TfmOneField dlg;
    QVERIFY(Open(dlg, &def));
    QVERIFY(Play(dlg, steps));
    const QStringList typed = FilledEdits(dlg);
    const QString strRadio = CheckedRadio(dlg);
    const FieldUpdateDef before = def;

    Click(dlg.btnOK);
    QCOMPARE(user.messages.size(), 1);
    QCOMPARE(user.messages[0].strText, message);
    QCOMPARE(user.messages[0].strCaption, QStringLiteral("Error"));
    QCOMPARE(user.messages[0].nIcon, QMessageBox::Critical);
    QCOMPARE(user.messages[0].pOwner, &dlg);
    QVERIFY(dlg.isVisible());
    QVERIFY(dlg.result() != QDialog::Accepted);
    QVERIFY(SameDefinition(def, before));
    QCOMPARE(FilledEdits(dlg), typed);
    QCOMPARE(CheckedRadio(dlg), strRadio);
    if (!focus.isEmpty()) {
      QVERIFY(dlg.focusWidget());
      QCOMPARE(dlg.focusWidget()->objectName(), focus);
    }
  }

  void textOperationsAreStoredAndShownAgain_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("set") << QStringList{"edtSetValue=Weekly review"} << 1 << "" << "Weekly review"
                         << 0 << "rbtnSet" << "edtSetValue"
                         << QStringList{"edtSetValue=Weekly review"};
    QTest::newRow("set nothing empties the field")
        << QStringList() << 1 << "" << "" << 0 << "rbtnSet" << "edtSetValue" << QStringList();
    QTest::newRow("append") << QStringList{"rbtnAppend", "edtAppendValue= (done)"} << 2 << ""
                            << " (done)" << 0 << "rbtnAppend" << "edtAppendValue"
                            << QStringList{"edtAppendValue= (done)"};
    QTest::newRow("insert") << QStringList{"rbtnInsert", "edtInsertValue=Dr. ", "edtPosition=4"}
                            << 3 << "" << "Dr. " << 4 << "rbtnInsert"
                            << "edtInsertValue,edtPosition"
                            << QStringList{"edtInsertValue=Dr. ", "edtPosition=4"};
    QTest::newRow("insert at a negative position")
        << QStringList{"rbtnInsert", "edtInsertValue=X", "edtPosition=-3"} << 3 << "" << "X"
        << -3 << "rbtnInsert" << "edtInsertValue,edtPosition"
        << QStringList{"edtInsertValue=X", "edtPosition=-3"};
    QTest::newRow("position that is no number reads as 0")
        << QStringList{"rbtnInsert", "edtPosition=7", "edtInsertValue=X", "edtPosition=-"} << 3
        << "" << "X" << 0 << "rbtnInsert" << "edtInsertValue,edtPosition"
        << QStringList{"edtInsertValue=X"};
    QTest::newRow("replace") << QStringList{"rbtnReplace", "edtReplaceSource=Mr.",
                                            "edtReplaceDest=Dr."}
                             << 4 << "Mr." << "Dr." << 0 << "rbtnReplace"
                             << "edtReplaceSource,edtReplaceDest"
                             << QStringList{"edtReplaceSource=Mr.", "edtReplaceDest=Dr."};
    QTest::newRow("replace with nothing")
        << QStringList{"rbtnReplace", "edtReplaceSource=Mr."} << 4 << "Mr." << "" << 0
        << "rbtnReplace" << "edtReplaceSource,edtReplaceDest"
        << QStringList{"edtReplaceSource=Mr."};
    QTest::newRow("only the checked operation counts")
        << QStringList{"edtSetValue=dropped", "rbtnReplace", "edtReplaceSource=a",
                       "rbtnAppend", "edtAppendValue=!"}
        << 2 << "" << "!" << 0 << "rbtnAppend" << "edtAppendValue"
        << QStringList{"edtAppendValue=!"};
    QTest::newRow("non-ASCII text") << QStringList{"edtSetValue=Zoë Müller"} << 1 << ""
                                    << "Zoë Müller" << 0 << "rbtnSet" << "edtSetValue"
                                    << QStringList{"edtSetValue=Zoë Müller"};
  }

  void textOperationsAreStoredAndShownAgain() {
    QFETCH(QStringList, steps);
    QFETCH(int, operation);
    QFETCH(QString, search);
    QFETCH(QString, value);
    QFETCH(int, position);
    QFETCH(QString, radio);
    QFETCH(QString, enabled);
    QFETCH(QStringList, shown);
    FieldContext context(4);
    FieldUpdateDef def = NewDef(-1);
    {
      TfmOneField dlg;
      QVERIFY(Open(dlg, &def));
      QCOMPARE(dlg.cbName->currentText(), QStringLiteral("Subject"));
      QVERIFY(Play(dlg, steps));
      QCOMPARE(EnabledEdits(dlg), enabled);
      Click(dlg.btnOK);
      QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }
    FieldUpdateDef expected;
    memset(&expected, 0, sizeof expected);
    expected.nFieldID = 22;
    expected.nOperation = operation;
    strcpy(expected.szSearch, search.toUtf8().constData());
    strcpy(expected.szValue, value.toUtf8().constData());
    expected.nPosition = position;
    QCOMPARE(QString::fromUtf8(def.szValue), value);
    QCOMPARE(QString::fromUtf8(def.szSearch), search);
    QCOMPARE(def.nOperation, operation);
    QCOMPARE(def.nPosition, position);
    QVERIFY(SameDefinition(def, expected));

    // Reopened as the Properties button does, it shows what was stored.
    context.Define(22);
    TfmOneField dlg;
    QVERIFY(Open(dlg, &def));
    QCOMPARE(dlg.cbName->currentText(), QStringLiteral("Subject"));
    QCOMPARE(CheckedRadio(dlg), radio);
    QCOMPARE(EnabledEdits(dlg), enabled);
    QCOMPARE(FilledEdits(dlg), shown);
  }

  void textsAreCutToTheDefinitionSize_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QByteArray>("search");
    QTest::addColumn<QByteArray>("value");
    const QString strLong(300, u'a');
    const QString strAccents(200, QChar(0xE9));
    const QString strSplit = QString(254, u'b') + QStringLiteral("éé");
    QTest::newRow("300 characters") << QStringList{"edtSetValue=" + strLong} << QByteArray()
                                    << QByteArray(255, 'a');
    // 200 two-byte characters: the cut falls before the 128th.
    QTest::newRow("two-byte characters")
        << QStringList{"edtSetValue=" + strAccents} << QByteArray()
        << QString(127, QChar(0xE9)).toUtf8();
    QTest::newRow("a character across the last byte")
        << QStringList{"edtSetValue=" + strSplit} << QByteArray() << QByteArray(254, 'b');
    QTest::newRow("replace texts") << QStringList{"rbtnReplace", "edtReplaceSource=" + strSplit,
                                                  "edtReplaceDest=" + strLong}
                                   << QByteArray(254, 'b') << QByteArray(255, 'a');
  }

  void textsAreCutToTheDefinitionSize() {
    QFETCH(QStringList, steps);
    QFETCH(QByteArray, search);
    QFETCH(QByteArray, value);
    FieldContext context(4);
    FieldUpdateDef def = NewDef(-1);
    TfmOneField dlg;
    QVERIFY(Open(dlg, &def));
    QVERIFY(Play(dlg, steps));
    Click(dlg.btnOK);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(QByteArray(def.szSearch), search);
    QCOMPARE(QByteArray(def.szValue), value);
  }

  void integerIsReadFromItsText_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::newRow("positive") << "15" << 15;
    QTest::newRow("negative") << "-12" << -12;
    QTest::newRow("largest") << "2147483647" << INT_MAX;
    QTest::newRow("smallest") << "-2147483648" << INT_MIN;
    QTest::newRow("letters are refused") << "1x2" << 12;
    QTest::newRow("only a minus sign") << "-" << 0;
    QTest::newRow("nothing") << "" << 0;
  }

  void integerIsReadFromItsText() {
    QFETCH(QString, typed);
    QFETCH(int, stored);
    FieldContext context(2);
    FieldUpdateDef def = NewDef(-1);
    def.nValue = 99;  // what a refused or empty text must not bring back
    TfmOneField dlg;
    QVERIFY(Open(dlg, &def));
    QVERIFY(Choose(dlg.cbName, QStringLiteral("Reminder Minutes Before Start")));
    QCOMPARE(dlg.edtIntValue->value(), 99);
    Type(dlg.edtIntValue, typed);
    Click(dlg.btnOK);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(def.nFieldID, 16);
    QCOMPARE(def.nValue, stored);
  }

  void choicesAreStoredAsTheirValues_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<int>("flag");
    QTest::addColumn<int>("value");
    QTest::newRow("true") << 2 << "All Day Event" << "True(Yes)" << 1 << 0;
    QTest::newRow("false") << 4 << "Team Task" << "False(No)" << 0 << 0;
    QTest::newRow("importance high") << 4 << "Importance" << "High" << 0 << 2;
    QTest::newRow("importance normal") << 4 << "Importance" << "Normal" << 0 << 1;
    QTest::newRow("task status deferred") << 4 << "Status" << "Deferred" << 0 << 4;
    QTest::newRow("busy out of office") << 2 << "Busy Status" << "Out Of Office" << 0 << 3;
    QTest::newRow("gender female") << 1 << "Gender" << "Female" << 0 << 1;
    QTest::newRow("colour white") << 8 << "Color" << "White" << 0 << 4;
    QTest::newRow("colour yellow") << 8 << "Color" << "Yellow" << 0 << 3;
  }

  void choicesAreStoredAsTheirValues() {
    QFETCH(int, mode);
    QFETCH(QString, field);
    QFETCH(QString, choice);
    QFETCH(int, flag);
    QFETCH(int, value);
    FieldContext context(mode);
    FieldUpdateDef def = NewDef(-1);
    TfmOneField dlg;
    QVERIFY(Open(dlg, &def));
    QVERIFY(Choose(dlg.cbName, field));
    QVERIFY(Choose(ValueChoices(dlg), choice));
    Click(dlg.btnOK);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(int(def.bValue), flag);
    QCOMPARE(def.nValue, value);

    // Reopened, the stored value is chosen again.
    TfmOneField again;
    QVERIFY(Open(again, &def));
    QCOMPARE(again.cbName->currentText(), field);
    QCOMPARE(ValueChoices(again)->currentText(), choice);
  }

  void storingClearsWhatTheNewTypeDoesNotUse() {
    FieldContext context(4);
    auto* pDef = context.Define(22);
    pDef->nOperation = uoInsert;
    strcpy(pDef->szSearch, "left over");
    strcpy(pDef->szValue, "Dr. ");
    pDef->nPosition = 4;
    pDef->nHasDate = 1;
    pDef->dtValue = 45366.5;
    pDef->bValue = 1;
    TfmOneField dlg;
    QVERIFY(Open(dlg, pDef));
    QVERIFY(Choose(dlg.cbName, QStringLiteral("Importance")));
    QVERIFY(Choose(dlg.cbEnumValue, QStringLiteral("High")));
    Click(dlg.btnOK);
    FieldUpdateDef expected;
    memset(&expected, 0, sizeof expected);
    expected.nFieldID = 6;
    expected.nValue = 2;
    QVERIFY(SameDefinition(*pDef, expected));
  }

  void changingTheFieldShowsTheDefinitionAgain() {
    FieldContext context(4);
    FieldUpdateDef def = NewDef(-1);
    TfmOneField dlg;
    QVERIFY(Open(dlg, &def));
    QVERIFY(Play(dlg, {"edtSetValue=typed", "rbtnAppend", "edtAppendValue=more"}));
    QVERIFY(Choose(dlg.cbName, QStringLiteral("Note")));
    QCOMPARE(ShownValue(dlg), QStringLiteral("rbtnSet [edtSetValue] ''"));
    QCOMPARE(FilledEdits(dlg), QStringList());
    QVERIFY(Choose(dlg.cbName, QStringLiteral("Importance")));
    QCOMPARE(VisiblePages(dlg), QStringList{"tEnum"});
    QVERIFY(Choose(dlg.cbEnumValue, QStringLiteral("High")));
    QVERIFY(Choose(dlg.cbName, QStringLiteral("Sensitivity")));
    QCOMPARE(ShownValue(dlg),
             QStringLiteral("enum Normal of Normal,Personal,Private,Confidential"));
    QVERIFY(Choose(dlg.cbName, QStringLiteral("Importance")));
    QCOMPARE(ShownValue(dlg), QStringLiteral("enum Low of Normal,Low,High"));
  }

  void datesAreStoredAsDayPlusTimeOfDay_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<double>("stored");
    // 15 March 2024 is day 45366 after 30 December 1899.
    QTest::newRow("date and time") << 2 << "Start Time" << QDate(2024, 3, 15) << QTime(14, 30)
                                   << 45366.0 + 14.5 / 24.0;
    QTest::newRow("date only") << 4 << "Due Date" << QDate(2024, 3, 15) << QTime() << 45366.0;
    QTest::newRow("midnight") << 4 << "Reminder Time" << QDate(2000, 1, 1) << QTime(0, 0)
                              << 36526.0;
    QTest::newRow("to the second") << 2 << "End Time" << QDate(2024, 3, 15)
                                   << QTime(23, 59, 59) << 45366.0 + 86399.0 / 86400.0;
    // Before 30 December 1899 the day counts down and the time of day still
    // adds to its size.
    QTest::newRow("before 1900") << 2 << "End Time" << QDate(1890, 1, 1) << QTime(6, 0)
                                 << -3650.25;
    QTest::newRow("birthday before 1900") << 1 << "Birthday" << QDate(1890, 1, 1) << QTime()
                                          << -3650.0;
  }

  void datesAreStoredAsDayPlusTimeOfDay() {
    QFETCH(int, mode);
    QFETCH(QString, field);
    QFETCH(QDate, day);
    QFETCH(QTime, time);
    QFETCH(double, stored);
    FieldContext context(mode);
    FieldUpdateDef def = NewDef(-1);
    {
      TfmOneField dlg;
      QVERIFY(Open(dlg, &def));
      QVERIFY(Choose(dlg.cbName, field));
      QCOMPARE(dlg.pTime->isHidden(), !time.isValid());
      dlg.pDate->setDate(day);
      if (time.isValid()) dlg.pTime->setTime(time);
      Click(dlg.btnOK);
      QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }
    QCOMPARE(def.nHasDate, 1);
    QVERIFY2(std::fabs(def.dtValue - stored) < 1e-7,
             qPrintable(QString::number(def.dtValue, 'f', 9)));

    TfmOneField again;
    QVERIFY(Open(again, &def));
    QCOMPARE(again.pDate->date(), day);
    if (time.isValid()) QCOMPARE(again.pTime->time(), time);
  }

  void everyCatalogueFieldCanBeStored_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("contacts") << 1;
    QTest::newRow("calendar") << 2;
    QTest::newRow("tasks") << 4;
    QTest::newRow("notes") << 8;
  }

  void everyCatalogueFieldCanBeStored() {
    QFETCH(int, mode);
    FieldContext context(mode);
    const QList<const FieldDescriptor*> fields = CatalogueOf(mode);
    QVERIFY(!fields.isEmpty());
    for (int nIndex = 0; nIndex < fields.size(); ++nIndex) {
      const FieldDescriptor& field = *fields[nIndex];
      const QString strName = QString::fromUtf8(field.szName);
      FieldUpdateDef def = NewDef(-1);
      TfmOneField dlg;
      QVERIFY(Open(dlg, &def));
      QCOMPARE(dlg.cbName->count(), fields.size());
      ChooseIndex(dlg.cbName, nIndex);
      QCOMPARE(dlg.cbName->currentText(), strName);
      QCOMPARE(dlg.edtType->text(), QString::fromUtf8(GetFieldTypeName(field.nType)));

      FieldUpdateDef expected;
      memset(&expected, 0, sizeof expected);
      expected.nFieldID = field.nFieldID;
      const QDate day(2021, 6, 1 + nIndex % 28);
      switch (field.nType) {
        case ftString:
          Type(dlg.edtSetValue, strName + u'!');
          expected.nOperation = uoSet;
          strcpy(expected.szValue, (strName + u'!').toUtf8().constData());
          break;
        case ftInteger:
          Type(dlg.edtIntValue, QString::number(-7 - nIndex));
          expected.nValue = -7 - nIndex;
          break;
        case ftBoolean:
          QVERIFY(Choose(dlg.cbBoolValue, QStringLiteral("True(Yes)")));
          expected.bValue = 1;
          break;
        case ftEnumeration:
          QVERIFY(field.nEnumCount > 1);
          ChooseIndex(dlg.cbEnumValue, field.nEnumCount - 1);
          expected.nValue = field.nEnumValues[field.nEnumCount - 1];
          break;
        case ftDate:
          dlg.pDate->setDate(day);
          expected.nHasDate = 1;
          expected.dtValue = DayValue(day);
          break;
        case ftDateTime:
          dlg.pDate->setDate(day);
          dlg.pTime->setTime(QTime(9, nIndex % 60, 30));
          expected.nHasDate = 1;
          expected.dtValue = DayValue(day, QTime(9, nIndex % 60, 30));
          break;
        default: QFAIL(qPrintable(strName + QStringLiteral(" has an unknown type")));
      }
      Click(dlg.btnOK);
      QVERIFY2(dlg.result() == QDialog::Accepted, qPrintable(strName));
      QVERIFY2(SameDefinition(def, expected), qPrintable(strName));
    }
  }

  void cancelLeavesTheDefinitionAsItWas_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("cancel button") << "cancel";
    QTest::newRow("escape key") << "escape";
    QTest::newRow("closing the window") << "close";
  }

  void cancelLeavesTheDefinitionAsItWas() {
    QFETCH(QString, how);
    FieldContext context(4);
    FieldUpdateDef* pDef = context.Define(22);
    pDef->nOperation = uoInsert;
    strcpy(pDef->szValue, "Dr. ");
    pDef->nPosition = 4;
    const FieldUpdateDef before = *pDef;
    TfmOneField dlg;
    QVERIFY(Open(dlg, pDef));
    QVERIFY(Play(dlg, {"edtInsertValue=Prof. ", "rbtnReplace", "edtReplaceSource=x"}));
    QVERIFY(Choose(dlg.cbName, QStringLiteral("Note")));
    QVERIFY(Play(dlg, {"rbtnSet", "edtSetValue=other"}));
    if (how == "cancel") Click(dlg.btnCancel);
    if (how == "escape") QTest::keyClick(&dlg, Qt::Key_Escape);
    if (how == "close") dlg.close();
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QVERIFY(SameDefinition(*pDef, before));
  }

  void runsModally() {
    FieldContext context(8);
    FieldUpdateDef def = NewDef(-1);
    TfmOneField dlg;
    dlg.SetDefinition(&def);
    QVERIFY(dlg.UpdateData(false));
    QString strShownTitle;
    OnNextModal([&](QWidget* pModal) {
      auto* pEditor = qobject_cast<TfmOneField*>(pModal);
      if (!pEditor) {
        pModal->close();
        return;
      }
      strShownTitle = pEditor->lblTitle->text();
      Choose(pEditor->cbEnumValue, QStringLiteral("Pink"));
      Click(pEditor->btnOK);
    });
    dlg.SetTitle(QStringLiteral("View field updating definitions:"));
    QCOMPARE(dlg.exec(), int(QDialog::Accepted));
    QCOMPARE(strShownTitle, QStringLiteral("View field updating definitions:"));
    QCOMPARE(def.nFieldID, 3);
    QCOMPARE(def.nValue, 2);
  }
};

QTEST_MAIN(OnefieldTest)
#include "Onefield_test.moc"
