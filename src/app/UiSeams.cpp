#include "app/UiSeams.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <utility>

#include "app/ProgramText.h"
#include "platform/win32.h"

namespace {

MessageBoxHook g_MessageBoxHook;
OpenFileHook g_OpenFileHook;
ShellOpenHook g_ShellOpenHook;

// The platform layer takes a plain function pointer; this one forwards to the
// current std::function so tests may capture state.
void ForwardShellExecute(LPCSTR /*lpOperation*/, LPCSTR lpFile, LPCSTR /*lpParameters*/,
                         LPCSTR /*lpDirectory*/) {
  if (g_ShellOpenHook) g_ShellOpenHook(FromProgramText(lpFile));
}

}  // namespace

int ShowMessageBox(QWidget* pOwner, const QString& strText, const QString& strCaption,
                   QMessageBox::Icon nIcon) {
  if (g_MessageBoxHook) return g_MessageBoxHook(MessageBoxCall{pOwner, strText, strCaption, nIcon});
  QMessageBox box(nIcon, strCaption, strText, QMessageBox::Ok, pOwner);
  return box.exec();
}

bool AskYesNo(QWidget* pOwner, const QString& strText, const QString& strCaption) {
  if (g_MessageBoxHook)
    return g_MessageBoxHook(MessageBoxCall{pOwner, strText, strCaption, QMessageBox::Question}) ==
           QMessageBox::Yes;
  QMessageBox box(QMessageBox::Question, strCaption, strText, QMessageBox::Yes | QMessageBox::No,
                  pOwner);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void SetMessageBoxHook(MessageBoxHook hook) { g_MessageBoxHook = std::move(hook); }

namespace {

bool GetFileName(const OpenFileCall& call, QString* pChosen) {
  QString strChosen;
  if (g_OpenFileHook) {
    strChosen = g_OpenFileHook(call);
  } else {
    QFileDialog dialog(call.pOwner, QString(), QFileInfo(call.strInitial).path(), call.strFilter);
    if (call.bSave) {
      dialog.setAcceptMode(QFileDialog::AcceptSave);
    } else {
      dialog.setFileMode(QFileDialog::AnyFile);  // the chosen name need not exist
      dialog.setAcceptMode(QFileDialog::AcceptOpen);
    }
    if (!call.strInitial.isEmpty()) dialog.selectFile(call.strInitial);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      strChosen = dialog.selectedFiles().constFirst();
  }
  if (strChosen.isEmpty()) return false;
  if (pChosen) *pChosen = strChosen;
  return true;
}

}  // namespace

bool GetOpenFileName(QWidget* pOwner, const QString& strInitial, const QString& strFilter,
                     QString* pChosen) {
  return GetFileName(OpenFileCall{pOwner, strInitial, strFilter, false}, pChosen);
}

bool GetSaveFileName(QWidget* pOwner, const QString& strInitial, const QString& strFilter,
                     QString* pChosen) {
  return GetFileName(OpenFileCall{pOwner, strInitial, strFilter, true}, pChosen);
}

void SetOpenFileHook(OpenFileHook hook) { g_OpenFileHook = std::move(hook); }

void SetShellOpenHook(ShellOpenHook hook) {
  g_ShellOpenHook = std::move(hook);
  PalSetShellExecuteHook(g_ShellOpenHook ? &ForwardShellExecute : nullptr);
}

QString ShellOpenFailureText(const QString& strFile, int nShellError) {
  static constexpr struct {
    int nShellError;
    const char* szReason;
  } kReasons[] = {
      {SE_ERR_NOASSOC, "no program is registered to open it"},
      {SE_ERR_ASSOCINCOMPLETE, "the program registered to open it failed"},
      {SE_ERR_FNF, "it was not found"},
      {SE_ERR_PNF, "its folder was not found"},
      {SE_ERR_ACCESSDENIED, "access was denied"},
      {SE_ERR_OOM, "there was not enough memory"},
      {0, "there was not enough memory"},  // what ShellExecuteA answers when out of resources
  };
  QString strReason = QStringLiteral("the shell answered error %1").arg(nShellError);
  for (const auto& reason : kReasons)
    if (reason.nShellError == nShellError) strReason = QString::fromUtf8(reason.szReason);
  return QStringLiteral("\"%1\" could not be opened: %2.").arg(strFile, strReason);
}

namespace {

// Read and written on the user-interface thread only.
QPointer<QWidget> g_pShellFailureOwner;

// Called on whatever thread learnt of the failure; the message box belongs to
// the user-interface thread.
void PostShellOpenFailure(LPCSTR lpFile, int nShellError) {
  const QString strText = ShellOpenFailureText(FromProgramText(lpFile), nShellError);
  QMetaObject::invokeMethod(
      qApp,
      [strText] {
        if (g_pShellFailureOwner)
          ShowMessageBox(g_pShellFailureOwner, strText, QStringLiteral("Error"),
                         QMessageBox::Warning);
      },
      Qt::QueuedConnection);
}

}  // namespace

void ReportShellOpenFailures(QWidget* pOwner) {
  g_pShellFailureOwner = pOwner;
  PalSetShellOpenFailedHook(pOwner ? &PostShellOpenFailure : nullptr);
}
