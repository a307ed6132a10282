// The definitions page: its rows mirror the definitions list, Add, Delete and
// Properties go through the editor, and the wizard cannot leave the page while
// the list is empty.
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/Apputil.h"
#include "app/Context.h"
#include "app/Main.h"
#include "app/Onefield.h"
#include "app/Updatefield.h"
#include "common/misc/CxList.h"
#include "support/AppTest.h"
#include "support/FieldContext.h"
#include "support/FieldDefs.h"
#include "support/TestStore.h"
#include "update/Qmoladdr.h"
#include "update/Qmoldate.h"
#include "update/Qmolnote.h"
#include "update/Qmoltask.h"

Q_DECLARE_METATYPE(FieldUpdateDef)

namespace {

QList<FieldUpdateDef*> ListedDefinitions() {
  QList<FieldUpdateDef*> defs;
  for (void* pItem = g_pFieldList->GetFirst(); pItem; pItem = g_pFieldList->GetNext())
    defs.append(static_cast<FieldUpdateDef*>(pItem));
  return defs;
}

QStringList RowTexts(const TfmUpdateField& page) {
  QStringList rows;
  for (int n = 0; n < page.lvFields->topLevelItemCount(); ++n) {
    const QTreeWidgetItem* pRow = page.lvFields->topLevelItem(n);
    rows << pRow->text(0) + QStringLiteral(" | ") + pRow->text(1);
  }
  return rows;
}

QList<FieldUpdateDef*> RowDefinitions(const TfmUpdateField& page) {
  QList<FieldUpdateDef*> defs;
  for (int n = 0; n < page.lvFields->topLevelItemCount(); ++n)
    defs.append(TfmUpdateField::RowDefinition(page.lvFields->topLevelItem(n)));
  return defs;
}

QList<int> SelectedRows(const TfmUpdateField& page) {
  QList<int> rows;
  for (int n = 0; n < page.lvFields->topLevelItemCount(); ++n)
    if (page.lvFields->topLevelItem(n)->isSelected()) rows.append(n);
  return rows;
}

bool ShowPage(TfmUpdateField& page) {
  page.resize(792, 326);
  page.show();
  page.activateWindow();
  return QTest::qWaitForWindowActive(&page);
}

QPoint RowCentre(const TfmUpdateField& page, int nRow) {
  return page.lvFields->visualItemRect(page.lvFields->topLevelItem(nRow)).center();
}

// Clicks the rows in the order given: the first alone, the others adding to
// the selection (a Ctrl+click on a selected row takes it out again).
void SelectRows(TfmUpdateField& page, const QList<int>& clicks) {
  for (int n = 0; n < clicks.size(); ++n)
    QTest::mouseClick(page.lvFields->viewport(), Qt::LeftButton,
                      n == 0 ? Qt::KeyboardModifiers() : Qt::ControlModifier,
                      RowCentre(page, clicks[n]));
}

void Click(QPushButton* pButton) { QTest::mouseClick(pButton, Qt::LeftButton); }

void Choose(QComboBox* pCombo, const QString& strText) {
  const int nIndex = pCombo->findText(strText);
  QTest::keyClick(pCombo, Qt::Key_Home);
  for (int n = 0; n < nIndex; ++n) QTest::keyClick(pCombo, Qt::Key_Down);
}

void Type(QWidget* pEdit, const QString& strText) {
  QTest::mouseClick(pEdit, Qt::LeftButton, {}, QPoint(pEdit->width() / 3, pEdit->height() / 2));
  QTest::keyClick(pEdit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(pEdit, strText);
}

void ClickRadio(QRadioButton* pRadio) {
  QTest::mouseClick(pRadio, Qt::LeftButton, {}, QPoint(8, pRadio->height() / 2));
}

// What the editor that a click opened showed when it came up.
struct EditorSeen {
  bool bShown = false;
  QString strTitle;
  QString strField;
  int nFields = 0;
};

// Answers the editor that the next click opens: records what it shows, lets
// act do what the user does, then presses OK or Cancel.
std::shared_ptr<EditorSeen> OnEditor(bool bOK, std::function<void(TfmOneField*)> act = {}) {
  auto pSeen = std::make_shared<EditorSeen>();
  OnNextModal([pSeen, bOK, act](QWidget* pModal) {
    auto* pEditor = qobject_cast<TfmOneField*>(pModal);
    if (!pEditor) {
      pModal->close();
      return;
    }
    pSeen->bShown = true;
    pSeen->strTitle = pEditor->lblTitle->text();
    pSeen->strField = pEditor->cbName->currentText();
    pSeen->nFields = pEditor->cbName->count();
    if (act) act(pEditor);
    Click(bOK ? pEditor->btnOK : pEditor->btnCancel);
    // An editor that refused OK is still open: give up on it.
    if (pEditor->isVisible()) pEditor->reject();
  });
  return pSeen;
}

// A double-click as the mouse makes it: a click, then the second press.
void DoubleClickRow(TfmUpdateField& page, int nRow) {
  QWidget* pViewport = page.lvFields->viewport();
  QTest::mouseClick(pViewport, Qt::LeftButton, {}, RowCentre(page, nRow));
  QTest::mouseDClick(pViewport, Qt::LeftButton, {}, RowCentre(page, nRow));
  QTest::mouseRelease(pViewport, Qt::LeftButton, {}, RowCentre(page, nRow));
}

// Four task definitions of different types.
const FieldUpdateDef kTaskDefs[] = {
    TextDef(22, uoSet, "Weekly review"),
    TextDef(1, uoAppend, " (checked)"),
    IntDef(6, 2),
    IntDef(10, 50),
};
const QStringList kTaskRows = {
    "Subject | Set value to \"Weekly review\"",
    "Note | Append \" (checked)\" to the field.",
    "Importance | Set value to \"High\"",
    "Percent Complete | Set value to \"50\"",
};

}  // namespace

class UpdatefieldTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

  void showsItsControls() {
    TfmUpdateField page;
    QCOMPARE(page.lvFields->headerItem()->text(0), QStringLiteral("Field Name"));
    QCOMPARE(page.lvFields->headerItem()->text(1), QStringLiteral("Update Details"));
    QCOMPARE(page.lvFields->columnWidth(0), 200);
    QCOMPARE(page.lvFields->columnWidth(1), 480);
    QCOMPARE(page.lvFields->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(page.lvFields->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(page.btnAdd->text(), QStringLiteral("&Add"));
    QCOMPARE(page.btnDel->text(), QStringLiteral("&Delete"));
    QCOMPARE(page.btnProp->text(), QStringLiteral("&Properties"));
    QCOMPARE(page.Label1->text(), QStringLiteral("Profiles:"));
    QCOMPARE(page.btnLoad->text(), QStringLiteral("&Load"));
    QCOMPARE(page.btnSave->text(), QStringLiteral("&Save"));
    QVERIFY(!page.Label1->isHidden());
    QVERIFY(!page.btnLoad->isHidden());
    QVERIFY(!page.btnSave->isHidden());
    QVERIFY(!page.btnDel->isEnabled());
    QVERIFY(!page.btnProp->isEnabled());
  }

  void describesEachDefinition_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<FieldUpdateDef>("def");
    QTest::addColumn<QString>("row");
    // 15 March 2024 is day 45366 after 30 December 1899.
    QTest::newRow("set") << 4 << TextDef(22, uoSet, "Weekly review")
                         << "Subject | Set value to \"Weekly review\"";
    QTest::newRow("set nothing") << 4 << TextDef(22, uoSet, "") << "Subject | Set value to \"\"";
    QTest::newRow("append") << 4 << TextDef(22, uoAppend, " (done)")
                            << "Subject | Append \" (done)\" to the field.";
    QTest::newRow("insert") << 4 << TextDef(22, uoInsert, "Dr. ", "", 4)
                            << "Subject | Insert \"Dr. \" at position 4";
    QTest::newRow("insert at a negative position")
        << 4 << TextDef(22, uoInsert, "X", "", -2) << "Subject | Insert \"X\" at position -2";
    QTest::newRow("replace") << 1 << TextDef(32, uoReplace, "Dr.", "Mr.")
                             << "First Name | Replace \"Mr.\" with \"Dr.\"";
    QTest::newRow("no operation") << 4 << TextDef(22, uoNone, "unused") << "Subject | ";
    QTest::newRow("quotes and percent signs stay text")
        << 4 << TextDef(22, uoSet, "say \"%s\" 100%")
        << "Subject | Set value to \"say \"%s\" 100%\"";
    QTest::newRow("place markers in a replaced text stay text")
        << 1 << TextDef(32, uoReplace, "%1%2", "%2 and %1")
        << "First Name | Replace \"%2 and %1\" with \"%1%2\"";
    QTest::newRow("place markers in an inserted text stay text")
        << 4 << TextDef(22, uoInsert, "%2", "", 3) << "Subject | Insert \"%2\" at position 3";
    QTest::newRow("non-ASCII text")
        << 4 << TextDef(22, uoSet, "Zoë Müller") << "Subject | Set value to \"Zoë Müller\"";
    QTest::newRow("true") << 4 << BoolDef(3, true) << "Completed | Set value to \"True(Yes)\"";
    QTest::newRow("false") << 4 << BoolDef(3, false) << "Completed | Set value to \"False(No)\"";
    QTest::newRow("calendar flag")
        << 2 << BoolDef(19, true) << "Reminder Set | Set value to \"True(Yes)\"";
    QTest::newRow("integer") << 4 << IntDef(10, 150) << "Percent Complete | Set value to \"150\"";
    QTest::newRow("negative integer")
        << 2 << IntDef(16, -5) << "Reminder Minutes Before Start | Set value to \"-5\"";
    QTest::newRow("enumeration") << 4 << IntDef(6, 2) << "Importance | Set value to \"High\"";
    QTest::newRow("enumeration value 0")
        << 4 << IntDef(6, 0) << "Importance | Set value to \"Low\"";
    QTest::newRow("enumeration value outside")
        << 4 << IntDef(6, 7) << "Importance | <Not Specified>";
    QTest::newRow("busy status") << 2 << IntDef(2, 3)
                                 << "Busy Status | Set value to \"Out Of Office\"";
    QTest::newRow("note colour") << 8 << IntDef(3, 4) << "Color | Set value to \"White\"";
    QTest::newRow("gender") << 1 << IntDef(34, 1) << "Gender | Set value to \"Female\"";
    QTest::newRow("date") << 4 << DateDef(4, 45366.0) << "Due Date | Set value to \"03/15/2024\"";
    QTest::newRow("date not marked present") << 1 << DateDef(5, 45366.0, 0)
                                             << "Birthday | Set value to \"03/15/2024\"";
    QTest::newRow("date and time") << 4 << DateDef(15, 45366.0 + 14.5 / 24.0)
                                   << "Reminder Time | Set value to \"03/15/2024 14:30:00\"";
    QTest::newRow("calendar start") << 2 << DateDef(25, 45366.75)
                                    << "Start Time | Set value to \"03/15/2024 18:00:00\"";
    QTest::newRow("field of another kind") << 8 << TextDef(22, uoSet, "x") << " | ";
  }

  void describesEachDefinition() {
    QFETCH(int, mode);
    QFETCH(FieldUpdateDef, def);
    QFETCH(QString, row);
    FieldContext context(mode);
    FieldUpdateDef* pDef = context.Define(def);
    TfmUpdateField page;
    QVERIFY(page.UpdateData(false));
    QCOMPARE(RowTexts(page), QStringList{row});
    // A row whose field the catalogue does not know holds no definition.
    const bool bKnown = !row.startsWith(u' ');
    QCOMPARE(RowDefinitions(page), QList<FieldUpdateDef*>{bKnown ? pDef : nullptr});
  }

  void typeOutsideTheTableHasNoDetails_data() {
    QTest::addColumn<int>("type");
    QTest::newRow("zero") << 0;
    QTest::newRow("seven") << 7;
    QTest::newRow("negative") << -1;
  }

  void typeOutsideTheTableHasNoDetails() {
    QFETCH(int, type);
    FieldDescriptor field{};
    field.nFieldID = 1;
    field.nType = type;
    QCOMPARE(TfmUpdateField::UpdateDetailsText(field, TextDef(1, uoSet, "x")),
             QStringLiteral("<Unknown>"));
  }

  void refreshShowsTheListAndSelectsTheFirstRow_data() {
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("four") << 4;
  }

  void refreshShowsTheListAndSelectsTheFirstRow() {
    QFETCH(int, count);
    FieldContext context(4);
    for (int n = 0; n < count; ++n) context.Define(kTaskDefs[n]);
    TfmUpdateField page;
    QVERIFY(ShowPage(page));
    // Rows left from before (another list) go.
    new QTreeWidgetItem(page.lvFields, QStringList{"stale", "row"});
    QVERIFY(page.UpdateData(false));
    QCOMPARE(RowTexts(page), kTaskRows.mid(0, count));
    QCOMPARE(RowDefinitions(page), ListedDefinitions());
    QCOMPARE(SelectedRows(page), count ? QList<int>{0} : QList<int>());
    QCOMPARE(page.btnDel->isEnabled(), count > 0);
    QCOMPARE(page.btnProp->isEnabled(), count > 0);
  }

  void buttonsFollowTheSelection() {
    FieldContext context(4);
    for (const FieldUpdateDef& def : kTaskDefs) context.Define(def);
    TfmUpdateField page;
    QVERIFY(ShowPage(page));
    page.UpdateData(false);
    SelectRows(page, {2, 2});  // select, then take out again
    QCOMPARE(SelectedRows(page), QList<int>());
    QVERIFY(!page.btnDel->isEnabled());
    QVERIFY(!page.btnProp->isEnabled());
    SelectRows(page, {3});
    QCOMPARE(SelectedRows(page), QList<int>{3});
    QVERIFY(page.btnDel->isEnabled());
    QVERIFY(page.btnProp->isEnabled());
  }

  void leaveCheckNeedsADefinition_data() {
    QTest::addColumn<bool>("context");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("passes");
    QTest::newRow("no context") << false << 0 << false;
    QTest::newRow("empty list") << true << 0 << false;
    QTest::newRow("one definition") << true << 1 << true;
    QTest::newRow("four definitions") << true << 4 << true;
  }

  void leaveCheckNeedsADefinition() {
    QFETCH(bool, context);
    QFETCH(int, count);
    QFETCH(bool, passes);
    std::unique_ptr<FieldContext> pContext;
    if (context) pContext = std::make_unique<FieldContext>(4);
    for (int n = 0; n < count; ++n) pContext->Define(kTaskDefs[n]);
    UserRecorder user;
    TfmUpdateField page;
    QCOMPARE(page.UpdateData(true), passes);
    if (passes) {
      QVERIFY(user.messages.isEmpty());
      return;
    }
    QCOMPARE(user.messages.size(), 1);
    QCOMPARE(user.messages[0].strText,
             QStringLiteral("Please add some field updating information."));
    QCOMPARE(user.messages[0].strCaption, QStringLiteral("Error"));
    QCOMPARE(user.messages[0].nIcon, QMessageBox::Critical);
    QCOMPARE(user.messages[0].pOwner, &page);
  }

  void addAppendsWhatTheEditorStored() {
    FieldContext context(4);
    FieldUpdateDef* pFirst = context.Define(kTaskDefs[0]);
    TfmUpdateField page;
    QVERIFY(ShowPage(page));
    page.UpdateData(false);
    auto pSeen = OnEditor(true, [](TfmOneField* pEditor) {
      ClickRadio(pEditor->rbtnInsert);
      Type(pEditor->edtInsertValue, QStringLiteral("Dr. "));
      Type(pEditor->edtPosition, QStringLiteral("4"));
    });
    Click(page.btnAdd);
    QVERIFY(pSeen->bShown);
    QCOMPARE(pSeen->strTitle, QStringLiteral("Add field updating definitions:"));
    // Subject has its definition already: the first free field is offered.
    QCOMPARE(pSeen->strField, QStringLiteral("Note"));
    QCOMPARE(pSeen->nFields, 16);

    const QList<FieldUpdateDef*> defs = ListedDefinitions();
    QCOMPARE(defs.size(), 2);
    QCOMPARE(defs[0], pFirst);
    QCOMPARE(defs[1]->nFieldID, 1);
    QCOMPARE(defs[1]->nOperation, int(uoInsert));
    QCOMPARE(QByteArray(defs[1]->szValue), QByteArray("Dr. "));
    QCOMPARE(defs[1]->nPosition, 4);
    QCOMPARE(RowTexts(page), (QStringList{kTaskRows[0], "Note | Insert \"Dr. \" at position 4"}));
    QCOMPARE(RowDefinitions(page), defs);

    // Properties brings it back exactly as stored.
    bool bInsertChecked = false;
    QString strShown;
    QStringList enabled;
    pSeen = OnEditor(false, [&](TfmOneField* pEditor) {
      bInsertChecked = pEditor->rbtnInsert->isChecked();
      strShown = pEditor->edtInsertValue->text() + u'@' + pEditor->edtPosition->text();
      const QList<QWidget*> edits = {pEditor->edtSetValue,    pEditor->edtAppendValue,
                                     pEditor->edtInsertValue, pEditor->edtPosition,
                                     pEditor->edtReplaceSource, pEditor->edtReplaceDest};
      for (QWidget* pEdit : edits)
        if (pEdit->isEnabled()) enabled << pEdit->objectName();
    });
    DoubleClickRow(page, 1);
    QCOMPARE(pSeen->strTitle, QStringLiteral("View field updating definitions:"));
    QCOMPARE(pSeen->strField, QStringLiteral("Note"));
    QCOMPARE(pSeen->nFields, 17);
    QVERIFY(bInsertChecked);
    QCOMPARE(strShown, QStringLiteral("Dr. @4"));
    QCOMPARE(enabled, (QStringList{"edtInsertValue", "edtPosition"}));
  }

  void addThenCancelChangesNothing_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<FieldUpdateDef>>("defined");
    QTest::addColumn<bool>("pressOK");
    QTest::addColumn<int>("messages");
    QTest::newRow("cancel") << 4 << QList<FieldUpdateDef>{kTaskDefs[0], kTaskDefs[2]} << false
                            << 0;
    // Every note field has a definition: OK is refused, then the user cancels.
    QTest::newRow("no field left")
        << 8 << QList<FieldUpdateDef>{IntDef(3, 1), TextDef(5, uoSet, "body")} << true << 1;
  }

  void addThenCancelChangesNothing() {
    QFETCH(int, mode);
    QFETCH(QList<FieldUpdateDef>, defined);
    QFETCH(bool, pressOK);
    QFETCH(int, messages);
    FieldContext context(mode);
    for (const FieldUpdateDef& def : defined) context.Define(def);
    UserRecorder user;
    TfmUpdateField page;
    QVERIFY(ShowPage(page));
    page.UpdateData(false);
    const QList<FieldUpdateDef*> defsBefore = ListedDefinitions();
    const QStringList rowsBefore = RowTexts(page);
    auto pSeen = OnEditor(pressOK, [](TfmOneField* pEditor) {
      if (pEditor->cbName->count() > 0) Type(pEditor->edtSetValue, QStringLiteral("typed"));
    });
    Click(page.btnAdd);
    QVERIFY(pSeen->bShown);
    QCOMPARE(user.messages.size(), messages);
    QCOMPARE(ListedDefinitions(), defsBefore);
    QCOMPARE(RowTexts(page), rowsBefore);
    QCOMPARE(RowDefinitions(page), defsBefore);
  }

  void deleteRemovesTheFirstSelectedDefinition_data() {
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QList<int>>("left");  // rows of kTaskDefs left
    QTest::newRow("one row") << QList<int>{2} << QList<int>{0, 1, 3};
    QTest::newRow("the last row") << QList<int>{3} << QList<int>{0, 1, 2};
    QTest::newRow("three rows, chosen from the bottom")
        << QList<int>{3, 1, 2} << QList<int>{0, 2, 3};
    QTest::newRow("nothing selected") << QList<int>{0, 0} << QList<int>{0, 1, 2, 3};
  }

  void deleteRemovesTheFirstSelectedDefinition() {
    QFETCH(QList<int>, clicks);
    QFETCH(QList<int>, left);
    FieldContext context(4);
    QList<FieldUpdateDef*> all;
    for (const FieldUpdateDef& def : kTaskDefs) all.append(context.Define(def));
    TfmUpdateField page;
    QVERIFY(ShowPage(page));
    page.UpdateData(false);
    SelectRows(page, clicks);
    Click(page.btnDel);

    QList<FieldUpdateDef*> expectedDefs;
    QStringList expectedRows;
    for (int n : left) {
      expectedDefs.append(all[n]);
      expectedRows.append(kTaskRows[n]);
    }
    // The deleted definition was freed by the list (the context frees the
    // rest; a second free would abort the test).
    QCOMPARE(ListedDefinitions(), expectedDefs);
    QCOMPARE(RowTexts(page), expectedRows);
    QCOMPARE(RowDefinitions(page), expectedDefs);
    page.UpdateData(false);
    QCOMPARE(RowTexts(page), expectedRows);
  }

  void propertiesEditsTheFirstSelectedDefinition_data() {
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<bool>("pressOK");
    QTest::addColumn<int>("edited");  // -1: no editor
    QTest::newRow("button, OK") << QList<int>{1} << false << true << 1;
    QTest::newRow("button, cancel") << QList<int>{1} << false << false << 1;
    QTest::newRow("three rows, chosen from the bottom")
        << QList<int>{3, 2, 0} << false << true << 0;
    QTest::newRow("double-click, OK") << QList<int>{} << true << true << 2;
    QTest::newRow("nothing selected") << QList<int>{0, 0} << false << true << -1;
  }

  void propertiesEditsTheFirstSelectedDefinition() {
    QFETCH(QList<int>, clicks);
    QFETCH(bool, doubleClick);
    QFETCH(bool, pressOK);
    QFETCH(int, edited);
    FieldContext context(4);
    QList<FieldUpdateDef*> all;
    for (const FieldUpdateDef& def : kTaskDefs) all.append(context.Define(def));
    TfmUpdateField page;
    QVERIFY(ShowPage(page));
    page.UpdateData(false);
    SelectRows(page, clicks);
    std::shared_ptr<EditorSeen> pSeen;
    // Without a selection the button is disabled and no editor may come up
    // (one that did would wait for an answer that never comes).
    QCOMPARE(page.btnProp->isEnabled(), edited >= 0);
    if (edited >= 0) {
      pSeen = OnEditor(pressOK, [](TfmOneField* pEditor) {
        Choose(pEditor->cbName, QStringLiteral("Team Task"));
        Choose(pEditor->cbBoolValue, QStringLiteral("True(Yes)"));
      });
    }
    if (doubleClick)
      DoubleClickRow(page, 2);
    else
      Click(page.btnProp);

    QStringList expected = kTaskRows;
    if (edited >= 0) {
      QVERIFY(pSeen->bShown);
      QCOMPARE(pSeen->strField, kTaskRows[edited].section(QStringLiteral(" | "), 0, 0));
      if (pressOK) {
        expected[edited] = QStringLiteral("Team Task | Set value to \"True(Yes)\"");
        QCOMPARE(all[edited]->nFieldID, 24);
        QCOMPARE(int(all[edited]->bValue), 1);
      }
    }
    QCOMPARE(RowTexts(page), expected);
    QCOMPARE(ListedDefinitions(), all);
    QCOMPARE(RowDefinitions(page), all);
  }

  // Save writes the list as a profile; Load puts a profile's definitions in
  // its place, after asking, and only when the whole profile is sound.
  void profilesSaveAndLoadTheList() {
    ScopedDataHome home;
    UserRecorder user;
    FieldContext context(1);
    context.Define(TextDef(46, uoSet, "Chief"));
    context.Define(IntDef(34, 2));
    TfmUpdateField page;
    page.UpdateData(false);

    const QString strProfile = home.AppDataFolder() + "profiles/team.ini";
    user.strOpenFileAnswer = strProfile;
    page.btnSave->click();
    QCOMPARE(user.openFiles.size(), 1);
    QVERIFY(user.openFiles[0].bSave);
    QCOMPARE(user.openFiles[0].strInitial, home.AppDataFolder() + "profiles/contacts.ini");
    QVERIFY(QFileInfo(strProfile).isFile());
    QVERIFY(user.messages.isEmpty());

    g_pFieldList->RemoveAll(true);
    context.Define(TextDef(19, uoAppend, " Ltd"));
    page.UpdateData(false);
    user.nAnswer = QMessageBox::No;
    page.btnLoad->click();
    QCOMPARE(user.openFiles.last().strInitial, strProfile);  // the last profile is offered
    QCOMPARE(user.messages.size(), 1);
    QCOMPARE(user.messages[0].nIcon, QMessageBox::Question);
    QCOMPARE(user.messages[0].strText,
             QStringLiteral("Replace the 1 definitions of the list with the 2 of the profile?"));
    QCOMPARE(g_pFieldList->GetCount(), 1u);

    user.nAnswer = QMessageBox::Yes;
    page.btnLoad->click();
    QCOMPARE(g_pFieldList->GetCount(), 2u);
    QCOMPARE(page.lvFields->topLevelItem(0)->text(0), QStringLiteral("Job Title"));
    QCOMPARE(page.lvFields->topLevelItem(1)->text(1), QStringLiteral("Set value to \"Male\""));

    // A profile of another kind: refused, without a question, the list kept.
    QFile other(home.AppDataFolder() + "profiles/calendar.ini");
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("[Profile]\nKind=calendar\nDefinitions=1\n");
    other.close();
    user.messages.clear();
    user.strOpenFileAnswer = other.fileName();
    page.btnLoad->click();
    QCOMPARE(user.messages.size(), 1);
    QCOMPARE(
        user.messages[0].strText,
        QStringLiteral("The profile was not loaded: %1, section [Profile]: it is a profile for "
                       "calendar items, not for contacts.")
            .arg(other.fileName()));
    QCOMPARE(g_pFieldList->GetCount(), 2u);
  }

  void wizardStaysOnThePageUntilADefinitionIsAdded() {
    ScopedDataHome home;
    TestStore store(home.StoreFile().toStdString());
    QVERIFY2(store.IsOpen(), store.Error().c_str());
    UserRecorder user;
    QPointer<TfmMain> pMain = new TfmMain;
    pMain->show();
    QVERIFY(QTest::qWaitForWindowExposed(pMain));
    pMain->GoToPage(1);
    Click(pMain->btnNext);
    QCOMPARE(pMain->GetCurPage(), 2);
    auto* pPage = static_cast<TfmUpdateField*>(pMain->GetPageWindow(TfmMain::pwUpdateField));
    QVERIFY(!pPage->isHidden());
    QCOMPARE(pPage->lvFields->topLevelItemCount(), 0);

    Click(pMain->btnNext);
    QCOMPARE(pMain->GetCurPage(), 2);
    QCOMPARE(user.messages.size(), 1);
    QCOMPARE(user.messages[0].strText,
             QStringLiteral("Please add some field updating information."));
    QCOMPARE(user.messages[0].pOwner, pPage);

    auto pSeen = OnEditor(true);
    Click(pPage->btnAdd);
    QVERIFY(pSeen->bShown);
    QCOMPARE(pPage->lvFields->topLevelItemCount(), 1);
    Click(pMain->btnNext);
    QCOMPARE(pMain->GetCurPage(), 3);
    QCOMPARE(user.messages.size(), 1);

    // Back to page 1 and forward again: a new context, and the page shows its
    // empty list.
    Click(pMain->btnPrev);
    Click(pMain->btnPrev);
    QCOMPARE(pMain->GetCurPage(), 1);
    Click(pMain->btnNext);
    QCOMPARE(pMain->GetCurPage(), 2);
    QCOMPARE(pPage->lvFields->topLevelItemCount(), 0);
    QVERIFY(!pPage->btnDel->isEnabled());
    delete pMain.data();
  }
};

QTEST_MAIN(UpdatefieldTest)
#include "Updatefield_test.moc"
