// OlBaseUtil: the base of the four folder accessors. It starts Outlook (or
// attaches to a running one) once per process and shares that connection among
// all accessors by use counting, fixes the accessors' life cycle as virtual
// operations, and fetches single items by their IDs for saving.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <new>
#include <span>
#include <string>
#include <utility>

#include "common/misc/CxText.h"
#include "common/misc/DispCmd.h"
#include "common/outlook/OlProperty.h"
#include "common/records/CommRecordMgr.h"
#include "platform/win32.h"

class CxList;

// Outlook's default folders, as "GetDefaultFolder" numbers them.
enum OlDefaultFolder : int32_t {
  olFolderCalendar = 9,
  olFolderContacts = 10,
  olFolderNotes = 12,
  olFolderTasks = 13,
};

// The log lines of one accessor's folder walk. A null text is not logged.
struct OlFolderTexts {
  const char* szNameFailed;   // level 0, with the status
  const char* szNameRead;     // level 2, with the name
  const char* szStoreFailed;  // level 0, with the status
  const char* szStoreRead;    // level 0, with the store ID
  const char* szItemsFailed;  // level 0, with the status
};

class OlBaseUtil {
 public:
  // szProfile may be null; it is kept but Outlook's running profile is used.
  explicit OlBaseUtil(const char* szProfile = nullptr);
  virtual ~OlBaseUtil();
  OlBaseUtil(const OlBaseUtil&) = delete;
  OlBaseUtil& operator=(const OlBaseUtil&) = delete;

  // The life cycle, in the order every accessor overrides it.
  virtual bool ReadItems();
  virtual void ClearItems();
  virtual void Initialize();
  virtual void Terminate();
  virtual bool Connect();
  virtual void Disconnect();

  bool IsConnected() const { return m_bConnected; }
  void SetIncludeSubfolders(bool bInclude) { m_bIncludeSubfolders = bInclude; }
  // The item with these IDs; the caller owns the reference handed out.
  bool GetItemFromID(const char* szEntryID, const char* szStoreID, IDispatch** ppItem);

  // The watcher told about every later save (none: nobody is told); not owned.
  void SetSaveWatcher(OlSaveWatcher* pWatcher) { m_pSaveWatcher = pWatcher; }
  // Why the last save failed, in words; empty after a save that worked.
  const std::string& GetSaveFailure() const { return m_strSaveFailure; }
  // The last save failed because another program holds the store.
  bool WasStoreBusy() const { return m_bStoreBusy; }
  // Why the last read stopped before the end of its folders, in words ("the
  // store is damaged (...)"); empty after a read that went to the end. The
  // items read before it stopped are kept, and ReadItems() answers false.
  const std::string& GetReadFailure() const { return m_strReadFailure; }
  // The folders whose items the last read reached: the default folder and,
  // with subfolders, every subfolder walked, empty ones too.
  size_t GetFoldersRead() const { return m_nFoldersRead; }
  // Told after every item a read hands on, with the number so far, so that a
  // long read can show that it moves; none: nobody is told.
  typedef std::function<void(size_t nItems)> ReadWatcher;
  void SetReadWatcher(ReadWatcher fnWatcher) { m_fnReadWatcher = std::move(fnWatcher); }

  // Connect() calls not yet matched by Disconnect(), over all accessors.
  static uint32_t GetUseCount();
  // Why the last attempt to reach Outlook failed, in words ("Outlook could not
  // be started (hr=0x80004005)"); empty once an attempt worked.
  static const std::string& GetConnectFailure();

 protected:
  // Opens one of Outlook's default folders through the namespace; the caller
  // owns the wrapper. Returns the status, failing when no folder came back.
  HRESULT OpenDefaultFolder(int32_t nFolder, CDispCmd** ppFolder);

  // Walks a folder's items (and, with bSubfolders, its subfolders depth first)
  // handing each item with its folder's name and store ID to fnItem. False
  // when the folder's own items could not be reached, and when a step of the
  // walk failed: that ends the whole walk, and GetReadFailure() says why.
  typedef std::function<void(IDispatch* pItem, const char* szFolder, const char* szStore)>
      ItemReader;
  bool WalkFolder(IDispatch* pFolder, bool bSubfolders, const OlFolderTexts& texts,
                  const ItemReader& fnItem);

  // GetItemFromID for a save: logs when the item cannot be found.
  IDispatch* FindItemToSave(const char* szEntryID, const char* szStoreID);

  // Fetches the item an image was read from (by its EntryID and StoreID) and
  // hands both to fnWrite; false when there is no image or no such item.
  template <typename TImage, typename TWrite>
  bool SaveImage(const TImage* pImage, TWrite fnWrite) {
    m_strSaveFailure.clear();
    m_bStoreBusy = false;
    if (!pImage) {
      m_strSaveFailure = "there is no item image";
      return false;
    }
    IDispatch* pItem = FindItemToSave(pImage->EntryID, pImage->StoreID);
    if (!pItem) {
      m_strSaveFailure = "not found in Outlook";
      return false;
    }
    const bool bSaved = fnWrite(pItem, pImage);
    pItem->Release();
    return bSaved;
  }

  // Further writes of a save on objects the item holds, after its own puts
  // and before "Save"; false, with the reason, stops the save.
  typedef std::function<bool(CDispCmd& item, std::string* pFailure)> MoreWrites;
  // One item's save: plans the puts of the marked properties, lets the
  // watcher see them, makes them, then fnMore, then "Save". False, with the
  // reason in GetSaveFailure(), when any step fails.
  bool WriteAndSave(CDispCmd& item, std::span<const OlProperty> props,
                    std::span<const OlWriteStep> steps, const void* pImage,
                    const FieldMarks& changed, const FieldMarks& truncated,
                    const MoreWrites& fnMore = nullptr);

  CDispCmd* m_pApplication;  // copies of the shared connection's objects,
  CDispCmd* m_pNameSpace;    // which owns and releases them
  IUnknown* m_pAppObject;
  char m_szProfile[256];
  bool m_bConnected;
  bool m_bIncludeSubfolders;
  CxList* m_pItemList;

 private:
  // The connection counts this object holds itself, so it can never give back
  // more than it took (an accessor whose folder did not open holds one).
  uint32_t m_nHeldCounts;
  OlSaveWatcher* m_pSaveWatcher;
  std::string m_strSaveFailure;
  bool m_bStoreBusy;
  std::string m_strReadFailure;
  size_t m_nFoldersRead;
  size_t m_nItemsRead;
  ReadWatcher m_fnReadWatcher;

  void TakeSharedCopies();
  // OlForEachObject over the collection of a folder's szWhat ("items"); a
  // failed step is logged and kept as the read's failure.
  bool WalkCollection(CDispCmd& collection, const std::function<bool(IDispatch*)>& fn,
                      const char* szWhat, const char* szFolder);
};

// Hands every object of a collection to fn, from "GetFirst" then "GetNext",
// until one gives no object or fn answers false. False when a step fails, with
// Outlook's reason (else the status) in *pstrFailure.
bool OlForEachObject(CDispCmd& collection, const std::function<bool(IDispatch*)>& fn,
                     std::string* pstrFailure);

// What the program says of a read that stopped early, having read nRead items:
// "Only 1,444 items could be read: <why>".
std::string OlPartialReadText(size_t nRead, const std::string& strWhy);

// The source type of every record read from Outlook.
constexpr int32_t kSourceOutlook = 3;

// One item of a folder walk: a zero-filled image that carries its folder's
// name and store ID, filled by fnRead, then kept with its display record in
// the container. Both are made where the container keeps them, so a walk over
// many large items copies none of them.
template <typename TImage, typename TRecord, typename TRead>
void OlReadAndKeep(CommRecordMgr<TRecord>* pContainer, IDispatch* pItem, const char* szFolder,
                   const char* szStore, TRead fnRead) {
  auto* pImage = static_cast<TImage*>(calloc(1, sizeof(TImage)));
  if (!pImage) return;
  CopyText(pImage->FolderName, sizeof(pImage->FolderName), szFolder);
  CopyText(pImage->StoreID, sizeof(pImage->StoreID), szStore);
  auto* pRecord = fnRead(pItem, pImage) ? static_cast<TRecord*>(malloc(sizeof(TRecord))) : nullptr;
  if (!pRecord || !MakeRecord(pImage, pRecord)) {
    free(pRecord);
    free(pImage);
    return;
  }
  pRecord->Image = pImage;
  pRecord->ImageSize = static_cast<decltype(pRecord->ImageSize)>(sizeof(TImage));
  pRecord->SourceType = kSourceOutlook;
  pContainer->Adopt(pRecord);
}
