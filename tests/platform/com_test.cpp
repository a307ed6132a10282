// The in-process COM runtime: interface ids, automation strings, variant
// ownership, apartment counting and the class table.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32.h"

namespace {

typedef std::basic_string<OLECHAR> OleString;

std::string GuidText(const GUID& g) {
  char sz[40];
  snprintf(sz, sizeof(sz), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2,
           g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5],
           g.Data4[6], g.Data4[7]);
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

CLSID MakeClsid(uint32_t nData1) {
  return {nData1, 0x1234, 0x5678, {0x9A, 0xBC, 0xDE, 0xF0, 0x11, 0x22, 0x33, 0x44}};
}

// ---- Interface ids -----------------------------------------------------------

TEST(ComGuid, WellKnownIdsHaveTheWindowsValues) {
  const struct {
    const IID* pIid;
    const char* szExpected;
  } cases[] = {
      {&IID_NULL, "{00000000-0000-0000-0000-000000000000}"},
      {&IID_IUnknown, "{00000000-0000-0000-C000-000000000046}"},
      {&IID_IDispatch, "{00020400-0000-0000-C000-000000000046}"},
      {&IID_IClassFactory, "{00000001-0000-0000-C000-000000000046}"},
  };
  for (const auto& c : cases) EXPECT_EQ(GuidText(*c.pIid), c.szExpected);
  EXPECT_FALSE(IsEqualIID(IID_IUnknown, IID_IDispatch));
  EXPECT_FALSE(IsEqualIID(IID_IUnknown, IID_IClassFactory));
}

// ---- Automation strings --------------------------------------------------------

TEST(ComBstr, KeepsByteCountPrefixAndTerminator) {
  const OleString cases[] = {
      OleString(), OleString(u"a"), OleString(u"Grüße \U0001F600"),
      OleString(u"a\0b\0", 4),  // embedded zeros belong to the text
  };
  for (const OleString& text : cases) {
    SCOPED_TRACE(testing::Message() << "length " << text.size());
    BSTR bstr = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    ASSERT_NE(bstr, nullptr);
    EXPECT_EQ(SysStringLen(bstr), text.size());
    uint32_t nPrefix = 0;
    memcpy(&nPrefix, reinterpret_cast<const char*>(bstr) - 4, 4);
    EXPECT_EQ(nPrefix, text.size() * sizeof(OLECHAR));
    EXPECT_EQ(OleString(bstr, SysStringLen(bstr)), text);
    EXPECT_EQ(bstr[text.size()], 0);
    SysFreeString(bstr);
  }
}

TEST(ComBstr, SysAllocStringStopsAtTheFirstZero) {
  BSTR bstr = SysAllocString(u"Outlook\0hidden");
  ASSERT_NE(bstr, nullptr);
  EXPECT_EQ(SysStringLen(bstr), 7u);
  EXPECT_EQ(OleString(bstr), u"Outlook");
  SysFreeString(bstr);
}

TEST(ComBstr, NullInputs) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  SysFreeString(nullptr);

  BSTR bstr = SysAllocStringLen(nullptr, 5);
  ASSERT_NE(bstr, nullptr);
  EXPECT_EQ(SysStringLen(bstr), 5u);
  for (int i = 0; i <= 5; ++i) EXPECT_EQ(bstr[i], 0) << "unit " << i;
  SysFreeString(bstr);
}

TEST(ComBstr, RefusesLengthsBeyondThePrefix) {
  EXPECT_EQ(SysAllocStringLen(nullptr, 0x80000000u), nullptr);
  EXPECT_EQ(SysAllocStringLen(nullptr, 0xFFFFFFFFu), nullptr);
}

// ---- Variants ---------------------------------------------------------------------

TEST(ComVariant, InitEmptiesWhateverWasThere) {
  VARIANT v;
  memset(&v, 0xAB, sizeof(v));
  VariantInit(&v);
  EXPECT_EQ(v.vt, VT_EMPTY);
  EXPECT_EQ(v.llVal, 0);
}

TEST(ComVariant, ClearReleasesObjectsAndResets) {
  const VARTYPE types[] = {VT_DISPATCH, VT_UNKNOWN};
  for (VARTYPE vt : types) {
    SCOPED_TRACE(vt);
    CountingDispatch obj;
    obj.AddRef();  // the variant's reference
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    if (vt == VT_DISPATCH)
      v.pdispVal = &obj;
    else
      v.punkVal = &obj;
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(obj.m_nRefs, 1u);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(v.punkVal, nullptr);
    // A second clear finds nothing to release.
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(obj.m_nRefs, 1u);
  }
}

TEST(ComVariant, ClearFreesStringsAndToleratesNullObjects) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(u"freed by the clear");  // a leak here fails the sanitizer run
  EXPECT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(v.vt, VT_EMPTY);

  const VARTYPE nullHolders[] = {VT_BSTR, VT_DISPATCH, VT_UNKNOWN};
  for (VARTYPE vt : nullHolders) {
    VariantInit(&v);
    v.vt = vt;
    EXPECT_EQ(VariantClear(&v), S_OK) << vt;
    EXPECT_EQ(v.vt, VT_EMPTY);
  }
}

TEST(ComVariant, ClearAndCopyRefuseBadArguments) {
  EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
  VARIANT v;
  VariantInit(&v);
  EXPECT_EQ(VariantCopy(nullptr, &v), E_INVALIDARG);
  EXPECT_EQ(VariantCopy(&v, nullptr), E_INVALIDARG);

  VARIANT bad;
  VariantInit(&bad);
  bad.vt = 0x7FFF;
  EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
  EXPECT_EQ(bad.vt, 0x7FFF);  // left as it was
  EXPECT_EQ(VariantCopy(&v, &bad), DISP_E_BADVARTYPE);
  EXPECT_EQ(v.vt, VT_EMPTY);
}

TEST(ComVariant, CopyOfStringIsDeep) {
  VARIANT src;
  VariantInit(&src);
  src.vt = VT_BSTR;
  src.bstrVal = SysAllocStringLen(u"x\0y", 3);
  VARIANT dest;
  VariantInit(&dest);
  ASSERT_EQ(VariantCopy(&dest, &src), S_OK);
  ASSERT_EQ(dest.vt, VT_BSTR);
  EXPECT_NE(dest.bstrVal, src.bstrVal);
  EXPECT_EQ(OleString(dest.bstrVal, SysStringLen(dest.bstrVal)), OleString(u"x\0y", 3));
  // Each owns its string: freeing one leaves the other readable.
  VariantClear(&src);
  EXPECT_EQ(dest.bstrVal[2], u'y');
  VariantClear(&dest);

  VariantInit(&src);
  src.vt = VT_BSTR;  // a null string copies as a null string
  ASSERT_EQ(VariantCopy(&dest, &src), S_OK);
  EXPECT_EQ(dest.vt, VT_BSTR);
  EXPECT_EQ(dest.bstrVal, nullptr);
}

TEST(ComVariant, CopyOfObjectAddsReferenceAndCopiesValues) {
  CountingDispatch obj;
  VARIANT src;
  VariantInit(&src);
  src.vt = VT_DISPATCH;
  src.pdispVal = &obj;
  VARIANT dest;
  VariantInit(&dest);
  ASSERT_EQ(VariantCopy(&dest, &src), S_OK);
  EXPECT_EQ(dest.vt, VT_DISPATCH);
  EXPECT_EQ(dest.pdispVal, &obj);
  EXPECT_EQ(obj.m_nRefs, 2u);
  VariantClear(&dest);
  EXPECT_EQ(obj.m_nRefs, 1u);

  src.vt = VT_DATE;
  src.date = 45000.75;
  ASSERT_EQ(VariantCopy(&dest, &src), S_OK);
  EXPECT_EQ(dest.vt, VT_DATE);
  EXPECT_EQ(dest.date, 45000.75);
}

TEST(ComVariant, CopyClearsTheDestinationFirst) {
  CountingDispatch held;
  held.AddRef();
  VARIANT dest;
  VariantInit(&dest);
  dest.vt = VT_DISPATCH;
  dest.pdispVal = &held;
  VARIANT src;
  VariantInit(&src);
  src.vt = VT_I4;
  src.lVal = 42;
  ASSERT_EQ(VariantCopy(&dest, &src), S_OK);
  EXPECT_EQ(held.m_nRefs, 1u);
  EXPECT_EQ(dest.vt, VT_I4);
  EXPECT_EQ(dest.lVal, 42);
}

TEST(ComVariant, CopyOntoItselfChangesNothing) {
  CountingDispatch obj;
  obj.AddRef();
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_DISPATCH;
  v.pdispVal = &obj;
  EXPECT_EQ(VariantCopy(&v, &v), S_OK);
  EXPECT_EQ(v.vt, VT_DISPATCH);
  EXPECT_EQ(obj.m_nRefs, 2u);
  VariantClear(&v);
}

// ---- Apartment initialisation ------------------------------------------------------

TEST(ComInit, CountsPerThread) {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);

  HRESULT hrOther = E_FAIL;
  std::thread([&] {
    hrOther = CoInitialize(nullptr);
    CoUninitialize();
  }).join();
  EXPECT_EQ(hrOther, S_OK);

  CoUninitialize();
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);  // one count still open
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  CoUninitialize();
  CoUninitialize();  // one too many is harmless
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  CoUninitialize();
}

TEST(ComInit, ReservedArgumentMustBeNull) {
  int nReserved = 0;
  EXPECT_EQ(CoInitialize(&nReserved), E_INVALIDARG);
  EXPECT_EQ(CoInitialize(nullptr), S_OK);  // the refused call counted nothing
  CoUninitialize();
}

TEST(ComInit, CreationNeedsAnInitialisedThread) {
  HRESULT hrCreate = S_OK;
  HRESULT hrRegister = S_OK;
  void* pv = &hrCreate;
  std::thread([&] {
    CountingFactory factory;
    DWORD dwCookie = 1;
    hrRegister = CoRegisterClassObject(MakeClsid(0xC0), &factory, CLSCTX_INPROC_SERVER,
                                       REGCLS_MULTIPLEUSE, &dwCookie);
    hrCreate = CoCreateInstance(MakeClsid(0xC0), nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &pv);
  }).join();
  EXPECT_EQ(hrRegister, CO_E_NOTINITIALIZED);
  EXPECT_EQ(hrCreate, CO_E_NOTINITIALIZED);
  EXPECT_EQ(pv, nullptr);
}

// ---- Class table --------------------------------------------------------------------

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

TEST_F(ComClassTable, ProgIDsMatchWithoutRegardToCase) {
  RegisterProgID(u"Quill.TestServer", MakeClsid(1));
  const OLECHAR* lookups[] = {u"Quill.TestServer", u"quill.testserver", u"QUILL.TESTSERVER"};
  for (const OLECHAR* szLookup : lookups) {
    CLSID clsid = IID_IDispatch;
    EXPECT_EQ(CLSIDFromProgID(szLookup, &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, MakeClsid(1)));
  }
}

TEST_F(ComClassTable, ProgIDRegisteredAgainPointsAtTheNewClass) {
  RegisterProgID(u"Quill.Moving", MakeClsid(2));
  RegisterProgID(u"QUILL.MOVING", MakeClsid(3));
  CLSID clsid = IID_NULL;
  ASSERT_EQ(CLSIDFromProgID(u"quill.moving", &clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, MakeClsid(3)));
}

TEST_F(ComClassTable, UnknownOrBadProgIDs) {
  RegisterProgID(u"Quill.Gone", MakeClsid(4));
  ASSERT_EQ(PalRevokeProgID(u"quill.GONE"), S_OK);
  m_progIds.clear();
  const struct {
    const OLECHAR* szProgID;
    bool bWithOut;
    HRESULT hrExpected;
  } cases[] = {
      {u"Quill.Gone", true, CO_E_CLASSSTRING},
      {u"Outlook.Application.Missing", true, CO_E_CLASSSTRING},
      {u"", true, CO_E_CLASSSTRING},
      {nullptr, true, E_INVALIDARG},
      {u"Quill.Gone", false, E_INVALIDARG},
  };
  for (const auto& c : cases) {
    CLSID clsid = IID_IDispatch;  // anything but zeros
    EXPECT_EQ(CLSIDFromProgID(c.szProgID, c.bWithOut ? &clsid : nullptr), c.hrExpected);
    if (c.bWithOut && c.szProgID) {
      EXPECT_TRUE(IsEqualCLSID(clsid, IID_NULL));
    }
  }
  EXPECT_EQ(PalRevokeProgID(u"Quill.Gone"), CO_E_CLASSSTRING);
  EXPECT_EQ(PalRevokeProgID(nullptr), E_INVALIDARG);
  EXPECT_EQ(PalRegisterProgID(nullptr, MakeClsid(4)), E_INVALIDARG);
  EXPECT_EQ(PalRegisterProgID(u"", MakeClsid(4)), E_INVALIDARG);
}

TEST_F(ComClassTable, CreatesThroughTheRegisteredFactory) {
  CountingFactory factory;
  ScopedClass registration(MakeClsid(10), &factory);
  EXPECT_EQ(factory.m_nRefs, 2u);  // the table holds one reference

  IDispatch* pDisp = nullptr;
  ASSERT_EQ(CoCreateInstance(MakeClsid(10), nullptr, 0x15, IID_IDispatch,
                             reinterpret_cast<void**>(&pDisp)),
            S_OK);
  EXPECT_EQ(pDisp, static_cast<IDispatch*>(&factory.m_product));
  EXPECT_TRUE(IsEqualIID(factory.m_iidAsked, IID_IDispatch));
  EXPECT_EQ(factory.m_pOuterSeen, nullptr);
  EXPECT_EQ(factory.m_product.m_nRefs, 2u);
  EXPECT_EQ(factory.m_nRefs, 2u);  // the creation gave back what it took
  EXPECT_EQ(OleRun(pDisp), S_OK);
  pDisp->Release();
}

TEST_F(ComClassTable, RevokeReleasesTheFactoryAndForgetsTheClass) {
  CountingFactory factory;
  ScopedClass registration(MakeClsid(11), &factory);
  const DWORD dwCookie = registration.m_dwCookie;
  ASSERT_EQ(registration.Revoke(), S_OK);
  EXPECT_EQ(factory.m_nRefs, 1u);
  EXPECT_EQ(CoRevokeClassObject(dwCookie), E_INVALIDARG);
  EXPECT_EQ(CoRevokeClassObject(0), E_INVALIDARG);

  IUnknown* pUnk = &factory;
  EXPECT_EQ(Create(MakeClsid(11), &pUnk), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(pUnk, nullptr);
  EXPECT_EQ(factory.m_nCreated, 0);
}

TEST_F(ComClassTable, CreationFailures) {
  CountingFactory failing;
  failing.m_hrCreate = E_OUTOFMEMORY;
  ScopedClass failingClass(MakeClsid(20), &failing);
  CountingFactory local;
  ScopedClass localClass(MakeClsid(21), &local, CLSCTX_LOCAL_SERVER);
  PlainUnknown notFactory;
  ScopedClass notFactoryClass(MakeClsid(22), &notFactory);

  const struct {
    CLSID clsid;
    DWORD dwContext;
    HRESULT hrExpected;
  } cases[] = {
      {MakeClsid(20), 0x15, E_OUTOFMEMORY},  // factory's status passes through
      {MakeClsid(21), CLSCTX_INPROC_SERVER, REGDB_E_CLASSNOTREG},  // not served in that context
      {MakeClsid(22), 0x15, E_NOINTERFACE},        // registered object is no factory
      {MakeClsid(23), 0x15, REGDB_E_CLASSNOTREG},  // never registered
      {IID_NULL, 0x15, REGDB_E_CLASSNOTREG},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(GuidText(c.clsid));
    IUnknown* pUnk = &notFactory;
    EXPECT_EQ(Create(c.clsid, &pUnk, c.dwContext), c.hrExpected);
    EXPECT_EQ(pUnk, nullptr);
  }
  EXPECT_EQ(notFactory.m_nRefs, 2u);  // only the table's reference remains
  EXPECT_EQ(failing.m_nRefs, 2u);
  EXPECT_EQ(local.m_nCreated, 0);
}

TEST_F(ComClassTable, AggregationIsRefused) {
  CountingFactory factory;
  ScopedClass registration(MakeClsid(30), &factory);
  PlainUnknown outer;
  void* pv = &outer;
  EXPECT_EQ(CoCreateInstance(MakeClsid(30), &outer, 0x15, IID_IUnknown, &pv),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(pv, nullptr);
  EXPECT_EQ(factory.m_nCreated, 0);
  EXPECT_EQ(CoCreateInstance(MakeClsid(30), nullptr, 0x15, IID_IUnknown, nullptr), E_INVALIDARG);
}

TEST_F(ComClassTable, NewestRegistrationAnswersAndSingleUseServesOnce) {
  CountingFactory older;
  ScopedClass olderClass(MakeClsid(40), &older);
  CountingFactory newer;
  ScopedClass newerClass(MakeClsid(40), &newer, CLSCTX_INPROC_SERVER, REGCLS_SINGLEUSE);

  IUnknown* pUnk = nullptr;
  ASSERT_EQ(Create(MakeClsid(40), &pUnk), S_OK);
  EXPECT_EQ(pUnk, static_cast<IUnknown*>(&newer.m_product));
  pUnk->Release();
  ASSERT_EQ(Create(MakeClsid(40), &pUnk), S_OK);  // the single-use object is spent
  EXPECT_EQ(pUnk, static_cast<IUnknown*>(&older.m_product));
  pUnk->Release();
  EXPECT_EQ(newer.m_nCreated, 1);
  EXPECT_EQ(older.m_nCreated, 1);
}

TEST_F(ComClassTable, RegistrationRefusesBadArguments) {
  CountingFactory factory;
  DWORD dwCookie = 77;
  EXPECT_EQ(CoRegisterClassObject(MakeClsid(50), nullptr, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                  &dwCookie),
            E_INVALIDARG);
  EXPECT_EQ(dwCookie, 0u);
  EXPECT_EQ(CoRegisterClassObject(MakeClsid(50), &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                  nullptr),
            E_INVALIDARG);
  EXPECT_EQ(CoRegisterClassObject(MakeClsid(50), &factory, 0, REGCLS_MULTIPLEUSE, &dwCookie),
            E_INVALIDARG);
  EXPECT_EQ(factory.m_nRefs, 1u);
}

TEST_F(ComClassTable, OleRunNeedsAnObject) {
  PlainUnknown obj;
  EXPECT_EQ(OleRun(&obj), S_OK);
  EXPECT_EQ(OleRun(nullptr), E_INVALIDARG);
}

}  // namespace
