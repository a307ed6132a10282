// What the four detail viewers share: view-only sheets, memos, labelled rows,
// and the dialog's frame.
#pragma once

class QAbstractButton;
class QButtonGroup;
class QDialog;
class QFormLayout;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// A multi-line text box with its vertical scroll bar always shown.
QPlainTextEdit* NewMemo(QWidget* pParent);

// Adds "label" and a new line edit as one row of a form; returns the edit.
QLineEdit* AddEditRow(QFormLayout* pForm, const char* szLabel, QWidget* pParent);

// A group box (its title shown as given: an '&' in it is a character, not a
// mnemonic) with a form layout inside.
QGroupBox* NewFormGroup(const char* szTitle, QWidget* pParent, QFormLayout** ppForm);

// Makes every control inside pSheet show its value but take no input: texts
// become read-only (they can still be scrolled, selected and copied), check
// boxes and radio buttons are disabled. Tab bars and push buttons stay usable.
void MakeViewOnly(QWidget* pSheet);

// Unticks every button of an exclusive group, which Qt does not allow one by one.
void UntickGroup(QButtonGroup* pGroup);

// The "&Close" button under the dialog's body, closing it as cancelled; the
// dialog is placed at the centre of the desktop with a client area of the
// given size (or larger, when its contents need more), and its controls are
// named (NameControls).
QPushButton* FinishDialog(QDialog* pDialog, QWidget* pBody, int nWidth, int nHeight);
