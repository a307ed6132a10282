#include "app/AccessibleNames.h"

#include <QAbstractButton>
#include <QHash>
#include <QLabel>
#include <QWidget>

QString ReadableCaption(const QString& strCaption) {
  QString strReadable;
  strReadable.reserve(strCaption.size());
  for (qsizetype n = 0; n < strCaption.size(); ++n) {
    if (strCaption[n] == QLatin1Char('&') && n + 1 < strCaption.size()) ++n;
    strReadable += strCaption[n];
  }
  strReadable = strReadable.trimmed();
  if (strReadable.endsWith(QLatin1Char(':'))) strReadable.chop(1);
  return strReadable.trimmed();
}

QLabel* NewLabelFor(const QString& strCaption, QWidget* pControl, QWidget* pParent) {
  auto* pLabel = new QLabel(strCaption, pParent);
  pLabel->setBuddy(pControl);
  return pLabel;
}

void NameControls(QWidget* pWindow) {
  // A label knows the control it stands for, not the other way round.
  QHash<const QWidget*, QString> labels;
  for (const QLabel* pLabel : pWindow->findChildren<QLabel*>())
    if (const QWidget* pBuddy = pLabel->buddy()) labels.insert(pBuddy, pLabel->text());
  for (QWidget* pWidget : pWindow->findChildren<QWidget*>()) {
    if (!pWidget->accessibleName().isEmpty()) continue;
    const auto* pButton = qobject_cast<const QAbstractButton*>(pWidget);
    const QString strName = ReadableCaption(
        pButton && !pButton->text().isEmpty() ? pButton->text() : labels.value(pWidget));
    if (!strName.isEmpty()) pWidget->setAccessibleName(strName);
  }
}
