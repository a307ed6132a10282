#include "support/FailingOutlook.h"

namespace {

const CLSID kFailingClsid = {0x5e1f0a11, 0x7c3d, 0x4b2e, {0x9a, 0x10, 0x2f, 0x6d, 0x41, 0x88, 0x0c, 0x73}};

class FailingFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *ppv = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  // Lives for the whole test program: nothing to count.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** ppv) override {
    ++m_nAttempts;
    if (ppv) *ppv = nullptr;
    return E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

  int m_nAttempts = 0;
};

FailingFactory g_Factory;

}  // namespace

FailingOutlook::FailingOutlook() : m_dwCookie(0), m_bRegistered(false) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  g_Factory.m_nAttempts = 0;
  m_bRegistered =
      SUCCEEDED(CoRegisterClassObject(kFailingClsid, &g_Factory, CLSCTX_LOCAL_SERVER,
                                      REGCLS_MULTIPLEUSE, &m_dwCookie)) &&
      SUCCEEDED(PalRegisterProgID(OLESTR("Outlook.Application"), kFailingClsid));
}

FailingOutlook::~FailingOutlook() {
  PalRevokeProgID(OLESTR("Outlook.Application"));
  if (m_dwCookie) CoRevokeClassObject(m_dwCookie);
}

int FailingOutlook::Attempts() const { return g_Factory.m_nAttempts; }
