// A local Outlook store for the wizard's tests: a fresh file at the path the
// program will open (OLSTORE_PATH), registered as "Outlook.Application", with
// helpers to put items in and to look at what the program saved.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "olstore/Item.h"
#include "olstore/Store.h"

typedef std::vector<std::pair<std::string, olstore::Value>> StoreValues;

class TestStore {
 public:
  // Creates the store at strPath (OLSTORE_PATH must name the same file) and
  // registers it; IsOpen() tells whether both worked (Error() says why not).
  explicit TestStore(const std::string& strPath);
  ~TestStore();
  TestStore(const TestStore&) = delete;
  TestStore& operator=(const TestStore&) = delete;

  bool IsOpen() const { return m_pStore != nullptr && m_bRegistered; }
  const std::string& Error() const { return m_strError; }

  // Adds an item with these values to the kind's default folder; returns its
  // entry ID, empty on failure.
  std::string Add(olstore::ItemKind nKind, const StoreValues& values);
  // A text property of the item as stored now; empty when there is no such item.
  std::string Text(const std::string& strEntryID, const std::string& strProperty);
  // Removes the item from the store, as if it had been deleted in Outlook.
  bool Remove(const std::string& strEntryID);

 private:
  std::shared_ptr<olstore::Store> m_pStore;
  std::string m_strError;
  bool m_bRegistered;
};
