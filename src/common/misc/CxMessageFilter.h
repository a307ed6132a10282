// CxMessageFilter: the program's COM message filter. Outlook refuses calls
// while it is busy (a dialog open, a send in progress); a well-behaved
// automation client then retries for a while instead of failing at once, and
// reports the call as refused only when Outlook stays busy.
#pragma once

#include <cstdint>

#include "platform/win32.h"

class CxMessageFilter final : public IMessageFilter {
 public:
  // How long a refused call is retried, in milliseconds.
  static constexpr uint32_t kDefaultRetryLimitMs = 15000;
  // The pause between two tries, in milliseconds.
  static constexpr uint32_t kRetryDelayMs = 250;

  // Registers one filter for the calling thread (COM initialised on it),
  // keeping the filter that was there; each Register is matched by Revoke,
  // the last of which puts the previous filter back.
  static bool Register();
  static void Revoke();
  static bool IsRegistered();

  // Whether hr is a server's answer that it is busy.
  static bool IsRefusal(HRESULT hr);

  static void SetRetryLimit(uint32_t nLimitMs);
  static uint32_t GetRetryLimit();

  // What RetryRejectedCall answers after nElapsedMs of refusals: the pause
  // before the next try, or (DWORD)-1 to give up.
  static DWORD RetryDelay(DWORD nElapsedMs, DWORD dwRejectType);

  // For CDispCmd: COM consults the filter about a refused call while it
  // waits for it, so that the call comes back refused only when the filter
  // gave up. A runtime that does not (Wine's) hands the refusal straight
  // back; then the caller retries by the filter's rule itself. BeginCall
  // starts a call; ShouldRetry tells, after the call came back with hr
  // nElapsedMs after its first try, whether to pause and try again.
  static void BeginCall();
  static bool ShouldRetry(HRESULT hr, uint32_t nElapsedMs);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD dwCallType, HTASK htaskCaller,
                                             DWORD dwTickCount,
                                             LPINTERFACEINFO lpInterfaceInfo) override;
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK htaskCallee, DWORD dwTickCount,
                                            DWORD dwRejectType) override;
  DWORD STDMETHODCALLTYPE MessagePending(HTASK htaskCallee, DWORD dwTickCount,
                                         DWORD dwPendingType) override;
};
