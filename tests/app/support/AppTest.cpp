#include "support/AppTest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QWidget>

namespace {

void Restore(const char* szName, bool bHad, const QByteArray& value) {
  if (bHad)
    qputenv(szName, value);
  else
    qunsetenv(szName);
}

}  // namespace

ScopedDataHome::ScopedDataHome()
    : m_oldDataHome(qgetenv("XDG_DATA_HOME")),
      m_oldStorePath(qgetenv("OLSTORE_PATH")),
      m_bHadDataHome(qEnvironmentVariableIsSet("XDG_DATA_HOME")),
      m_bHadStorePath(qEnvironmentVariableIsSet("OLSTORE_PATH")) {
  qputenv("XDG_DATA_HOME", m_dir.path().toUtf8());
  qputenv("OLSTORE_PATH", StoreFile().toUtf8());
}

ScopedDataHome::~ScopedDataHome() {
  Restore("XDG_DATA_HOME", m_bHadDataHome, m_oldDataHome);
  Restore("OLSTORE_PATH", m_bHadStorePath, m_oldStorePath);
}

QString ScopedDataHome::AppDataFolder() const {
  return m_dir.path() + QStringLiteral("/norvask/DI-ZU/");
}

UserRecorder::UserRecorder() {
  SetMessageBoxHook([this](const MessageBoxCall& call) {
    messages.append(call);
    return static_cast<int>(nAnswer);
  });
  SetOpenFileHook([this](const OpenFileCall& call) {
    openFiles.append(call);
    return strOpenFileAnswer;
  });
  SetShellOpenHook([this](const QString& strFile) { shellOpens.append(strFile); });
}

UserRecorder::~UserRecorder() {
  SetMessageBoxHook(nullptr);
  SetOpenFileHook(nullptr);
  SetShellOpenHook(nullptr);
}

void OnNextModal(std::function<void(QWidget*)> action, QWidget* pBeneath) {
  // Polls from the event loop the modal dialog runs; a zero timer fires as
  // soon as that loop is idle, so no time passes in vain.
  auto* pTimer = new QTimer;
  pTimer->setInterval(0);
  QObject::connect(pTimer, &QTimer::timeout, pTimer, [pTimer, action, pBeneath] {
    QWidget* pModal = QApplication::activeModalWidget();
    if (!pModal || pModal == pBeneath || !pModal->isVisible()) return;
    pTimer->stop();
    pTimer->deleteLater();
    action(pModal);
  });
  pTimer->start();
}

QMap<QChar, QString> VisibleMnemonics(const QWidget* pWindow, QString* pClash) {
  QMap<QChar, QString> seen;
  pClash->clear();
  for (const QAbstractButton* pButton : pWindow->findChildren<QAbstractButton*>()) {
    if (!pButton->isVisible()) continue;
    const QString strText = pButton->text();
    const qsizetype nAt = strText.indexOf(QLatin1Char('&'));
    if (nAt < 0 || nAt + 1 >= strText.size()) continue;
    const QChar chKey = strText[nAt + 1].toLower();
    if (!seen.contains(chKey))
      seen.insert(chKey, strText);
    else if (pClash->isEmpty())
      *pClash = strText + " and " + seen.value(chKey);
  }
  return seen;
}
