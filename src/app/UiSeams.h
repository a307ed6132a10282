// The points where the wizard reaches the user outside its own windows: message
// boxes, the open-file dialog and shell opens. Each has a hook so that tests
// can answer the question and record what the user would have seen.
#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

// What a message box would have shown.
struct MessageBoxCall {
  QWidget* pOwner;
  QString strText;
  QString strCaption;
  QMessageBox::Icon nIcon;
};

// Shows a message box with an OK button and returns the button pressed
// (a QMessageBox::StandardButton).
int ShowMessageBox(QWidget* pOwner, const QString& strText, const QString& strCaption,
                   QMessageBox::Icon nIcon);

// Asks a question with Yes and No buttons; true for Yes. The message box hook
// answers it too (a call with the Question icon).
bool AskYesNo(QWidget* pOwner, const QString& strText, const QString& strCaption);

// Replaces every message box by the hook's answer; an empty hook restores the
// real message box.
using MessageBoxHook = std::function<int(const MessageBoxCall&)>;
void SetMessageBoxHook(MessageBoxHook hook);

// The system's open-file dialog. strInitial presets the file name, strFilter is
// a Qt name filter ("Label (*.ext)"). Returns true and the chosen name in
// *pChosen when the user confirmed; false (and *pChosen untouched) on cancel.
bool GetOpenFileName(QWidget* pOwner, const QString& strInitial, const QString& strFilter,
                     QString* pChosen);

// The system's save-file dialog, as GetOpenFileName; it asks before a file
// that is there is replaced.
bool GetSaveFileName(QWidget* pOwner, const QString& strInitial, const QString& strFilter,
                     QString* pChosen);

struct OpenFileCall {
  QWidget* pOwner;
  QString strInitial;
  QString strFilter;
  bool bSave = false;  // a save dialog
};
// The hook answers both dialogs: the chosen name, or an empty text for a
// cancelled dialog.
using OpenFileHook = std::function<QString(const OpenFileCall&)>;
void SetOpenFileHook(OpenFileHook hook);

// Shell opens go through ShellOpen (common/misc/WinUtil) and end in the platform
// layer's PalShellExecute; this hook receives the opened name instead of the
// shell starting a program. An empty hook restores the real shell.
using ShellOpenHook = std::function<void(const QString& strFile)>;
void SetShellOpenHook(ShellOpenHook hook);

// What the user is told when the shell could not open strFile; nShellError is
// the SE_ERR_ code (0 for no memory) the shell answered.
QString ShellOpenFailureText(const QString& strFile, int nShellError);

// From now on every shell open that fails, at once or after the call returned,
// shows a message box over pOwner (when it is still there); none stops it.
void ReportShellOpenFailures(QWidget* pOwner);
