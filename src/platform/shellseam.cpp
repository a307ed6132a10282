// The one door through which the program opens documents, folders and links,
// so that tests can stand in front of it on either system.
#include <atomic>
#include <cstdint>
#include <mutex>

#include "platform/win32.h"

namespace {

std::atomic<PalShellExecuteHook> s_shellExecuteHook{nullptr};

// Held while the failure hook runs, so that whoever unsets it may then free
// what the hook uses.
std::mutex s_failedHookMutex;
PalShellOpenFailedHook s_shellOpenFailedHook = nullptr;

// What ShellExecuteA answers for a success: any value above 32.
constexpr intptr_t kShellSuccess = 33;

}  // namespace

void PalSetShellExecuteHook(PalShellExecuteHook hook) { s_shellExecuteHook = hook; }

HINSTANCE PalShellExecute(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                          LPCSTR lpDirectory, INT nShowCmd) {
  if (const PalShellExecuteHook hook = s_shellExecuteHook) {
    hook(lpOperation, lpFile, lpParameters, lpDirectory);
    return reinterpret_cast<HINSTANCE>(kShellSuccess);
  }
  const HINSTANCE hResult =
      ShellExecuteA(hwnd, lpOperation, lpFile, lpParameters, lpDirectory, nShowCmd);
  if (const intptr_t nCode = reinterpret_cast<intptr_t>(hResult); nCode <= 32)
    PalShellOpenFailed(lpFile, static_cast<int>(nCode));
  return hResult;
}

void PalSetShellOpenFailedHook(PalShellOpenFailedHook hook) {
  const std::lock_guard lock(s_failedHookMutex);
  s_shellOpenFailedHook = hook;
}

void PalShellOpenFailed(LPCSTR lpFile, int nShellError) {
  const std::lock_guard lock(s_failedHookMutex);
  if (s_shellOpenFailedHook) s_shellOpenFailedHook(lpFile ? lpFile : "", nShellError);
}
