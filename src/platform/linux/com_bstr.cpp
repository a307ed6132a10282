// Automation strings laid out as Windows lays them out: a 32-bit byte count
// right before the first character, the characters, then a zero character.
// The BSTR points at the first character, so it reads as a plain C string and
// still knows its length when the text holds zeros.
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/win32.h"

namespace {

constexpr size_t kPrefixBytes = sizeof(uint32_t);

char* BlockOf(BSTR bstr) { return reinterpret_cast<char*>(bstr) - kPrefixBytes; }

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
  // The byte count, and the zero character after it, must fit the 32-bit prefix.
  if (ui > (UINT_MAX - kPrefixBytes - sizeof(OLECHAR)) / sizeof(OLECHAR)) return nullptr;
  const uint32_t nBytes = ui * static_cast<uint32_t>(sizeof(OLECHAR));
  char* pBlock = static_cast<char*>(malloc(kPrefixBytes + nBytes + sizeof(OLECHAR)));
  if (!pBlock) return nullptr;
  memcpy(pBlock, &nBytes, kPrefixBytes);
  BSTR bstr = reinterpret_cast<BSTR>(pBlock + kPrefixBytes);
  // Windows leaves the space of a null source uninitialised; zeros are kinder.
  if (strIn)
    memcpy(bstr, strIn, nBytes);
  else
    memset(bstr, 0, nBytes);
  bstr[ui] = 0;
  return bstr;
}

BSTR SysAllocString(const OLECHAR* psz) {
  if (!psz) return nullptr;
  size_t nLen = 0;
  while (psz[nLen]) ++nLen;
  if (nLen > UINT_MAX) return nullptr;
  return SysAllocStringLen(psz, static_cast<UINT>(nLen));
}

void SysFreeString(BSTR bstrString) {
  if (bstrString) free(BlockOf(bstrString));
}

UINT SysStringLen(BSTR pbstr) {
  if (!pbstr) return 0;
  uint32_t nBytes = 0;
  memcpy(&nBytes, BlockOf(pbstr), kPrefixBytes);
  return nBytes / sizeof(OLECHAR);
}
