#include "olstore/Text.h"

#include <cstdint>

namespace olstore {

namespace {

char ToLowerAscii(char ch) { return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch; }

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[pos]; advances pos past what it used.
char32_t DecodeUtf8(std::string_view text, size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, min = 0x10000;
  } else {
    return kReplacement;
  }
  for (int i = 0; i < extra; ++i) {
    if (pos >= text.size()) return kReplacement;
    const auto next = static_cast<unsigned char>(text[pos]);
    if ((next & 0xC0) != 0x80) return kReplacement;
    cp = (cp << 6) | (next & 0x3F);
    ++pos;
  }
  // Overlong forms, surrogates and values past Unicode are not characters.
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
  return cp;
}

// Writes the character at out (room for four bytes); returns the end.
char* AppendUtf8(char* out, char32_t cp) {
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | (cp >> 6));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (cp >> 12));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (cp >> 18));
    *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

}  // namespace

size_t Utf8ToUtf16(std::string_view text, OLECHAR* out) {
  // Every property read passes through here, long bodies included, so ASCII,
  // the bulk of most texts, skips the decoder.
  size_t units = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80) {
      out[units++] = byte;
      ++pos;
      continue;
    }
    const char32_t cp = DecodeUtf8(text, pos);
    if (cp >= 0x10000) {
      const char32_t v = cp - 0x10000;
      out[units++] = static_cast<OLECHAR>(0xD800 + (v >> 10));
      out[units++] = static_cast<OLECHAR>(0xDC00 + (v & 0x3FF));
    } else {
      out[units++] = static_cast<OLECHAR>(cp);
    }
  }
  return units;
}

OleString Utf8ToUtf16(std::string_view text) {
  OleString out(text.size(), 0);
  out.resize(Utf8ToUtf16(text, out.data()));
  return out;
}

bool IsAscii(std::string_view text) {
  for (const char ch : text)
    if (static_cast<unsigned char>(ch) >= 0x80) return false;
  return true;
}

std::string Utf16ToUtf8(OleStringView text) {
  // Sized once for the longest form (three bytes a unit) and written in place:
  // entry and store IDs, hundreds of ASCII characters, arrive with every save.
  std::string out(text.size() * 3, '\0');
  char* at = out.data();
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp < 0x80) {
      *at++ = static_cast<char>(cp);
      continue;
    }
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
        ++i;
      } else {
        cp = kReplacement;
      }
    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    at = AppendUtf8(at, cp);
  }
  out.resize(static_cast<size_t>(at - out.data()));
  return out;
}


std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& ch : out) ch = ToLowerAscii(ch);
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a == b) return true;  // long IDs mostly come back as they were handed out
  for (size_t i = 0; i < a.size(); ++i)
    if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) return false;
  return true;
}

}  // namespace olstore
