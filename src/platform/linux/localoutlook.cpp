// The local Outlook here is the local Outlook store: it answers
// "Outlook.Application" once it has put its class into the layer's class table.
#include <cstring>
#include <filesystem>
#include <string>

#include "olstore/olstore.h"
#include "platform/win32.h"

namespace {

// A cut version or path would name another one, so a text that does not fit
// leaves its field empty instead.
void CopyWhole(char* szField, size_t nSize, const std::string& strText) {
  if (strText.size() < nSize) memcpy(szField, strText.c_str(), strText.size() + 1);
}

// A reason is only shown to people: cutting it (before a whole character)
// loses less than refusing it.
void CopyCut(char* szField, size_t nSize, const std::string& strText) {
  if (nSize == 0) return;
  const size_t nCut = PalAnsiCutLength(strText.c_str(), nSize - 1);
  memcpy(szField, strText.c_str(), nCut);
  szField[nCut] = '\0';
}

}  // namespace

BOOL PalStartLocalOutlook(LPSTR szReason, DWORD nSize) {
  const bool bStarted = olstore::RegisterOutlookApplication();
  if (szReason) CopyCut(szReason, nSize, bStarted ? std::string() : olstore::LastError());
  return bStarted ? TRUE : FALSE;
}

BOOL PalGetLocalOutlook(PAL_LOCAL_OUTLOOK* pInfo) {
  if (!pInfo) return FALSE;
  memset(pInfo, 0, sizeof *pInfo);
  // Another server may have taken Outlook's name since the store registered:
  // then the store is not the Outlook in use.
  CLSID clsid;
  if (FAILED(CLSIDFromProgID(OLESTR("Outlook.Application"), &clsid)) ||
      !IsEqualCLSID(clsid, olstore::OutlookApplicationClsid()))
    return FALSE;
  CopyWhole(pInfo->szVersion, sizeof pInfo->szVersion, olstore::Version());
  const std::string strFile = olstore::ResolveStorePath();
  CopyWhole(pInfo->szDataFile, sizeof pInfo->szDataFile, strFile);
  CopyWhole(pInfo->szDataFolder, sizeof pInfo->szDataFolder,
            std::filesystem::path(strFile).parent_path().string());
  std::error_code ec;
  pInfo->bDataFileExists = std::filesystem::exists(strFile, ec) ? TRUE : FALSE;
  CopyCut(pInfo->szProblem, sizeof pInfo->szProblem, olstore::LastError());
  return TRUE;
}
