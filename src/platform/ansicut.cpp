// Where a text in the ANSI code page may be cut. Without Windows that code
// page is UTF-8; on Windows it is the system's: mostly one byte a character,
// two for the East Asian code pages, UTF-8 where the system is set up so.
#include <cstring>

#include "platform/win32.h"

namespace {

size_t Utf8CutLength(LPCSTR szText, size_t nMaxBytes) {
  size_t n = nMaxBytes;
  // Step back over continuation bytes (10xxxxxx) to the lead byte of the
  // character that the cut would split, and cut before it.
  while (n > 0 && (static_cast<unsigned char>(szText[n]) & 0xC0) == 0x80) --n;
  return n;
}

}  // namespace

size_t PalAnsiCutLength(LPCSTR szText, size_t nMaxBytes) {
  if (!szText) return 0;
  const size_t nLength = strnlen(szText, nMaxBytes + 1);
  if (nLength <= nMaxBytes) return nLength;
#ifdef _WIN32
  if (GetACP() != CP_UTF8) {
    // A lead byte is known only from the start: walk whole characters.
    size_t n = 0;
    for (;;) {
      const size_t nNext = n + (IsDBCSLeadByte(static_cast<BYTE>(szText[n])) ? 2 : 1);
      if (nNext > nMaxBytes) return n;
      n = nNext;
    }
  }
#endif
  return Utf8CutLength(szText, nMaxBytes);
}
