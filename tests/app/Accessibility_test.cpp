// Every control of every window has a name that assistive technology reads
// out: the main window with all its pages, the detail viewers, the definition
// editor and the dialogs.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/AccessibleNames.h"
#include "app/Addrdetail.h"
#include "app/Datedetail.h"
#include "app/Debugger.h"
#include "app/Dump.h"
#include "app/Main.h"
#include "app/Notedetail.h"
#include "app/Onefield.h"
#include "app/Preview.h"
#include "app/Runs.h"
#include "app/Tododetail.h"
#include "support/AppTest.h"
#include "support/PassingPage.h"
#include "update/CxChangeReport.h"

namespace {

struct WindowCase {
  const char* szName;
  std::function<QWidget*()> fnOpen;
};

const WindowCase kWindows[] = {
    {"main window with its pages", [] { return new TfmMain; }},
    {"contact details", [] { return new TfmAddrDetail; }},
    {"calendar details", [] { return new TfmDateDetail; }},
    {"task details", [] { return new TfmTodoDetail; }},
    {"note details", [] { return new TfmNoteDetail; }},
    {"definition editor", [] { return new TfmOneField; }},
    {"debug options", [] { return new TfmDebug; }},
    {"error report", [] { return new TfmDump; }},
    {"preview", [] { return new TfmPreview(CxChangeReport(), QStringLiteral("Preview")); }},
    {"past runs", [] { return new TfmRuns; }},
};

// A widget that belongs to another control and is read out as part of it:
// the text box of a spin box or combo box and its pop-up, scroll bars, the
// tabs of a tab widget, the viewport of a list or text box.
bool IsPartOfAControl(const QWidget* pWidget, const QWidget* pWindow) {
  // The pop-up of a combo box is a window of its own.
  for (const QWidget* p = pWidget->parentWidget(); p && p != pWindow; p = p->parentWidget())
    if (p->isWindow()) return true;
  const QWidget* pParent = pWidget->parentWidget();
  if (qobject_cast<const QScrollBar*>(pWidget)) return true;
  if (qobject_cast<const QAbstractSpinBox*>(pParent) || qobject_cast<const QComboBox*>(pParent))
    return true;
  if (qobject_cast<const QTabWidget*>(pParent) && qobject_cast<const QTabBar*>(pWidget))
    return true;
  if (qobject_cast<const QTabBar*>(pParent)) return true;  // its scroll buttons
  const auto* pArea = qobject_cast<const QAbstractScrollArea*>(pParent);
  return pArea && pArea->viewport() == pWidget;
}

// What the user can reach with the keyboard or work with the mouse.
bool IsControl(const QWidget* pWidget) {
  if (pWidget->isWindow() || qobject_cast<const QLabel*>(pWidget)) return false;
  return pWidget->focusPolicy() != Qt::NoFocus || qobject_cast<const QAbstractButton*>(pWidget);
}

// How a failure names a widget: its class, its object name, and the classes
// of the widgets it lies in.
QString Describe(const QWidget* pWidget, const QWidget* pWindow) {
  QString strPath;
  for (const QWidget* p = pWidget->parentWidget(); p && p != pWindow; p = p->parentWidget())
    strPath += QStringLiteral(" in ") + QString::fromUtf8(p->metaObject()->className());
  const auto* pButton = qobject_cast<const QAbstractButton*>(pWidget);
  return QStringLiteral("%1 '%2' \"%3\"%4")
      .arg(QString::fromUtf8(pWidget->metaObject()->className()), pWidget->objectName(),
           pButton ? pButton->text() : QString(), strPath);
}

}  // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

  void readableCaptions_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("readable");
    QTest::newRow("access key") << "&Next >"
                                << "Next >";
    QTest::newRow("access key inside") << "Pas&t Runs..."
                                       << "Past Runs...";
    QTest::newRow("ampersand") << "Q&&A"
                               << "Q&A";
    QTest::newRow("label") << "Field Name:"
                           << "Field Name";
    QTest::newRow("label with blanks") << " Path : "
                                       << "Path";
    QTest::newRow("plain") << "Outlook Tasks"
                           << "Outlook Tasks";
    QTest::newRow("empty") << ""
                           << "";
  }

  void readableCaptions() {
    QFETCH(QString, caption);
    QFETCH(QString, readable);
    QCOMPARE(ReadableCaption(caption), readable);
  }

  void namingTakesCaptionsAndBuddies() {
    QWidget window;
    auto* pButton = new QPushButton(QStringLiteral("&Save"), &window);
    auto* pLabel = new QLabel(QStringLiteral("&Name:"), &window);
    auto* pEdit = new QLineEdit(&window);
    pLabel->setBuddy(pEdit);
    auto* pNamed = new QLineEdit(&window);
    pNamed->setAccessibleName(QStringLiteral("Given"));
    auto* pLonely = new QLineEdit(&window);
    NameControls(&window);
    QCOMPARE(pButton->accessibleName(), QStringLiteral("Save"));
    QCOMPARE(pEdit->accessibleName(), QStringLiteral("Name"));
    QCOMPARE(pNamed->accessibleName(), QStringLiteral("Given"));
    QCOMPARE(pLonely->accessibleName(), QString());
  }

  void everyControlHasAName_data() {
    QTest::addColumn<int>("window");
    for (size_t n = 0; n < std::size(kWindows); ++n)
      QTest::newRow(kWindows[n].szName) << static_cast<int>(n);
  }

  void everyControlHasAName() {
    QFETCH(int, window);
    ScopedDataHome home;
    UserRecorder user;
    QPointer<QWidget> pWindow = kWindows[window].fnOpen();
    QStringList unnamed;
    int nControls = 0;
    for (const QWidget* pWidget : pWindow->findChildren<QWidget*>()) {
      if (!IsControl(pWidget) || IsPartOfAControl(pWidget, pWindow)) continue;
      ++nControls;
      // A name of signs alone (a "..." button's) says nothing either.
      if (!pWidget->accessibleName().contains(QRegularExpression(QStringLiteral("\\p{L}"))))
        unnamed << Describe(pWidget, pWindow);
    }
    delete pWindow.data();
    QVERIFY(nControls > 0);
    for (const QString& strUnnamed : unnamed)
      qWarning("without a name: %s", qPrintable(strUnnamed));
    QVERIFY2(unnamed.isEmpty(),
             qPrintable(QStringLiteral("%1 controls without a name").arg(unnamed.size())));
  }

  // A caption that changes keeps its name in step.
  void closeButtonIsNamedByItsCaption() {
    ScopedDataHome home;
    QPointer<TfmMain> pMain = new TfmMain;
    for (int n = 0; n < TfmMain::pwCount; ++n)
      pMain->SetPageWindow(static_cast<TfmMain::PageWindow>(n), new PassingPage);
    QCOMPARE(pMain->btnClose->accessibleName(), QStringLiteral("Cancel"));
    pMain->GoToPage(5);
    QCOMPARE(pMain->btnClose->text(), QStringLiteral("&Finish"));
    QCOMPARE(pMain->btnClose->accessibleName(), QStringLiteral("Finish"));
    pMain->GoToPage(0);
    QCOMPARE(pMain->btnClose->accessibleName(), QStringLiteral("Cancel"));
    delete pMain.data();
  }
};

QTEST_MAIN(AccessibilityTest)
#include "Accessibility_test.moc"
