#include "common/outlook/OlComm.h"

#include <cstdio>
#include <string>

#include "common/misc/CxDebugUtil.h"
#include "common/misc/CxList.h"
#include "common/misc/CxMessageFilter.h"
#include "common/misc/CxText.h"

namespace {

// The one Outlook connection of the process, shared by every accessor.
struct OlConnection {
  bool bStarted;
  CDispCmd* pApplication;
  CDispCmd* pNameSpace;
  IUnknown* pAppObject;
  uint32_t nUseCount;
  bool bFilterRegistered;  // the message filter, for as long as Outlook is in use
};

OlConnection g_OlConnection = {};
// Why the last attempt to reach Outlook failed, in words; empty after one that worked.
std::string g_strConnectFailure;

std::string Failure(const char* szWhat, HRESULT hr) {
  char szStatus[16];
  snprintf(szStatus, sizeof szStatus, "0x%08x", static_cast<unsigned>(hr));
  return std::string(szWhat) + " (hr=" + szStatus + ")";
}

void ReleaseConnection() {
  delete g_OlConnection.pNameSpace;
  delete g_OlConnection.pApplication;
  if (g_OlConnection.pAppObject) g_OlConnection.pAppObject->Release();
  if (g_OlConnection.bFilterRegistered) CxMessageFilter::Revoke();
  g_OlConnection = {};
}

unsigned Status(HRESULT hr) { return static_cast<unsigned>(hr); }

}  // namespace

OlBaseUtil::OlBaseUtil(const char* szProfile)
    : m_pApplication(nullptr),
      m_pNameSpace(nullptr),
      m_pAppObject(nullptr),
      m_szProfile(),
      m_bConnected(false),
      m_bIncludeSubfolders(false),
      m_pItemList(nullptr),
      m_nHeldCounts(0),
      m_pSaveWatcher(nullptr),
      m_bStoreBusy(false),
      m_nFoldersRead(0),
      m_nItemsRead(0) {
  CopyText(m_szProfile, sizeof(m_szProfile), szProfile ? szProfile : "");
  if (g_OlConnection.bStarted) TakeSharedCopies();
  // Only the base's own steps run here; the subclass's constructor runs its
  // Initialize() again, so every accessor connects twice while it is built.
  OlBaseUtil::Initialize();
}

OlBaseUtil::~OlBaseUtil() {
  OlBaseUtil::ClearItems();
  OlBaseUtil::Terminate();
  delete m_pItemList;
}

bool OlBaseUtil::ReadItems() {
  ClearItems();
  m_strReadFailure.clear();
  m_nFoldersRead = 0;
  m_nItemsRead = 0;
  return true;
}

void OlBaseUtil::ClearItems() {
  if (m_pItemList) m_pItemList->RemoveAll(false);
}

void OlBaseUtil::Initialize() {
  if (!m_pItemList) m_pItemList = new (std::nothrow) CxList;
  m_bIncludeSubfolders = false;
  m_bConnected = Connect();
}

void OlBaseUtil::Terminate() {
  ClearItems();
  Disconnect();
}

bool OlBaseUtil::Connect() {
  ++g_OlConnection.nUseCount;
  ++m_nHeldCounts;
  if (g_OlConnection.bStarted) {
    TakeSharedCopies();
    return true;
  }
  // Every failure gives this call's count back through the virtual
  // Disconnect, so a subclass releases its folder first.
  auto fail = [this](std::string strWhy) {
    g_strConnectFailure = std::move(strWhy);
    Disconnect();
    return false;
  };

  QM_LOG(2, "Outlook automation started.");
  // Before the first call: Outlook may already be busy while it starts.
  g_OlConnection.bFilterRegistered = CxMessageFilter::Register();
  if (!g_OlConnection.bFilterRegistered)
    QM_LOG(1, "No message filter: calls Outlook refuses while busy are not retried.");
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(OLESTR("Outlook.Application"), &clsid);
  if (FAILED(hr)) {
    QM_LOG(0, "Can not get the CLSID of Outlook.Application, hr=0x%08x", Status(hr));
    return fail(Failure("Outlook is not installed: Outlook.Application is not registered", hr));
  }
  QM_LOG(2, "Get Outlook.Application CLSID succeeded.");

  IUnknown* pAppObject = nullptr;
  hr = CoCreateInstance(clsid, nullptr,
                        CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
                        IID_IUnknown, reinterpret_cast<void**>(&pAppObject));
  if (FAILED(hr) || !pAppObject) {
    QM_LOG(0, "Failed to execute CoCreateInstance, hr=0x%08x", Status(hr));
    return fail(Failure("Outlook could not be started", hr));
  }
  g_OlConnection.pAppObject = pAppObject;
  QM_LOG(2, "CoCreateInstance succeeded.");

  hr = OleRun(pAppObject);
  if (FAILED(hr)) {
    QM_LOG(0, "Failed to execute OleRun, hr=0x%08x", Status(hr));
    return fail(Failure("Outlook could not be started", hr));
  }
  QM_LOG(2, "Microsoft Outlook started successfully.");

  IDispatch* pAppDispatch = nullptr;
  hr = pAppObject->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pAppDispatch));
  if (FAILED(hr) || !pAppDispatch) {
    QM_LOG(0, "Failed to query IDispatch interface of Outlook App, hr=0x%08x", Status(hr));
    return fail(Failure("Outlook does not offer automation", hr));
  }
  QM_LOG(2, "Got Outlook IDispatch interface successfully.");
  // The wrapper takes its own reference.
  g_OlConnection.pApplication = new (std::nothrow) CDispCmd(pAppDispatch);
  pAppDispatch->Release();
  if (!g_OlConnection.pApplication) return fail("out of memory");

  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_BSTR;
  argument.bstrVal = SysAllocString(OLESTR("MAPI"));
  VARIANT result;
  VariantInit(&result);
  hr = g_OlConnection.pApplication->Call(OLESTR("GetNameSpace"), &argument, 1, &result,
                                         DISPATCH_METHOD, nullptr, 0);
  VariantClear(&argument);
  if (FAILED(hr) || result.vt != VT_DISPATCH || !result.pdispVal) {
    QM_LOG(0, "Failed to call Outlook.Application GetNameSpace method, hr=0x%08x", Status(hr));
    VariantClear(&result);
    return fail(Failure("Outlook did not open its MAPI namespace", hr));
  }
  QM_LOG(2, "Get Outlook MAPI namespace object successfully.");
  g_OlConnection.pNameSpace = new (std::nothrow) CDispCmd(result.pdispVal);
  VariantClear(&result);
  if (!g_OlConnection.pNameSpace) return fail("out of memory");

  m_bConnected = true;
  g_OlConnection.bStarted = true;
  g_strConnectFailure.clear();
  TakeSharedCopies();
  QM_LOG(2, "Outlook Automation Succeeded.");
  return true;
}

void OlBaseUtil::Disconnect() {
  if (m_nHeldCounts == 0 || g_OlConnection.nUseCount == 0) return;
  --m_nHeldCounts;
  --g_OlConnection.nUseCount;
  if (m_nHeldCounts == 0) {
    // This object no longer holds the connection, so it must not use it.
    m_pApplication = nullptr;
    m_pNameSpace = nullptr;
    m_pAppObject = nullptr;
  }
  if (g_OlConnection.nUseCount == 0) ReleaseConnection();
}

uint32_t OlBaseUtil::GetUseCount() { return g_OlConnection.nUseCount; }

const std::string& OlBaseUtil::GetConnectFailure() { return g_strConnectFailure; }

void OlBaseUtil::TakeSharedCopies() {
  m_pApplication = g_OlConnection.pApplication;
  m_pNameSpace = g_OlConnection.pNameSpace;
  m_pAppObject = g_OlConnection.pAppObject;
}

bool OlBaseUtil::GetItemFromID(const char* szEntryID, const char* szStoreID, IDispatch** ppItem) {
  if (!szEntryID || !*szEntryID || !szStoreID || !*szStoreID || !ppItem) return false;
  *ppItem = nullptr;
  if (!m_pNameSpace) return false;

  // Automation passes arguments last first: the store ID, then the entry ID.
  VARIANT arguments[2];
  VariantInit(&arguments[0]);
  VariantInit(&arguments[1]);
  arguments[0].vt = VT_BSTR;
  arguments[0].bstrVal = CDispCmd::AllocText(szStoreID);
  arguments[1].vt = VT_BSTR;
  arguments[1].bstrVal = CDispCmd::AllocText(szEntryID);
  VARIANT result;
  VariantInit(&result);
  HRESULT hr = E_OUTOFMEMORY;
  if (arguments[0].bstrVal && arguments[1].bstrVal) {
    hr = m_pNameSpace->Call(OLESTR("GetItemFromID"), arguments, 2, &result, DISPATCH_METHOD,
                            nullptr, 0);
  }
  VariantClear(&arguments[0]);
  VariantClear(&arguments[1]);
  if (FAILED(hr) || result.vt != VT_DISPATCH || !result.pdispVal) {
    VariantClear(&result);
    return false;
  }
  *ppItem = result.pdispVal;  // the result's reference passes to the caller
  return true;
}

IDispatch* OlBaseUtil::FindItemToSave(const char* szEntryID, const char* szStoreID) {
  IDispatch* pItem = nullptr;
  if (!GetItemFromID(szEntryID, szStoreID, &pItem)) {
    QM_LOG(0, "Failed to find the item by its EntryID.");
    return nullptr;
  }
  return pItem;
}

bool OlBaseUtil::WriteAndSave(CDispCmd& item, std::span<const OlProperty> props,
                              std::span<const OlWriteStep> steps, const void* pImage,
                              const FieldMarks& changed, const FieldMarks& truncated,
                              const MoreWrites& fnMore) {
  m_strSaveFailure.clear();
  m_bStoreBusy = false;
  OlPutPlan plan;
  if (!OlPlanWrites(props, steps, pImage, changed, truncated, this, &plan, &m_strSaveFailure))
    return false;
  if (m_pSaveWatcher) {
    const char* szRefused = "";
    if (!m_pSaveWatcher->BeforePuts(item, plan, &szRefused)) {
      m_strSaveFailure = szRefused;
      QM_LOG(0, "The item was not saved: %s", szRefused);
      return false;
    }
  }
  HRESULT hrSave = S_OK;
  const bool bSaved = OlPutAll(item, plan, &m_strSaveFailure) &&
                      (!fnMore || fnMore(item, &m_strSaveFailure)) &&
                      OlSaveItem(item, &m_strSaveFailure, &hrSave);
  m_bStoreBusy = hrSave == kOlStoreBusy;
  if (m_pSaveWatcher) m_pSaveWatcher->AfterSave(item, bSaved, m_strSaveFailure.c_str());
  return bSaved;
}

HRESULT OlBaseUtil::OpenDefaultFolder(int32_t nFolder, CDispCmd** ppFolder) {
  *ppFolder = nullptr;
  if (!m_pNameSpace) return E_POINTER;
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_I4;
  argument.lVal = nFolder;
  VARIANT result;
  VariantInit(&result);
  HRESULT hr = m_pNameSpace->Call(OLESTR("GetDefaultFolder"), &argument, 1, &result,
                                  DISPATCH_METHOD, nullptr, 0);
  if (SUCCEEDED(hr) && (result.vt != VT_DISPATCH || !result.pdispVal)) hr = DISP_E_TYPEMISMATCH;
  if (SUCCEEDED(hr)) {
    *ppFolder = new (std::nothrow) CDispCmd(result.pdispVal);
    if (!*ppFolder) hr = E_OUTOFMEMORY;
  }
  VariantClear(&result);
  return hr;
}

bool OlBaseUtil::WalkFolder(IDispatch* pFolder, bool bSubfolders, const OlFolderTexts& texts,
                            const ItemReader& fnItem) {
  if (!pFolder) return false;
  CDispCmd folder(pFolder);

  char szName[32] = "";
  HRESULT hr = folder.GetString(OLESTR("Name"), szName, 31);
  if (FAILED(hr)) {
    if (texts.szNameFailed) QM_LOG(0, texts.szNameFailed, Status(hr));
  } else if (texts.szNameRead) {
    QM_LOG(2, texts.szNameRead, szName);
  }

  char szStore[1024] = "";
  hr = folder.GetString(OLESTR("StoreID"), szStore, 1023);
  if (FAILED(hr)) {
    if (texts.szStoreFailed) QM_LOG(0, texts.szStoreFailed, Status(hr));
  } else if (texts.szStoreRead) {
    QM_LOG(0, texts.szStoreRead, szStore);
  }

  IDispatch* pItems = nullptr;
  hr = folder.GetDispatch(OLESTR("Items"), &pItems);
  if (FAILED(hr) || !pItems) {
    // Its subfolders are not walked either: the folder as a whole failed.
    QM_LOG(0, texts.szItemsFailed, Status(hr));
    return false;
  }
  CDispCmd items(pItems);
  pItems->Release();
  ++m_nFoldersRead;
  const auto fnKeep = [&](IDispatch* pItem) {
    fnItem(pItem, szName, szStore);
    ++m_nItemsRead;
    if (m_fnReadWatcher) m_fnReadWatcher(m_nItemsRead);
    return true;
  };
  if (!WalkCollection(items, fnKeep, "items", szName)) return false;

  if (bSubfolders) {
    IDispatch* pFolders = nullptr;
    if (SUCCEEDED(folder.GetDispatch(OLESTR("Folders"), &pFolders)) && pFolders) {
      CDispCmd folders(pFolders);
      pFolders->Release();
      // A subfolder whose items cannot be reached is skipped; its siblings are
      // still read. One whose walk stopped early stops the whole walk.
      WalkCollection(
          folders,
          [&](IDispatch* pSubfolder) {
            WalkFolder(pSubfolder, true, texts, fnItem);
            return m_strReadFailure.empty();
          },
          "subfolders", szName);
    }
  }
  return m_strReadFailure.empty();
}

bool OlBaseUtil::WalkCollection(CDispCmd& collection, const std::function<bool(IDispatch*)>& fn,
                                const char* szWhat, const char* szFolder) {
  std::string strWhy;
  if (OlForEachObject(collection, fn, &strWhy)) return true;
  QM_LOG(0, "Reading the %s of the folder %s stopped early: %s", szWhat, szFolder, strWhy.c_str());
  m_strReadFailure = strWhy;
  return false;
}

bool OlForEachObject(CDispCmd& collection, const std::function<bool(IDispatch*)>& fn,
                     std::string* pstrFailure) {
  LPCOLESTR szMethod = OLESTR("GetFirst");
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  for (;;) {
    VARIANT result;
    VariantInit(&result);
    std::string strWhy;
    const HRESULT hr =
        collection.InvokeExplained(szMethod, DISPATCH_METHOD, &none, &result, &strWhy);
    if (FAILED(hr)) {
      VariantClear(&result);
      *pstrFailure = strWhy.empty() ? Failure("Outlook refused to go on", hr) : strWhy;
      return false;
    }
    const bool bObject = result.vt == VT_DISPATCH && result.pdispVal;
    const bool bGoOn = bObject && fn(result.pdispVal);
    VariantClear(&result);
    if (!bGoOn) return true;
    szMethod = OLESTR("GetNext");
  }
}

std::string OlPartialReadText(size_t nRead, const std::string& strWhy) {
  if (nRead == 0) return "No item could be read: " + strWhy;
  // Thousands grouped as the program's English texts group them.
  std::string strCount = std::to_string(nRead);
  for (size_t nAt = strCount.size(); nAt > 3; nAt -= 3) strCount.insert(nAt - 3, ",");
  return "Only " + strCount + (nRead == 1 ? " item" : " items") + " could be read: " + strWhy;
}
