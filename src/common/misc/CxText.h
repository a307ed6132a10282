// Cutting texts to fixed-size fields. Texts are UTF-8 (the ANSI code page of
// this program), so a cut must fall before a whole character, never inside one.
#pragma once

#include <cstddef>
#include <cstring>

// The length of the longest prefix of szText that has at most nMaxBytes bytes
// and does not end inside a multi-byte character.
inline size_t TextCutLength(const char* szText, size_t nMaxBytes) {
  const size_t nLen = strnlen(szText, nMaxBytes + 1);
  if (nLen <= nMaxBytes) return nLen;
  size_t n = nMaxBytes;
  // Step back over continuation bytes (10xxxxxx) to the lead byte of the
  // character that the cut would split, and cut before it.
  while (n > 0 && (static_cast<unsigned char>(szText[n]) & 0xC0) == 0x80) --n;
  return n;
}

// Copies szSrc into a field of nDestSize bytes (terminating zero included),
// cut before a whole character when it does not fit. Returns true when the
// whole text fitted.
inline bool CopyText(char* szDest, size_t nDestSize, const char* szSrc) {
  if (!szDest || nDestSize == 0) return false;
  if (!szSrc) szSrc = "";
  const size_t n = TextCutLength(szSrc, nDestSize - 1);
  memmove(szDest, szSrc, n);
  szDest[n] = '\0';
  return szSrc[n] == '\0';
}
