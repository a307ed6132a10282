// The one door through which the program opens documents, folders and links,
// so that tests can stand in front of it on either system.
#include <atomic>

#include "platform/win32.h"

namespace {

std::atomic<PalShellExecuteHook> s_shellExecuteHook{nullptr};

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
  return ShellExecuteA(hwnd, lpOperation, lpFile, lpParameters, lpDirectory, nShowCmd);
}
