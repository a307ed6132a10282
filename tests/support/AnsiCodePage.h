// The ANSI code page (CP_ACP), in which the program's texts are, is UTF-8 in
// the Linux layer; Windows' is the system's, UTF-8 only where it is set up so.
// Cases of multi-byte ANSI text hold only where it is UTF-8.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/win32.h"

inline bool AnsiIsUtf8() {
#ifdef _WIN32
  return GetACP() == CP_UTF8;
#else
  return true;
#endif
}

// Whether a case built on these UTF-8 bytes holds here: one of ASCII alone holds
// everywhere, one with longer characters only where the ANSI code page is
// UTF-8 (elsewhere the bytes are other characters, one byte each).
inline bool Utf8CaseHolds(std::string_view utf8) {
  return AnsiIsUtf8() || std::all_of(utf8.begin(), utf8.end(), [](char ch) {
           return static_cast<unsigned char>(ch) < 0x80;
         });
}

// A UTF-8 text as the program's records hold it: in the ANSI code page.
inline std::string AnsiText(std::string_view utf8) {
  if (AnsiIsUtf8() || utf8.empty()) return std::string(utf8);
  const int nBytes = static_cast<int>(utf8.size());
  std::basic_string<OLECHAR> wide(utf8.size(), 0);
  wide.resize(static_cast<size_t>(
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), nBytes, wide.data(), nBytes)));
  std::string ansi(wide.size() * 2, '\0');
  ansi.resize(static_cast<size_t>(
      WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(),
                          static_cast<int>(ansi.size()), nullptr, nullptr)));
  return ansi;
}
