// The in-process COM runtime: interface ids, automation strings, variant
// ownership, apartment counting and the class table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/support/ComObjects.h"
#include "platform/win32.h"
#include "support/OleText.h"

namespace {

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
      OleString(), OleString(OLESTR("a")), OleString(OLESTR("Grüße \U0001F600")),
      OleString(OLESTR("a\0b\0"), 4),  // embedded zeros belong to the text
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
  BSTR bstr = SysAllocString(OLESTR("Outlook\0hidden"));
  ASSERT_NE(bstr, nullptr);
  EXPECT_EQ(SysStringLen(bstr), 7u);
  EXPECT_EQ(OleString(bstr), OLESTR("Outlook"));
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
    // A second clear finds nothing to release.
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(obj.m_nRefs, 1u);
  }
}

TEST(ComVariant, ClearFreesStringsAndToleratesNullObjects) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(OLESTR("freed by the clear"));  // a leak here fails the sanitizer run
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

TEST(ComVariant, ClearAndCopyRefuseBadTypes) {
  VARIANT v;
  VariantInit(&v);
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
  src.bstrVal = SysAllocStringLen(OLESTR("x\0y"), 3);
  VARIANT dest;
  VariantInit(&dest);
  ASSERT_EQ(VariantCopy(&dest, &src), S_OK);
  ASSERT_EQ(dest.vt, VT_BSTR);
  EXPECT_NE(dest.bstrVal, src.bstrVal);
  EXPECT_EQ(OleString(dest.bstrVal, SysStringLen(dest.bstrVal)), OleString(OLESTR("x\0y"), 3));
  // Each owns its string: freeing one leaves the other readable.
  VariantClear(&src);
  EXPECT_EQ(dest.bstrVal[2], OLESTR('y'));
  VariantClear(&dest);

  VariantInit(&src);
  src.vt = VT_BSTR;  // a null string copies as an empty string
  ASSERT_EQ(VariantCopy(&dest, &src), S_OK);
  EXPECT_EQ(dest.vt, VT_BSTR);
  EXPECT_EQ(SysStringLen(dest.bstrVal), 0u);
  VariantClear(&dest);
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

TEST_F(ComClassTable, ProgIDsMatchWithoutRegardToCase) {
  RegisterProgID(OLESTR("Quill.TestServer"), MakeClsid(1));
  const OLECHAR* lookups[] = {OLESTR("Quill.TestServer"), OLESTR("quill.testserver"), OLESTR("QUILL.TESTSERVER")};
  for (const OLECHAR* szLookup : lookups) {
    CLSID clsid = IID_IDispatch;
    EXPECT_EQ(CLSIDFromProgID(szLookup, &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, MakeClsid(1)));
  }
}

TEST_F(ComClassTable, ProgIDRegisteredAgainPointsAtTheNewClass) {
  RegisterProgID(OLESTR("Quill.Moving"), MakeClsid(2));
  RegisterProgID(OLESTR("QUILL.MOVING"), MakeClsid(3));
  CLSID clsid = IID_NULL;
  ASSERT_EQ(CLSIDFromProgID(OLESTR("quill.moving"), &clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, MakeClsid(3)));
}

TEST_F(ComClassTable, UnknownOrBadProgIDs) {
  RegisterProgID(OLESTR("Quill.Gone"), MakeClsid(4));
  ASSERT_EQ(PalRevokeProgID(OLESTR("quill.GONE")), S_OK);
  m_progIds.clear();
  const struct {
    const OLECHAR* szProgID;
    bool bWithOut;
    HRESULT hrExpected;
  } cases[] = {
      {OLESTR("Quill.Gone"), true, CO_E_CLASSSTRING},
      {OLESTR("Outlook.Application.Missing"), true, CO_E_CLASSSTRING},
      {OLESTR(""), true, CO_E_CLASSSTRING},
      {nullptr, true, E_INVALIDARG},
      {OLESTR("Quill.Gone"), false, E_INVALIDARG},
  };
  for (const auto& c : cases) {
    CLSID clsid = IID_IDispatch;  // anything but zeros
    EXPECT_EQ(CLSIDFromProgID(c.szProgID, c.bWithOut ? &clsid : nullptr), c.hrExpected);
    if (c.bWithOut && c.szProgID) {
      EXPECT_TRUE(IsEqualCLSID(clsid, IID_NULL));
    }
  }
  EXPECT_EQ(PalRevokeProgID(OLESTR("Quill.Gone")), CO_E_CLASSSTRING);
  EXPECT_EQ(PalRevokeProgID(nullptr), E_INVALIDARG);
  EXPECT_EQ(PalRegisterProgID(nullptr, MakeClsid(4)), E_INVALIDARG);
  EXPECT_EQ(PalRegisterProgID(OLESTR(""), MakeClsid(4)), E_INVALIDARG);
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
  PlainUnknown notFactory;
  ScopedClass notFactoryClass(MakeClsid(22), &notFactory);

  const struct {
    CLSID clsid;
    DWORD dwContext;
    HRESULT hrExpected;
  } cases[] = {
      {MakeClsid(20), 0x15, E_OUTOFMEMORY},  // factory's status passes through
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
}

TEST_F(ComClassTable, RegistrationRefusesBadArguments) {
  CountingFactory factory;
  DWORD dwCookie = 77;
  EXPECT_EQ(CoRegisterClassObject(MakeClsid(50), nullptr, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                  &dwCookie),
            E_INVALIDARG);
  EXPECT_EQ(CoRegisterClassObject(MakeClsid(50), &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                  nullptr),
            E_INVALIDARG);
  EXPECT_EQ(factory.m_nRefs, 1u);
}

TEST_F(ComClassTable, OleRunAcceptsAnyObject) {
  PlainUnknown obj;
  EXPECT_EQ(OleRun(&obj), S_OK);
}

}  // namespace
