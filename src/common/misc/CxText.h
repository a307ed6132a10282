// Cutting texts to fixed-size fields. Texts are in the ANSI code page of the
// system (UTF-8 without Windows), so a cut must fall before a whole character,
// never inside one.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

#include "platform/win32.h"

// The length of the longest prefix of szText that has at most nMaxBytes bytes
// and does not end inside a multi-byte character.
inline size_t TextCutLength(const char* szText, size_t nMaxBytes) {
  return PalAnsiCutLength(szText, nMaxBytes);
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

// The text of a fixed-size field, even if it lacks its terminating zero.
template <size_t N>
std::string FieldString(const char (&szField)[N]) {
  return std::string(szField, strnlen(szField, N));
}
