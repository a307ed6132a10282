// Windows has no local Outlook: the Outlook in use is the one the registry
// knows, and nothing needs starting for it.
#include "platform/win32.h"

BOOL PalStartLocalOutlook(LPSTR szReason, DWORD nSize) {
  if (szReason && nSize > 0) szReason[0] = '\0';
  return TRUE;
}

BOOL PalGetLocalOutlook(PAL_LOCAL_OUTLOOK* pInfo) {
  if (pInfo) ZeroMemory(pInfo, sizeof *pInfo);
  return FALSE;
}
