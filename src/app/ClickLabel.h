// A label that reports mouse clicks: the logo pictures and the support link.
#pragma once

#include <QLabel>

class TxClickLabel : public QLabel {
  Q_OBJECT

 public:
  explicit TxClickLabel(QWidget* pParent = nullptr);

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* pEvent) override;
};
