// The message filter: how long a call that Outlook refuses while busy is
// retried, that registering it keeps the thread's previous filter, and that
// CDispCmd retries a refusal itself only when the COM runtime did not
// already ask the filter about it.
#include <gtest/gtest.h>

#include "common/misc/CxMessageFilter.h"
#include "common/misc/DispCmd.h"
#include "platform/win32.h"

namespace {

constexpr DWORD kGiveUp = static_cast<DWORD>(-1);

// The filter registered on this thread now, which stays registered.
IMessageFilter* CurrentFilter() {
  IMessageFilter* pFilter = nullptr;
  CoRegisterMessageFilter(nullptr, &pFilter);
  CoRegisterMessageFilter(pFilter, nullptr);
  if (pFilter) pFilter->Release();
  return pFilter;
}

class RecordingFilter final : public IMessageFilter {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override {
    *ppv = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
    return SERVERCALL_ISHANDLED;
  }
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return kGiveUp; }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
    return PENDINGMSG_WAITDEFPROCESS;
  }
};

// An Outlook that is busy for its first nRefusals calls of "Count". With
// bAskFilter it does what the COM runtime does before it hands a refusal
// back: it asks the caller's message filter.
class BusyObject final : public IDispatch {
 public:
  BusyObject(int nRefusals, bool bAskFilter) : m_nRefusals(nRefusals), m_bAskFilter(bAskFilter) {}
  int Calls() const { return m_nCalls; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** ppv) override {
    *ppv = this;
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pn) override {
    *pn = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID* pId) override {
    *pId = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* pResult,
                                   EXCEPINFO*, UINT*) override {
    ++m_nCalls;
    if (m_nRefusals < 0 || m_nCalls <= m_nRefusals) {
      if (m_bAskFilter) CurrentFilter()->RetryRejectedCall(nullptr, 0, SERVERCALL_REJECTED);
      return RPC_E_CALL_REJECTED;
    }
    pResult->vt = VT_I4;
    pResult->lVal = 42;
    return S_OK;
  }

 private:
  int m_nRefusals;  // -1: every call
  bool m_bAskFilter;
  int m_nCalls = 0;
};

class MessageFilterTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    m_nLimit = CxMessageFilter::GetRetryLimit();
    CxMessageFilter::SetRetryLimit(1000);
  }
  void TearDown() override {
    CxMessageFilter::SetRetryLimit(m_nLimit);
    CoRegisterMessageFilter(nullptr, nullptr);
    CoUninitialize();
  }

 private:
  uint32_t m_nLimit = 0;
};

TEST_F(MessageFilterTest, RefusalsAreRetriedUntilTheLimit) {
  struct Case {
    DWORD nElapsed;
    DWORD dwRejectType;
    DWORD dwExpected;
  };
  const Case kCases[] = {
      {0, SERVERCALL_RETRYLATER, CxMessageFilter::kRetryDelayMs},
      {0, SERVERCALL_REJECTED, CxMessageFilter::kRetryDelayMs},
      {999, SERVERCALL_RETRYLATER, CxMessageFilter::kRetryDelayMs},
      {1000, SERVERCALL_RETRYLATER, kGiveUp},
      {60000, SERVERCALL_REJECTED, kGiveUp},
      {0, SERVERCALL_ISHANDLED, kGiveUp},
  };
  CxMessageFilter filter;
  for (const Case& c : kCases) {
    EXPECT_EQ(CxMessageFilter::RetryDelay(c.nElapsed, c.dwRejectType), c.dwExpected)
        << c.nElapsed << " ms, type " << c.dwRejectType;
    EXPECT_EQ(filter.RetryRejectedCall(nullptr, c.nElapsed, c.dwRejectType), c.dwExpected);
  }
  EXPECT_EQ(filter.HandleInComingCall(0, nullptr, 0, nullptr),
            static_cast<DWORD>(SERVERCALL_ISHANDLED));
}

TEST_F(MessageFilterTest, RegistrationsNestAndGiveThePreviousFilterBack) {
  RecordingFilter previous;
  ASSERT_EQ(CoRegisterMessageFilter(&previous, nullptr), S_OK);
  ASSERT_TRUE(CxMessageFilter::Register());
  ASSERT_TRUE(CxMessageFilter::Register());
  EXPECT_NE(CurrentFilter(), &previous);
  CxMessageFilter::Revoke();
  EXPECT_TRUE(CxMessageFilter::IsRegistered());
  EXPECT_NE(CurrentFilter(), &previous);
  CxMessageFilter::Revoke();
  EXPECT_FALSE(CxMessageFilter::IsRegistered());
  EXPECT_EQ(CurrentFilter(), &previous);
}

TEST_F(MessageFilterTest, CallsRetryRefusalsOnlyWhereTheRuntimeDidNot) {
  struct Case {
    const char* szName;
    bool bFilter;
    int nRefusals;
    bool bRuntimeAsks;
    HRESULT hrExpected;
    int nCallsExpected;  // -1: more than one
  };
  const Case kCases[] = {
      {"no filter: the refusal is the answer", false, 2, false, RPC_E_CALL_REJECTED, 1},
      {"busy for a while: retried until done", true, 2, false, S_OK, 3},
      {"the runtime asked the filter already", true, 2, true, RPC_E_CALL_REJECTED, 1},
      {"busy past the limit: given up", true, -1, false, RPC_E_CALL_REJECTED, -1},
  };
  CxMessageFilter::SetRetryLimit(600);
  for (const Case& c : kCases) {
    if (c.bFilter) {
      ASSERT_TRUE(CxMessageFilter::Register());
    }
    BusyObject busy(c.nRefusals, c.bRuntimeAsks);
    CDispCmd cmd(&busy);
    int32_t nValue = 0;
    EXPECT_EQ(cmd.GetLong(OLESTR("Count"), &nValue), c.hrExpected) << c.szName;
    if (c.nCallsExpected < 0) {
      EXPECT_GT(busy.Calls(), 1) << c.szName;
    } else {
      EXPECT_EQ(busy.Calls(), c.nCallsExpected) << c.szName;
    }
    if (c.hrExpected == S_OK) {
      EXPECT_EQ(nValue, 42) << c.szName;
    }
    if (c.bFilter) CxMessageFilter::Revoke();
  }
}

}  // namespace
