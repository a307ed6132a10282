// How the layer hands out a text of unknown length, on both systems.
#pragma once

#include <cstring>
#include <string_view>

#include "platform/win32.h"

// Copies text into lpBuffer as GetEnvironmentVariableA does: its length
// without the terminating zero, or, when nSize bytes do not hold it with the
// zero (or there is no buffer), the size it needs and the buffer untouched.
inline DWORD PalAnswerText(std::string_view text, LPSTR lpBuffer, DWORD nSize) {
  if (text.size() >= nSize || !lpBuffer) return static_cast<DWORD>(text.size() + 1);
  memcpy(lpBuffer, text.data(), text.size());
  lpBuffer[text.size()] = '\0';
  return static_cast<DWORD>(text.size());
}
