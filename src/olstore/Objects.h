// Makers of the object model's automation objects. Each returns an object
// holding one reference, which passes to the caller (null when out of memory).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "olstore/Item.h"
#include "olstore/Store.h"
#include "platform/win32.h"

namespace olstore {

// The running Application of this process, or a new one on the store at
// ResolveStorePath(); null with the reason in hr (and LastError) when the
// store cannot be opened.
IDispatch* AttachApplication(HRESULT& hr);

IDispatch* NewNameSpace(std::shared_ptr<Store> store, IDispatch* application);
IDispatch* NewFolder(std::shared_ptr<Store> store, FolderRecord folder);
IDispatch* NewFolders(std::shared_ptr<Store> store, std::vector<FolderRecord> folders);
IDispatch* NewItems(std::shared_ptr<Store> store, int64_t folderId);
// loaded false: an item from Store::ItemHeaderByEntryId, read when needed.
IDispatch* NewItemObject(std::shared_ptr<Store> store, ItemData item, bool loaded = true);

// Remembers why the store could not be opened (olstore::LastError) and tells
// stderr in one line.
void ReportOpenError(const std::string& path, const std::string& reason);

}  // namespace olstore
