#include "support/StoreExchange.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QRegularExpression>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "olstore/Exchange.h"
#include "olstore/Store.h"

namespace {

const char* const kKindKeys[] = {"contacts", "calendar", "tasks", "notes"};
const QString kModified = QStringLiteral("LastModificationTime");

std::shared_ptr<olstore::Store> OpenStore(const QString& strPath, bool bCreate, QString* pError) {
  std::string strError;
  std::shared_ptr<olstore::Store> pStore =
      olstore::Store::Open(strPath.toStdString(), strError, bCreate);
  if (!pStore && pError) *pError = QString::fromStdString(strError);
  return pStore;
}

void SetError(QString* pError, const QString& strError) {
  if (pError) *pError = strError;
}

// Walks one folder object of a document: its items, then its subfolders.
void CollectFolder(const QJsonObject& folder, const QString& strPath, QList<ExchangeItem>* pItems,
                   QStringList* pFolders) {
  if (pFolders) pFolders->append(strPath);
  if (pItems) {
    for (const QJsonValue& item : folder.value(QStringLiteral("items")).toArray()) {
      const QJsonObject properties = item.toObject();
      pItems->append({properties.value(QStringLiteral("EntryID")).toString(), strPath, properties});
    }
  }
  for (const QJsonValue& child : folder.value(QStringLiteral("folders")).toArray()) {
    const QJsonObject sub = child.toObject();
    CollectFolder(sub, strPath + '/' + sub.value(QStringLiteral("name")).toString(), pItems, pFolders);
  }
}

void CollectDocument(const QJsonObject& document, QList<ExchangeItem>* pItems, QStringList* pFolders) {
  for (const char* szKey : kKindKeys) {
    const QString strKey = QString::fromLatin1(szKey);
    if (document.contains(strKey)) CollectFolder(document.value(strKey).toObject(), strKey, pItems, pFolders);
  }
}

QString Show(const QJsonValue& value) {
  if (value.isUndefined() || value.isNull()) return QStringLiteral("(absent)");
  if (value.isString()) return '"' + value.toString() + '"';
  return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

// The differences of one item that stayed in the store.
void CompareItem(const ExchangeItem& before, const ExchangeItem& after, const QJsonObject* pChanged,
                 QStringList* pDifferences) {
  const QString strWho =
      QStringLiteral("%1 \"%2\" (%3)").arg(before.strFolder, ExchangeItemName(before.properties), before.strEntryID);
  if (before.strFolder != after.strFolder)
    pDifferences->append(QStringLiteral("%1 moved to %2").arg(strWho, after.strFolder));
  QSet<QString> names;
  for (const QString& strName : before.properties.keys()) names.insert(strName);
  for (const QString& strName : after.properties.keys()) names.insert(strName);
  if (pChanged)
    for (const QString& strName : pChanged->keys()) names.insert(strName);
  QStringList sorted(names.begin(), names.end());
  sorted.sort();
  for (const QString& strName : sorted) {
    const QJsonValue was = before.properties.value(strName);
    const QJsonValue is = after.properties.value(strName);
    if (strName == kModified) {
      // A saved item gets a new modification time, an untouched one keeps it.
      if (pChanged && was == is)
        pDifferences->append(QStringLiteral("%1 was not saved (%2 unchanged)").arg(strWho, strName));
      if (!pChanged && was != is)
        pDifferences->append(QStringLiteral("%1 was saved (%2 %3 -> %4) though it should not be")
                                 .arg(strWho, strName, Show(was), Show(is)));
      continue;
    }
    QJsonValue want = was;
    if (pChanged && pChanged->contains(strName)) want = pChanged->value(strName);
    const bool bWantAbsent = want.isNull() || want.isUndefined();
    const bool bIsAbsent = is.isNull() || is.isUndefined();
    if (bWantAbsent && bIsAbsent) continue;
    if (want != is)
      pDifferences->append(QStringLiteral("%1 %2: expected %3, found %4 (before: %5)")
                               .arg(strWho, strName, Show(want), Show(is), Show(was)));
  }
}

}  // namespace

bool ImportIntoStore(const QString& strPath, const QByteArray& document, QString* pError) {
  std::shared_ptr<olstore::Store> pStore = OpenStore(strPath, true, pError);
  if (!pStore) return false;
  std::string strError;
  std::optional<olstore::ImportPlan> plan =
      olstore::ParseImport(std::string_view(document.constData(), static_cast<size_t>(document.size())),
                           strError);
  if (!plan || !olstore::ApplyImport(*pStore, *plan, strError)) {
    SetError(pError, QString::fromStdString(strError));
    return false;
  }
  return true;
}

bool ExportStore(const QString& strPath, QJsonObject* pDocument, QString* pError) {
  std::shared_ptr<olstore::Store> pStore = OpenStore(strPath, false, pError);
  if (!pStore) return false;
  std::ostringstream out;
  std::string strError;
  if (!olstore::ExportJson(*pStore, out, strError)) {
    SetError(pError, QString::fromStdString(strError));
    return false;
  }
  QJsonParseError parse;
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(out.str()), &parse);
  if (!document.isObject()) {
    SetError(pError, QStringLiteral("the export is not a JSON object: ") + parse.errorString());
    return false;
  }
  if (pDocument) *pDocument = document.object();
  return true;
}

QList<ExchangeItem> ExchangeItems(const QJsonObject& document) {
  QList<ExchangeItem> items;
  CollectDocument(document, &items, nullptr);
  return items;
}

QStringList ExchangeFolders(const QJsonObject& document) {
  QStringList folders;
  CollectDocument(document, nullptr, &folders);
  return folders;
}

QString ExchangeItemName(const QJsonObject& item) {
  for (const char* szProperty : {"FullName", "DLName", "Subject"})
    if (item.contains(QLatin1String(szProperty))) return item.value(QLatin1String(szProperty)).toString();
  return item.value(QStringLiteral("Body")).toString().section(QRegularExpression(QStringLiteral("[\r\n]")), 0, 0);
}

const ExchangeItem* FindItemByName(const QList<ExchangeItem>& items, const QString& strName) {
  const ExchangeItem* pFound = nullptr;
  for (const ExchangeItem& item : items) {
    if (ExchangeItemName(item.properties) != strName) continue;
    if (pFound) return nullptr;
    pFound = &item;
  }
  return pFound;
}

QStringList UnexpectedDifferences(const QJsonObject& before, const QJsonObject& after,
                                  const ExpectedChanges& expected) {
  QStringList differences;
  if (ExchangeFolders(before) != ExchangeFolders(after))
    differences.append(QStringLiteral("the folders changed: %1 -> %2")
                           .arg(ExchangeFolders(before).join(", "), ExchangeFolders(after).join(", ")));
  QMap<QString, ExchangeItem> afterItems;
  for (const ExchangeItem& item : ExchangeItems(after)) afterItems.insert(item.strEntryID, item);
  QSet<QString> seen;
  for (const ExchangeItem& item : ExchangeItems(before)) {
    seen.insert(item.strEntryID);
    const auto found = afterItems.constFind(item.strEntryID);
    const bool bRemoved = expected.removed.contains(item.strEntryID);
    if (found == afterItems.constEnd()) {
      if (!bRemoved)
        differences.append(QStringLiteral("%1 %2 is gone").arg(item.strFolder, item.strEntryID));
      continue;
    }
    if (bRemoved) {
      differences.append(QStringLiteral("%1 %2 is still there").arg(item.strFolder, item.strEntryID));
      continue;
    }
    const auto changed = expected.saved.constFind(item.strEntryID);
    CompareItem(item, *found, changed == expected.saved.constEnd() ? nullptr : &*changed, &differences);
  }
  for (const ExchangeItem& item : afterItems)
    if (!seen.contains(item.strEntryID))
      differences.append(QStringLiteral("%1 %2 is new").arg(item.strFolder, item.strEntryID));
  for (const QString& strID : expected.saved.keys())
    if (!seen.contains(strID)) differences.append(QStringLiteral("%1 was never in the store").arg(strID));
  return differences;
}
