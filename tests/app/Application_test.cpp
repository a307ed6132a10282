// The application object's last line of defence: an exception thrown by an
// event handler becomes a message instead of ending the program.
#include <QtTest>
#include <stdexcept>

#include "app/Application.h"
#include "support/AppTest.h"

namespace {

// Throws from its event handler, as a broken page could.
class ThrowingObject : public QObject {
 public:
  enum Kind { Standard, Unknown };
  explicit ThrowingObject(Kind nKind) : m_nKind(nKind) {}

 protected:
  bool event(QEvent* pEvent) override {
    if (pEvent->type() != QEvent::User) return QObject::event(pEvent);
    if (m_nKind == Standard) throw std::runtime_error("the page broke");
    throw 7;
  }

 private:
  Kind m_nKind;
};

}  // namespace

class ApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void exceptionFromAHandlerBecomesAMessage_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("standard exception") << int(ThrowingObject::Standard) << "the page broke";
    QTest::newRow("exception without a message") << int(ThrowingObject::Unknown) << "";
  }

  void exceptionFromAHandlerBecomesAMessage() {
    QFETCH(int, kind);
    QFETCH(QString, text);
    ScopedDataHome home;
    UserRecorder user;
    ThrowingObject object(static_cast<ThrowingObject::Kind>(kind));
    QCoreApplication::postEvent(&object, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&object, QEvent::User);
    QCOMPARE(user.messages.size(), 1);
    QCOMPARE(user.messages[0].strText, text);
    QCOMPARE(user.messages[0].strCaption, QStringLiteral("Quillmere for Outlook"));
    QCOMPARE(user.messages[0].nIcon, QMessageBox::Critical);
  }
};

int main(int argc, char** argv) {
  TxApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Quillmere for Outlook"));
  ApplicationTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "Application_test.moc"
