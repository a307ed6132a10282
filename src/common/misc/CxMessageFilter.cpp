#include "common/misc/CxMessageFilter.h"

#include <atomic>

namespace {

// The filter serves the one user-interface thread; its state is that thread's.
thread_local IMessageFilter* t_pPrevious = nullptr;
thread_local uint32_t t_nRegistrations = 0;
thread_local bool t_bConsulted = false;

std::atomic<uint32_t> g_nRetryLimitMs{CxMessageFilter::kDefaultRetryLimitMs};

}  // namespace

bool CxMessageFilter::Register() {
  if (t_nRegistrations > 0) {
    ++t_nRegistrations;
    return true;
  }
  static thread_local CxMessageFilter filter;
  IMessageFilter* pPrevious = nullptr;
  if (FAILED(CoRegisterMessageFilter(&filter, &pPrevious))) return false;
  t_pPrevious = pPrevious;
  t_nRegistrations = 1;
  return true;
}

void CxMessageFilter::Revoke() {
  if (t_nRegistrations == 0 || --t_nRegistrations > 0) return;
  CoRegisterMessageFilter(t_pPrevious, nullptr);
  if (t_pPrevious) t_pPrevious->Release();
  t_pPrevious = nullptr;
}

bool CxMessageFilter::IsRegistered() { return t_nRegistrations > 0; }

bool CxMessageFilter::IsRefusal(HRESULT hr) {
  return hr == RPC_E_CALL_REJECTED || hr == RPC_E_SERVERCALL_RETRYLATER;
}

void CxMessageFilter::SetRetryLimit(uint32_t nLimitMs) { g_nRetryLimitMs = nLimitMs; }

uint32_t CxMessageFilter::GetRetryLimit() { return g_nRetryLimitMs; }

DWORD CxMessageFilter::RetryDelay(DWORD nElapsedMs, DWORD dwRejectType) {
  // "Rejected" is as final as "retry later" only for a server that will
  // never take the call; Outlook rejects while busy too, so both are retried.
  if (dwRejectType != SERVERCALL_RETRYLATER && dwRejectType != SERVERCALL_REJECTED)
    return static_cast<DWORD>(-1);
  if (nElapsedMs >= g_nRetryLimitMs) return static_cast<DWORD>(-1);
  return kRetryDelayMs;
}

void CxMessageFilter::BeginCall() { t_bConsulted = false; }

bool CxMessageFilter::ShouldRetry(HRESULT hr, uint32_t nElapsedMs) {
  if (!IsRegistered() || t_bConsulted || !IsRefusal(hr)) return false;
  const DWORD dwType = hr == RPC_E_CALL_REJECTED ? SERVERCALL_REJECTED : SERVERCALL_RETRYLATER;
  return RetryDelay(nElapsedMs, dwType) != static_cast<DWORD>(-1);
}

HRESULT CxMessageFilter::QueryInterface(REFIID riid, void** ppvObject) {
  if (!ppvObject) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMessageFilter)) {
    *ppvObject = static_cast<IMessageFilter*>(this);
    return S_OK;
  }
  *ppvObject = nullptr;
  return E_NOINTERFACE;
}

// The filter lives as long as its thread; COM's references do not own it.
ULONG CxMessageFilter::AddRef() { return 2; }
ULONG CxMessageFilter::Release() { return 1; }

DWORD CxMessageFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) {
  return SERVERCALL_ISHANDLED;
}

DWORD CxMessageFilter::RetryRejectedCall(HTASK, DWORD dwTickCount, DWORD dwRejectType) {
  t_bConsulted = true;
  return RetryDelay(dwTickCount, dwRejectType);
}

DWORD CxMessageFilter::MessagePending(HTASK, DWORD, DWORD) { return PENDINGMSG_WAITDEFPROCESS; }
