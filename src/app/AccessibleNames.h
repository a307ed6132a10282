// Names for assistive technology: every control of a window is read out by
// what a sighted user reads on or beside it.
#pragma once

#include <QString>

class QLabel;
class QWidget;

// A caption as it reads: without the access key's '&' ("&&" stands for one
// '&'), without a label's closing colon and the blanks around it.
QString ReadableCaption(const QString& strCaption);

// A label that stands for pControl (it becomes the label's buddy), as the
// caption of its row.
QLabel* NewLabelFor(const QString& strCaption, QWidget* pControl, QWidget* pParent);

// Names every control under pWindow that has no accessible name yet: a button
// or check box by its caption, any other control by the label it is the buddy
// of. Controls with neither are named by their window itself, beforehand.
void NameControls(QWidget* pWindow);
