// The local store seen through its JSON exchange document (the format of
// "olstore import" and "olstore export"): filling a store from a document,
// taking one from a store, and finding every difference between two that a
// run was not supposed to make.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

// Adds the folders and items of an exchange document to the store file at
// strPath, which is created when missing. False, with the reason in *pError,
// when the document is refused or the store cannot be written; nothing is
// added then.
bool ImportIntoStore(const QString& strPath, const QByteArray& document, QString* pError);

// The whole store at strPath as an exchange document. False, with the reason
// in *pError, when there is no store there or it cannot be read.
bool ExportStore(const QString& strPath, QJsonObject* pDocument, QString* pError);

// One item of an exchange document.
struct ExchangeItem {
  QString strEntryID;
  QString strFolder;  // "tasks", "tasks/Projects/2024", ...
  QJsonObject properties;
};

// Every item of a document in the document's order: each folder's own items,
// then its subfolders, depth first, kinds in the order contacts, calendar,
// tasks, notes.
QList<ExchangeItem> ExchangeItems(const QJsonObject& document);
// Every folder of a document, in the same order.
QStringList ExchangeFolders(const QJsonObject& document);

// How people name an item: a contact by its full name, a distribution list by
// its name, a note by the first line of its body, anything else by subject.
QString ExchangeItemName(const QJsonObject& item);

// The one item of that name; none when no item (or more than one) has it.
const ExchangeItem* FindItemByName(const QList<ExchangeItem>& items, const QString& strName);

// What a run is meant to have done to a store.
struct ExpectedChanges {
  // The items saved, by EntryID, each with the properties the run changed and
  // their values afterwards (a null value: the property is absent, i.e. empty
  // or unset). Every property not named keeps its value; LastModificationTime
  // must have moved.
  QMap<QString, QJsonObject> saved;
  // The items that must be gone.
  QSet<QString> removed;
};

// Every way in which after differs from before other than as expected, one
// readable line each; empty when after is exactly before plus the expected
// changes.
QStringList UnexpectedDifferences(const QJsonObject& before, const QJsonObject& after,
                                  const ExpectedChanges& expected);
