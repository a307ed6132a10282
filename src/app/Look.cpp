#include "app/Look.h"

#include <QApplication>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QWidget>

#include "app/Product.h"

namespace {

// The application-wide style sheet.
QString AppStyleSheet() {
  return QStringLiteral(R"(
QWidget {
  font-size: 10pt;
  color: #1f2d3d;
}
TfmMain, QDialog {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #eef4fb, stop:1 #dbe7f5);
}
QFrame[role="header"] {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1,
      stop:0 #ffffff, stop:0.45 #e3eefb, stop:0.5 #cfe0f6, stop:1 #b9d1f0);
  border-bottom: 1px solid #8fb0d9;
}
QFrame[role="footer"] {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #dbe7f5, stop:1 #c6d9f1);
  border-top: 1px solid #a9c3e4;
}
QFrame#pClient {
  background: #f7faff;
  border: 1px solid #b5cbe8;
  border-radius: 6px;
}
QLabel#lblStep {
  font-size: 12pt;
  font-weight: bold;
  color: #17406f;
}
QPushButton {
  min-width: 76px;
  min-height: 24px;
  padding: 2px 12px;
  border: 1px solid #6f95c6;
  border-radius: 6px;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1,
      stop:0 #fdfeff, stop:0.48 #e2edfa, stop:0.52 #cddff5, stop:1 #e6f0fb);
}
QPushButton:hover {
  border-color: #3d73b8;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1,
      stop:0 #ffffff, stop:0.48 #d9e9fc, stop:0.52 #bcd6f7, stop:1 #dcebfc);
}
QPushButton:pressed {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #bcd3f0, stop:1 #dbe8f8);
}
QPushButton:disabled {
  color: #8d9aa8;
  border-color: #b7c6d8;
  background: #e8eef5;
}
QGroupBox {
  font-weight: bold;
  color: #17406f;
  border: 1px solid #a9c3e4;
  border-radius: 6px;
  margin-top: 12px;
  padding: 10px 8px 8px 8px;
  background: rgba(255, 255, 255, 150);
}
QGroupBox::title {
  subcontrol-origin: margin;
  left: 10px;
  padding: 0 4px;
}
QGroupBox QWidget {
  font-weight: normal;
  color: #1f2d3d;
}
QLineEdit, QComboBox, QSpinBox, QDateEdit, QDateTimeEdit {
  border: 1px solid #9fb8d8;
  border-radius: 4px;
  padding: 2px 4px;
  background: #ffffff;
  selection-background-color: #4a86d0;
}
QLineEdit:read-only {
  background: #f0f4f9;
}
QLineEdit:disabled, QComboBox:disabled, QAbstractSpinBox:disabled {
  color: #8d9aa8;
  border-color: #c3d1e2;
  background: #e8eef5;
}
QAbstractSpinBox {
  padding-right: 18px;
}
QAbstractSpinBox::up-button, QAbstractSpinBox::down-button {
  subcontrol-origin: border;
  width: 16px;
  border-left: 1px solid #9fb8d8;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fdfeff, stop:1 #d6e5f7);
}
QAbstractSpinBox::up-button {
  subcontrol-position: top right;
  border-top-right-radius: 4px;
  border-bottom: 1px solid #c3d1e2;
}
QAbstractSpinBox::down-button {
  subcontrol-position: bottom right;
  border-bottom-right-radius: 4px;
}
QAbstractSpinBox::up-button:hover, QAbstractSpinBox::down-button:hover {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #bcd6f7);
}
QAbstractSpinBox::up-button:pressed, QAbstractSpinBox::down-button:pressed {
  background: #bcd3f0;
}
QAbstractSpinBox::up-arrow { image: url(:/look/spin-up.png); }
QAbstractSpinBox::down-arrow { image: url(:/look/spin-down.png); }
QAbstractSpinBox::up-arrow:disabled, QAbstractSpinBox::up-arrow:off {
  image: url(:/look/spin-up-off.png);
}
QAbstractSpinBox::down-arrow:disabled, QAbstractSpinBox::down-arrow:off {
  image: url(:/look/spin-down-off.png);
}
QTreeWidget, QTreeView, QListWidget, QTableWidget, QTableView {
  border: 1px solid #9fb8d8;
  background: #ffffff;
  alternate-background-color: #f2f7fd;
  selection-background-color: #4a86d0;
  selection-color: #ffffff;
}
QHeaderView::section {
  padding: 3px 6px;
  border: none;
  border-right: 1px solid #b5cbe8;
  border-bottom: 1px solid #8fb0d9;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #d6e5f7);
}
QProgressBar {
  border: 1px solid #6f95c6;
  border-radius: 6px;
  background: #ffffff;
  text-align: center;
  min-height: 22px;
}
QProgressBar::chunk {
  border-radius: 5px;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1,
      stop:0 #9cc4f2, stop:0.5 #4a86d0, stop:1 #7eaee8);
}
*[role="good"] { color: #1a4fa0; }
*[role="bad"] { color: #c0262d; }
*[role="link"] { color: #1a4fa0; text-decoration: underline; }
*[role="value"] { font-weight: bold; color: #17406f; }
QLabel[role="hint"] { color: #5a6270; font-size: 8pt; }
QPushButton[role="browse"] { min-width: 24px; padding: 2px 6px; }
)");
}

}  // namespace

void ApplyLook(QApplication& app) { app.setStyleSheet(AppStyleSheet()); }

QPixmap ProductLogo(int nSize) {
  QPixmap pixmap(nSize, nSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF rect(1, 1, nSize - 2, nSize - 2);
  QLinearGradient glass(rect.topLeft(), rect.bottomLeft());
  glass.setColorAt(0.0, QColor(0x9c, 0xc4, 0xf2));
  glass.setColorAt(0.5, QColor(0x2f, 0x6d, 0xbf));
  glass.setColorAt(1.0, QColor(0x1b, 0x4c, 0x8f));
  painter.setPen(QPen(QColor(0x17, 0x40, 0x6f), 1.5));
  painter.setBrush(glass);
  painter.drawRoundedRect(rect, nSize * 0.22, nSize * 0.22);
  // The glass highlight over the upper half.
  QPainterPath shine;
  shine.addRoundedRect(rect.adjusted(3, 3, -3, -rect.height() * 0.5), nSize * 0.18, nSize * 0.18);
  painter.fillPath(shine, QColor(255, 255, 255, 70));
  QFont font;
  font.setBold(true);
  font.setPixelSize(static_cast<int>(nSize * 0.62));
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(rect, Qt::AlignCenter, QStringLiteral("Q"));
  return pixmap;
}

QPixmap ProductNamePicture() {
  QFont font;
  font.setBold(true);
  font.setPixelSize(24);
  const QString strName = QString::fromUtf8(kProductName);
  const int nWidth = QFontMetrics(font).horizontalAdvance(strName) + 8;
  QPixmap pixmap(nWidth, 34);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setFont(font);
  QLinearGradient ink(0, 0, 0, 34);
  ink.setColorAt(0.0, QColor(0x2f, 0x6d, 0xbf));
  ink.setColorAt(1.0, QColor(0x17, 0x40, 0x6f));
  painter.setPen(QPen(QBrush(ink), 1));
  painter.drawText(pixmap.rect().adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, strName);
  return pixmap;
}

void SetRole(QWidget* pWidget, const char* szRole) {
  pWidget->setProperty("role", QString::fromUtf8(szRole));
  // A style sheet selector on a property is only re-evaluated on a re-polish.
  pWidget->style()->unpolish(pWidget);
  pWidget->style()->polish(pWidget);
}

QString GetRole(const QWidget* pWidget) { return pWidget->property("role").toString(); }
