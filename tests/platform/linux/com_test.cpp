// The Linux layer's COM runtime where Windows, as Wine runs it, behaves
// otherwise: missing pointers are refused here (Windows faults), a cleared
// variant is zeroed and a null string copies as null, the reserved argument is
// checked, and the class table serves a class only in the contexts it was
// registered for, takes a newer registration of a class before the older one,
// refuses aggregation itself and bad registrations without a trace.
#include <gtest/gtest.h>

#include "platform/support/ComObjects.h"
#include "platform/win32.h"

namespace {

TEST(ComVariant, RefusesMissingVariants) {
  EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
  VARIANT v;
  VariantInit(&v);
  EXPECT_EQ(VariantCopy(nullptr, &v), E_INVALIDARG);
  EXPECT_EQ(VariantCopy(&v, nullptr), E_INVALIDARG);
}

TEST(ComVariant, ClearZeroesTheValueAndNullStringsCopyAsNull) {
  CountingDispatch obj;
  obj.AddRef();  // the variant's reference
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_DISPATCH;
  v.pdispVal = &obj;
  EXPECT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(v.punkVal, nullptr);

  VARIANT src;
  VariantInit(&src);
  src.vt = VT_BSTR;
  ASSERT_EQ(VariantCopy(&v, &src), S_OK);
  EXPECT_EQ(v.vt, VT_BSTR);
  EXPECT_EQ(v.bstrVal, nullptr);
}

TEST(ComInit, ReservedArgumentMustBeNull) {
  int nReserved = 0;
  EXPECT_EQ(CoInitialize(&nReserved), E_INVALIDARG);
  EXPECT_EQ(CoInitialize(nullptr), S_OK);  // the refused call counted nothing
  CoUninitialize();
}

TEST_F(ComClassTable, ServesAClassOnlyInItsContexts) {
  CountingFactory local;
  ScopedClass localClass(MakeClsid(21), &local, CLSCTX_LOCAL_SERVER);
  IUnknown* pUnk = &local;
  EXPECT_EQ(Create(MakeClsid(21), &pUnk, CLSCTX_INPROC_SERVER), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(pUnk, nullptr);
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

TEST_F(ComClassTable, RefusedRegistrationsLeaveNoCookieAndNoReference) {
  CountingFactory factory;
  DWORD dwCookie = 77;
  EXPECT_EQ(CoRegisterClassObject(MakeClsid(50), nullptr, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                  &dwCookie),
            E_INVALIDARG);
  EXPECT_EQ(dwCookie, 0u);
  EXPECT_EQ(CoRegisterClassObject(MakeClsid(50), &factory, 0, REGCLS_MULTIPLEUSE, &dwCookie),
            E_INVALIDARG);
  EXPECT_EQ(factory.m_nRefs, 1u);
}

TEST_F(ComClassTable, OleRunNeedsAnObject) { EXPECT_EQ(OleRun(nullptr), E_INVALIDARG); }

}  // namespace
