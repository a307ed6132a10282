// The wizard's look: one style sheet for every window, the logo pictures, and
// the few named states that the sheet colours.
#pragma once

#include <QPixmap>
#include <QString>

class QApplication;
class QWidget;

// Gives the application the wizard's look: one style sheet ("blue glass": soft
// blue gradients, rounded buttons, calm greys for text).
void ApplyLook(QApplication& app);

// The product logo, a square picture of nSize pixels.
QPixmap ProductLogo(int nSize);
// The product name as a picture, for the window headers.
QPixmap ProductNamePicture();

// Named roles the style sheet knows; a widget shows one through its "role"
// property: "header" (the band at the top of a window), "good" (blue text),
// "bad" (red text), "link" (blue underlined text), "value" (a value label),
// "browse" (a small "..." button).
void SetRole(QWidget* pWidget, const char* szRole);
QString GetRole(const QWidget* pWidget);
