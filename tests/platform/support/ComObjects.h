// Objects for the tests of COM: automation objects and class factories whose
// references the test counts, and a fixture with COM initialised that
// registers ProgIDs and class objects for the length of a test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "support/OleText.h"

inline std::string GuidText(const GUID& g) {
  char sz[40];
  snprintf(sz, sizeof(sz), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
           static_cast<unsigned>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2],
           g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return sz;
}

// An automation object whose references the test counts; the test owns it,
// so a Release to zero must not free it and the count stays readable.
class CountingDispatch : public IDispatch {
 public:
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
      *ppv = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++m_nRefs; }
  ULONG Release() override { return --m_nRefs; }
  HRESULT GetTypeInfoCount(UINT* pctinfo) override {
    *pctinfo = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }

  ULONG m_nRefs = 1;
};

// A class factory that hands out its one product, or a scripted failure, and
// remembers what it was asked for.
class CountingFactory : public IClassFactory {
 public:
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *ppv = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++m_nRefs; }
  ULONG Release() override { return --m_nRefs; }
  HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override {
    ++m_nCreated;
    m_iidAsked = riid;
    m_pOuterSeen = pUnkOuter;
    if (FAILED(m_hrCreate)) {
      *ppv = nullptr;
      return m_hrCreate;
    }
    return m_product.QueryInterface(riid, ppv);
  }
  HRESULT LockServer(BOOL) override { return S_OK; }

  ULONG m_nRefs = 1;
  int m_nCreated = 0;
  IID m_iidAsked = IID_NULL;
  IUnknown* m_pOuterSeen = nullptr;
  HRESULT m_hrCreate = S_OK;
  CountingDispatch m_product;
};

// An object that is not a class factory at all.
class PlainUnknown : public IUnknown {
 public:
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (IsEqualIID(riid, IID_IUnknown)) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++m_nRefs; }
  ULONG Release() override { return --m_nRefs; }
  ULONG m_nRefs = 1;
};

inline CLSID MakeClsid(uint32_t nData1) {
  return {nData1, 0x1234, 0x5678, {0x9A, 0xBC, 0xDE, 0xF0, 0x11, 0x22, 0x33, 0x44}};
}

// Keeps a class object registered for its own lifetime; declared after the
// factory it registers, so the table lets go before the factory ends.
class ScopedClass {
 public:
  ScopedClass(REFCLSID clsid, IUnknown* pFactory, DWORD dwContext = CLSCTX_INPROC_SERVER,
              DWORD dwFlags = REGCLS_MULTIPLEUSE) {
    EXPECT_EQ(CoRegisterClassObject(clsid, pFactory, dwContext, dwFlags, &m_dwCookie), S_OK);
    EXPECT_NE(m_dwCookie, 0u);
  }
  ~ScopedClass() {
    if (m_dwCookie) CoRevokeClassObject(m_dwCookie);
  }
  ScopedClass(const ScopedClass&) = delete;
  ScopedClass& operator=(const ScopedClass&) = delete;
  // Revokes now, as a server would at its end.
  HRESULT Revoke() {
    const HRESULT hr = CoRevokeClassObject(m_dwCookie);
    m_dwCookie = 0;
    return hr;
  }

  DWORD m_dwCookie = 0;
};

class ComClassTable : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
  void TearDown() override {
    for (const OleString& progId : m_progIds) PalRevokeProgID(progId.c_str());
    CoUninitialize();
  }

  void RegisterProgID(const OLECHAR* szProgID, REFCLSID clsid) {
    ASSERT_EQ(PalRegisterProgID(szProgID, clsid), S_OK);
    m_progIds.emplace_back(szProgID);
  }
  HRESULT Create(REFCLSID clsid, IUnknown** ppUnk, DWORD dwContext = 0x15) {
    return CoCreateInstance(clsid, nullptr, dwContext, IID_IUnknown,
                            reinterpret_cast<void**>(ppUnk));
  }

  std::vector<OleString> m_progIds;
};
