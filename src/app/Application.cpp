#include "app/Application.h"

#include <exception>

#include "app/UiSeams.h"
#include "common/misc/CxDebugUtil.h"

TxApplication::TxApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TxApplication::notify(QObject* pReceiver, QEvent* pEvent) {
  try {
    return QApplication::notify(pReceiver, pEvent);
  } catch (const std::exception& e) {
    QM_LOG(0, "Unhandled exception in an event handler: %s", e.what());
    ShowExceptionMessage(QString::fromUtf8(e.what()));
  } catch (...) {
    QM_LOG(0, "Unhandled exception of unknown type in an event handler.");
    ShowExceptionMessage(QString());
  }
  return false;
}

void ShowExceptionMessage(const QString& strMessage) {
  ShowMessageBox(QApplication::activeWindow(), strMessage, QApplication::applicationName(),
                 QMessageBox::Critical);
}
