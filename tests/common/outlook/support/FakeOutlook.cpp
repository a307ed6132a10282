#include "common/outlook/support/FakeOutlook.h"

#include <cstdio>
#include <memory>

namespace {

int g_nLive = 0;
int g_nOverReleases = 0;

// Member names share one table of dispatch ids over all fakes.
std::vector<std::string>& Names() {
  static std::vector<std::string> names;
  return names;
}

DISPID IdOf(const std::string& strName) {
  std::vector<std::string>& names = Names();
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == strName) return static_cast<DISPID>(i + 1);
  }
  names.push_back(strName);
  return static_cast<DISPID>(names.size());
}

std::string NameOf(DISPID id) {
  const std::vector<std::string>& names = Names();
  return id >= 1 && static_cast<size_t>(id) <= names.size() ? names[static_cast<size_t>(id) - 1]
                                                            : "";
}

std::string Utf8Of(const OLECHAR* szText) {
  if (!szText || !*szText) return "";
  const int nBytes = WideCharToMultiByte(CP_UTF8, 0, szText, -1, nullptr, 0, nullptr, nullptr);
  std::string str(static_cast<size_t>(nBytes > 0 ? nBytes : 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, szText, -1, str.data(), nBytes, nullptr, nullptr);
  str.resize(str.size() - 1);
  return str;
}

BSTR AllocUtf8(const std::string& strUtf8) {
  const int nUnits = MultiByteToWideChar(CP_UTF8, 0, strUtf8.c_str(), -1, nullptr, 0);
  std::vector<OLECHAR> buffer(static_cast<size_t>(nUnits > 0 ? nUnits : 1), 0);
  MultiByteToWideChar(CP_UTF8, 0, strUtf8.c_str(), -1, buffer.data(), nUnits);
  return SysAllocString(buffer.data());
}

std::string Hex(HRESULT hr) {
  char sz[16];
  snprintf(sz, sizeof(sz), "0x%08x", static_cast<unsigned>(hr));
  return sz;
}

class FakeFactory final : public IClassFactory {
 public:
  FakeFactory(IDispatch* pApp, int* pnCreations)
      : m_nRefs(1), m_pApp(pApp), m_pnCreations(pnCreations) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory))
      return E_NOINTERFACE;
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG n = --m_nRefs;
    if (n == 0) delete this;
    return n;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override {
    if (pOuter) return CLASS_E_NOAGGREGATION;
    ++*m_pnCreations;
    return m_pApp->QueryInterface(riid, ppv);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  ~FakeFactory() = default;
  ULONG m_nRefs;
  IDispatch* m_pApp;
  int* m_pnCreations;
};

const CLSID kFakeClsid = {
    0x6b1d7f10, 0x2c4e, 0x4a8b, {0x9d, 0x31, 0x5e, 0x0f, 0x7a, 0x22, 0x61, 0x93}};

}  // namespace

// ---- FakeObject -----------------------------------------------------------------------

FakeObject::FakeObject(std::string strLabel)
    : m_strLabel(std::move(strLabel)), m_nRefs(1), m_bAnyMember(false) {
  ++g_nLive;
}

FakeObject::~FakeObject() {
  for (auto& entry : m_properties) VariantClear(&entry.second);
  --g_nLive;
}

int FakeObject::LiveCount() { return g_nLive; }
int FakeObject::OverReleases() { return g_nOverReleases; }

HRESULT FakeObject::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch)) return E_NOINTERFACE;
  *ppv = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

ULONG FakeObject::AddRef() { return ++m_nRefs; }

ULONG FakeObject::Release() {
  if (m_nRefs == 0) {
    ++g_nOverReleases;
    return 0;
  }
  const ULONG n = --m_nRefs;
  if (n == 0) delete this;
  return n;
}

HRESULT FakeObject::GetTypeInfoCount(UINT* pctinfo) {
  if (pctinfo) *pctinfo = 0;
  return S_OK;
}

HRESULT FakeObject::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
  if (ppTInfo) *ppTInfo = nullptr;
  return E_NOTIMPL;
}

HRESULT FakeObject::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID,
                                  DISPID* rgDispId) {
  if (!rgszNames || !rgDispId || cNames != 1) return E_INVALIDARG;
  const std::string strName = Utf8Of(rgszNames[0]);
  if (!m_bAnyMember && !m_properties.count(strName) && !m_methods.count(strName) &&
      !m_failures.count(strName)) {
    rgDispId[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  rgDispId[0] = IdOf(strName);
  return S_OK;
}

HRESULT FakeObject::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS* pParams,
                           VARIANT* pResult, EXCEPINFO* pExcepInfo, UINT*) {
  const std::string strName = NameOf(dispIdMember);
  std::vector<VARIANT> args;
  if (pParams) args.assign(pParams->rgvarg, pParams->rgvarg + pParams->cArgs);

  std::string strLine = m_strLabel + ".";
  if (wFlags & DISPATCH_PROPERTYPUT) {
    strLine += "put " + strName + "=" + (args.empty() ? std::string("?") : FakeValueText(args[0]));
  } else if (wFlags & DISPATCH_METHOD) {
    strLine += strName + "(";
    // Arguments in the order of the method's signature.
    for (size_t i = args.size(); i-- > 0;) {
      strLine += FakeValueText(args[i]);
      if (i > 0) strLine += ", ";
    }
    strLine += ")";
  } else {
    strLine += "get " + strName;
  }

  auto failure = m_failures.find(strName);
  if (failure != m_failures.end() && (failure->second.first & wFlags)) {
    FakeJournal().push_back(strLine + " -> " + Hex(failure->second.second));
    return failure->second.second;
  }
  if (auto raised = m_exceptions.find(strName); raised != m_exceptions.end()) {
    FakeJournal().push_back(strLine + " -> " + Hex(DISP_E_EXCEPTION));
    if (pExcepInfo) {
      *pExcepInfo = EXCEPINFO{};
      pExcepInfo->scode = raised->second.first;
      const std::string& strText = raised->second.second;
      const std::basic_string<OLECHAR> text(strText.begin(), strText.end());
      pExcepInfo->bstrDescription = SysAllocString(text.c_str());
      pExcepInfo->bstrSource = SysAllocString(OLESTR("Outlook"));
    }
    return DISP_E_EXCEPTION;
  }
  FakeJournal().push_back(strLine);

  if (wFlags & DISPATCH_PROPERTYPUT) {
    if (!pParams || pParams->cArgs != 1 || pParams->cNamedArgs != 1 ||
        pParams->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
      return DISP_E_PARAMNOTFOUND;
    }
    if (!m_bAnyMember && !m_properties.count(strName)) return DISP_E_MEMBERNOTFOUND;
    Put(strName, args[0]);
    return S_OK;
  }
  auto method = m_methods.find(strName);
  if (method != m_methods.end() && (wFlags & DISPATCH_METHOD)) {
    VARIANT dummy;
    VariantInit(&dummy);
    const HRESULT hr = method->second(args, pResult ? pResult : &dummy);
    VariantClear(&dummy);
    return hr;
  }
  auto property = m_properties.find(strName);
  if ((wFlags & DISPATCH_PROPERTYGET) && (property != m_properties.end() || m_bAnyMember)) {
    if (!pResult) return E_POINTER;
    if (property == m_properties.end()) return S_OK;  // an empty variant
    return VariantCopy(pResult, &property->second);
  }
  return DISP_E_MEMBERNOTFOUND;
}

void FakeObject::Put(const std::string& strName, const VARIANT& value) {
  VARIANT& slot = m_properties[strName];
  // Windows' VariantCopy takes its source as non-const, though it only reads it.
  VariantCopy(&slot, const_cast<VARIANT*>(&value));
}

void FakeObject::SetText(const std::string& strName, const std::string& strUtf8) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = AllocUtf8(strUtf8);
  Put(strName, value);
  VariantClear(&value);
}

void FakeObject::SetLong(const std::string& strName, int32_t nValue) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_I4;
  value.lVal = nValue;
  Put(strName, value);
}

void FakeObject::SetBool(const std::string& strName, bool bValue) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BOOL;
  value.boolVal = bValue ? VARIANT_TRUE : VARIANT_FALSE;
  Put(strName, value);
}

void FakeObject::SetDate(const std::string& strName, DATE dtValue) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_DATE;
  value.date = dtValue;
  Put(strName, value);
}

void FakeObject::SetObject(const std::string& strName, FakeObject* pObject) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_DISPATCH;
  value.pdispVal = pObject;
  Put(strName, value);  // the copy takes its own reference
}

void FakeObject::SetMethod(const std::string& strName, Method fnMethod) {
  m_methods[strName] = std::move(fnMethod);
}

void FakeObject::Fail(const std::string& strName, WORD wFlags, HRESULT hr) {
  m_failures[strName] = {wFlags, hr};
}

void FakeObject::Raise(const std::string& strName, HRESULT scode,
                       const std::string& strDescription) {
  m_exceptions[strName] = {scode, strDescription};
}

std::string FakeObject::Value(const std::string& strName) const {
  auto property = m_properties.find(strName);
  return property == m_properties.end() ? "" : FakeValueText(property->second);
}

std::string FakeValueText(const VARIANT& value) {
  char sz[64];
  switch (value.vt) {
    case VT_BSTR:
      return "\"" + Utf8Of(value.bstrVal) + "\"";
    case VT_I4:
      return std::to_string(value.lVal);
    case VT_BOOL:
      return value.boolVal ? "true" : "false";
    case VT_DATE:
      snprintf(sz, sizeof(sz), "%.6f", value.date);
      return sz;
    case VT_DISPATCH:
      return value.pdispVal ? static_cast<FakeObject*>(value.pdispVal)->Label() : "null";
    case VT_EMPTY:
      return "empty";
    default:
      return "vt" + std::to_string(value.vt);
  }
}

std::vector<std::string>& FakeJournal() {
  static std::vector<std::string> journal;
  return journal;
}

std::vector<std::string> FakeJournalOf(const std::string& strLabel) {
  std::vector<std::string> lines;
  const std::string strPrefix = strLabel + ".";
  for (const std::string& strLine : FakeJournal()) {
    if (strLine.compare(0, strPrefix.size(), strPrefix) == 0)
      lines.push_back(strLine.substr(strPrefix.size()));
  }
  return lines;
}

// ---- FakeOutlook ----------------------------------------------------------------------

FakeOutlook::FakeOutlook()
    : m_pApp(new FakeObject("App")),
      m_pNameSpace(new FakeObject("NameSpace")),
      m_pFactory(nullptr),
      m_dwCookie(0),
      m_nCreations(0) {
  FakeJournal().clear();
  m_pApp->SetMethod("GetNameSpace", [this](const std::vector<VARIANT>& args, VARIANT* pResult) {
    if (args.size() != 1 || FakeValueText(args[0]) != "\"MAPI\"") return E_INVALIDARG;
    pResult->vt = VT_DISPATCH;
    pResult->pdispVal = m_pNameSpace;
    m_pNameSpace->AddRef();
    return S_OK;
  });
  m_pNameSpace->SetMethod(
      "GetDefaultFolder", [this](const std::vector<VARIANT>& args, VARIANT* pResult) {
        if (args.size() != 1 || args[0].vt != VT_I4) return E_INVALIDARG;
        if (m_missing.count(args[0].lVal) || !m_defaultFolders.count(args[0].lVal)) return E_FAIL;
        pResult->vt = VT_DISPATCH;
        pResult->pdispVal = m_defaultFolders[args[0].lVal];
        pResult->pdispVal->AddRef();
        return S_OK;
      });
  m_pNameSpace->SetMethod("GetItemFromID",
                          [this](const std::vector<VARIANT>& args, VARIANT* pResult) {
                            return GetItemFromID(args, pResult);
                          });

  const std::pair<int32_t, const char*> defaults[] = {
      {10, "Contacts"}, {9, "Calendar"}, {13, "Tasks"}, {12, "Notes"}};
  for (const auto& [nFolder, szName] : defaults)
    m_defaultFolders[nFolder] = AddFolder(nullptr, szName);

  m_pFactory = new FakeFactory(m_pApp, &m_nCreations);
  CoRegisterClassObject(kFakeClsid, m_pFactory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                        &m_dwCookie);
  PalRegisterProgID(OLESTR("Outlook.Application"), kFakeClsid);
}

FakeOutlook::~FakeOutlook() {
  PalRevokeProgID(OLESTR("Outlook.Application"));
  CoRevokeClassObject(m_dwCookie);
  m_pFactory->Release();
  for (Folder* pFolder : m_folders) {
    for (FakeObject* pItem : pFolder->items) pItem->Release();
    pFolder->pItems->Release();
    pFolder->pFolders->Release();
    pFolder->pFolder->Release();
    delete pFolder;
  }
  m_pNameSpace->Release();
  m_pApp->Release();
}

FakeObject* FakeOutlook::DefaultFolder(int32_t nFolder) const {
  auto it = m_defaultFolders.find(nFolder);
  return it == m_defaultFolders.end() ? nullptr : it->second;
}

FakeOutlook::Folder* FakeOutlook::FindFolder(FakeObject* pFolder) {
  for (Folder* p : m_folders) {
    if (p->pFolder == pFolder) return p;
  }
  return nullptr;
}

void FakeOutlook::MakeCollection(FakeObject* pCollection, std::vector<FakeObject*>* pElements) {
  auto cursor = std::make_shared<size_t>(0);
  auto next = [pElements, cursor](VARIANT* pResult) {
    if (*cursor >= pElements->size()) return S_OK;  // the end: no object
    pResult->vt = VT_DISPATCH;
    pResult->pdispVal = (*pElements)[(*cursor)++];
    pResult->pdispVal->AddRef();
    return S_OK;
  };
  pCollection->SetMethod("GetFirst", [cursor, next](const std::vector<VARIANT>&, VARIANT* pResult) {
    *cursor = 0;
    return next(pResult);
  });
  pCollection->SetMethod(
      "GetNext", [next](const std::vector<VARIANT>&, VARIANT* pResult) { return next(pResult); });
}

FakeObject* FakeOutlook::AddFolder(FakeObject* pParent, const std::string& strName,
                                   const std::string& strStore) {
  Folder* pFolder = new Folder{new FakeObject("Folder:" + strName),
                               new FakeObject("Items:" + strName),
                               new FakeObject("Folders:" + strName),
                               {},
                               {},
                               strStore};
  m_folders.push_back(pFolder);
  pFolder->pFolder->SetText("Name", strName);
  pFolder->pFolder->SetText("StoreID", strStore);
  pFolder->pFolder->SetObject("Items", pFolder->pItems);
  pFolder->pFolder->SetObject("Folders", pFolder->pFolders);
  MakeCollection(pFolder->pItems, &pFolder->items);
  MakeCollection(pFolder->pFolders, &pFolder->subfolders);
  if (Folder* pOwner = pParent ? FindFolder(pParent) : nullptr)
    pOwner->subfolders.push_back(pFolder->pFolder);
  return pFolder->pFolder;
}

FakeObject* FakeOutlook::AddItem(FakeObject* pFolder, const std::string& strEntryID) {
  Folder* pOwner = FindFolder(pFolder);
  if (!pOwner) return nullptr;
  FakeObject* pItem = new FakeObject("Item:" + strEntryID);
  pItem->AcceptAnyMember();
  pItem->SetText("EntryID", strEntryID);
  pItem->SetMethod("Save", [](const std::vector<VARIANT>& args, VARIANT*) {
    return args.empty() ? S_OK : DISP_E_BADPARAMCOUNT;
  });
  pOwner->items.push_back(pItem);
  return pItem;
}

void FakeOutlook::DeleteItem(const std::string& strEntryID) { m_deleted.insert(strEntryID); }

HRESULT FakeOutlook::GetItemFromID(const std::vector<VARIANT>& args, VARIANT* pResult) {
  // Automation order: the optional store ID comes first.
  if (args.empty() || args.size() > 2 || args.back().vt != VT_BSTR) return E_INVALIDARG;
  const std::string strEntry = Utf8Of(args.back().bstrVal);
  const std::string strStore = args.size() == 2 ? Utf8Of(args[0].bstrVal) : "";
  if (m_deleted.count(strEntry)) return E_FAIL;
  for (Folder* pFolder : m_folders) {
    if (!strStore.empty() && pFolder->strStore != strStore) continue;
    for (FakeObject* pItem : pFolder->items) {
      if (pItem->Value("EntryID") != "\"" + strEntry + "\"") continue;
      pResult->vt = VT_DISPATCH;
      pResult->pdispVal = pItem;
      pItem->AddRef();
      return S_OK;
    }
  }
  return E_FAIL;
}
