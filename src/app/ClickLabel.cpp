#include "app/ClickLabel.h"

#include <QMouseEvent>

TxClickLabel::TxClickLabel(QWidget* pParent) : QLabel(pParent) {
  setCursor(Qt::PointingHandCursor);
}

void TxClickLabel::mouseReleaseEvent(QMouseEvent* pEvent) {
  // A press that is dragged off the label and released elsewhere is no click.
  if (pEvent->button() == Qt::LeftButton && rect().contains(pEvent->position().toPoint()))
    emit clicked();
  QLabel::mouseReleaseEvent(pEvent);
}
