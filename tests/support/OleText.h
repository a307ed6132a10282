// Automation's UTF-16 text in tests: OLECHAR is char16_t in the Linux layer and
// wchar_t on Windows, so literals are OLESTR("...") and strings these.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32.h"

using OleString = std::basic_string<OLECHAR>;
using OleStringView = std::basic_string_view<OLECHAR>;

// The whole literal, embedded zeros included: OleLiteral(OLESTR("a\0b")) is
// three units long.
template <size_t N>
OleString OleLiteral(const OLECHAR (&text)[N]) {
  return OleString(text, N - 1);
}
