// Text helpers of the store: the store keeps UTF-8, automation speaks UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace olstore {

// Invalid sequences become U+FFFD, so a damaged text still converts whole.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// Member and ProgID names are ASCII; these fold case the way automation does.
std::string AsciiLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace olstore
