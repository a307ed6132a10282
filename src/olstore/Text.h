// Text helpers of the store: the store keeps UTF-8, automation speaks UTF-16.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32.h"

namespace olstore {

// Automation's UTF-16 text: char16_t here, wchar_t on Windows.
using OleString = std::basic_string<OLECHAR>;
using OleStringView = std::basic_string_view<OLECHAR>;

// Invalid sequences become U+FFFD, so a damaged text still converts whole.
OleString Utf8ToUtf16(std::string_view text);
// The same into out, which has room for text.size() units (a character never
// takes more units than bytes); the number of units written.
size_t Utf8ToUtf16(std::string_view text, OLECHAR* out);
bool IsAscii(std::string_view text);
std::string Utf16ToUtf8(OleStringView text);

// Member and ProgID names are ASCII; these fold case the way automation does.
std::string AsciiLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace olstore
