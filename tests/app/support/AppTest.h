// Shared pieces of the wizard's tests: a private data folder per test, the
// recording of everything that would have reached the user, and a way to
// answer a modal dialog that a click opens.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <functional>

#include "app/UiSeams.h"

class QWidget;

// Points the application data folder (XDG_DATA_HOME) and the local store
// (OLSTORE_PATH) into a fresh temporary folder; restores both when it ends.
class ScopedDataHome {
 public:
  ScopedDataHome();
  ~ScopedDataHome();
  ScopedDataHome(const ScopedDataHome&) = delete;
  ScopedDataHome& operator=(const ScopedDataHome&) = delete;

  QString Path() const { return m_dir.path(); }
  // The program's own folder inside it, ending with '/'.
  QString AppDataFolder() const;
  QString SettingsFile() const { return AppDataFolder() + QStringLiteral("norvask.ini"); }
  QString StoreFile() const { return m_dir.path() + QStringLiteral("/store.db"); }

 private:
  QTemporaryDir m_dir;
  QByteArray m_oldDataHome;
  QByteArray m_oldStorePath;
  bool m_bHadDataHome;
  bool m_bHadStorePath;
};

// Records message boxes, open-file dialogs and shell opens instead of showing
// or starting anything, until it ends.
class UserRecorder {
 public:
  UserRecorder();
  ~UserRecorder();
  UserRecorder(const UserRecorder&) = delete;
  UserRecorder& operator=(const UserRecorder&) = delete;

  QList<MessageBoxCall> messages;
  // What the next message boxes answer (a question's Yes or No).
  QMessageBox::StandardButton nAnswer = QMessageBox::Ok;
  QList<OpenFileCall> openFiles;
  QStringList shellOpens;
  // What the next open-file dialogs answer; empty means Cancel.
  QString strOpenFileAnswer;
};

// Runs action on the modal dialog that the next step opens, as soon as it is
// shown (pBeneath, a modal dialog already open, is not the one); the action
// must close it or arrange for it to close.
void OnNextModal(std::function<void(QWidget*)> action, QWidget* pBeneath = nullptr);

// The access keys ("&x") of the buttons and check boxes shown in pWindow, by
// key. A key taken twice is named in *pClash; empty when none is.
QMap<QChar, QString> VisibleMnemonics(const QWidget* pWindow, QString* pClash);
