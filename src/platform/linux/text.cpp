// Text conversion between the ANSI code page and UTF-16. The ANSI code page is
// UTF-8 here, so CP_ACP and CP_UTF8 share the conversion; they differ only where
// Windows treats them differently: an ANSI conversion replaces what it cannot
// encode with the default character and reports it, a UTF-8 one writes U+FFFD
// and takes no default character.
#include <locale.h>
#include <wctype.h>

#include <cstring>

#include "lasterror.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char c, unsigned char nLow = 0x80, unsigned char nHigh = 0xBF) {
  return c >= nLow && c <= nHigh;
}

// Decodes the character at p (n bytes available) into cp and returns its length.
// An ill-formed sequence gives bValid false and the length of its longest
// well-formed start (at least one byte), which becomes one U+FFFD, as Unicode
// recommends and Windows does.
size_t DecodeUtf8(const unsigned char* p, size_t n, char32_t& cp, bool& bValid) {
  const unsigned char c = p[0];
  bValid = true;
  cp = c;
  if (c < 0x80) return 1;

  size_t nLength = 0;
  unsigned char nLow = 0x80, nHigh = 0xBF;  // allowed range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    nLength = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    nLength = 3;
    cp = c & 0x0F;
    if (c == 0xE0) nLow = 0xA0;   // no overlong forms
    if (c == 0xED) nHigh = 0x9F;  // no encoded surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    nLength = 4;
    cp = c & 0x07;
    if (c == 0xF0) nLow = 0x90;
    if (c == 0xF4) nHigh = 0x8F;  // nothing above U+10FFFF
  } else {
    bValid = false;
    return 1;
  }
  for (size_t i = 1; i < nLength; ++i) {
    if (i >= n || !IsContinuation(p[i], i == 1 ? nLow : 0x80, i == 1 ? nHigh : 0xBF)) {
      bValid = false;
      return i;
    }
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  return nLength;
}

size_t EncodeUtf8(char32_t cp, char* out) {
  if (cp < 0x80) {
    out[0] = static_cast<char>(cp);
    return 1;
  }
  if (cp < 0x800) {
    out[0] = static_cast<char>(0xC0 | (cp >> 6));
    out[1] = static_cast<char>(0x80 | (cp & 0x3F));
    return 2;
  }
  if (cp < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (cp >> 12));
    out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (cp & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (cp >> 18));
  out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (cp & 0x3F));
  return 4;
}

// Collects output units: counts them only when there is no buffer (the caller
// asks for the size), and notices when the buffer is too small.
template <typename Unit>
class OutputSink {
 public:
  OutputSink(Unit* pBuffer, int nCapacity) : m_pBuffer(pBuffer), m_nCapacity(nCapacity) {}

  // Appends one unit that is a whole character (the common ASCII case).
  bool Put(Unit unit) {
    if (m_nCapacity != 0) {
      if (m_nCount >= m_nCapacity) return false;
      m_pBuffer[m_nCount] = unit;
    }
    ++m_nCount;
    return true;
  }
  // Appends a whole character; false when it does not fit.
  bool Put(const Unit* pUnits, int nUnits) {
    if (m_nCapacity != 0) {
      if (m_nCount + nUnits > m_nCapacity) return false;
      memcpy(m_pBuffer + m_nCount, pUnits, nUnits * sizeof(Unit));
    }
    m_nCount += nUnits;
    return true;
  }
  int Count() const { return m_nCount; }

 private:
  Unit* m_pBuffer;
  int m_nCapacity;
  int m_nCount = 0;
};

bool IsSupportedCodePage(UINT CodePage) { return CodePage == CP_ACP || CodePage == CP_UTF8; }

}  // namespace

UINT GetACP(void) { return CP_UTF8; }

DWORD CharLowerBuffW(LPWSTR lpsz, DWORD cchLength) {
  if (!lpsz) return 0;
  // The C library knows Unicode's case mapping in a UTF-8 locale; which one
  // the process runs in does not matter.
  static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  for (DWORD n = 0; n < cchLength; ++n) {
    const WCHAR ch = lpsz[n];
    if (ch >= 0xD800 && ch <= 0xDFFF) continue;
    const wint_t lower = utf8 ? towlower_l(ch, utf8) : (ch >= 'A' && ch <= 'Z' ? ch + 32 : ch);
    if (lower <= 0xFFFF) lpsz[n] = static_cast<WCHAR>(lower);
  }
  return cchLength;
}

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCCH lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar) {
  if (!IsSupportedCodePage(CodePage) || !lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 ||
      cchWideChar < 0 || (!lpWideCharStr && cchWideChar != 0))
    return PalFailWith(ERROR_INVALID_PARAMETER);

  // -1: a zero-terminated text, whose terminator is converted too.
  const size_t nInput =
      cbMultiByte == -1 ? strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
  const auto* pInput = reinterpret_cast<const unsigned char*>(lpMultiByteStr);
  OutputSink<WCHAR> out(lpWideCharStr, cchWideChar);
  for (size_t i = 0; i < nInput;) {
    // Most text is ASCII: one byte, one unit, nothing to decode.
    if (pInput[i] < 0x80) {
      if (!out.Put(static_cast<WCHAR>(pInput[i++]))) return PalFailWith(ERROR_INSUFFICIENT_BUFFER);
      continue;
    }
    char32_t cp = 0;
    bool bValid = true;
    i += DecodeUtf8(pInput + i, nInput - i, cp, bValid);
    if (!bValid) {
      if (dwFlags & MB_ERR_INVALID_CHARS) return PalFailWith(ERROR_NO_UNICODE_TRANSLATION);
      cp = kReplacement;
    }
    WCHAR units[2];
    int nUnits = 1;
    if (cp >= 0x10000) {
      units[0] = static_cast<WCHAR>(0xD800 + ((cp - 0x10000) >> 10));
      units[1] = static_cast<WCHAR>(0xDC00 + ((cp - 0x10000) & 0x3FF));
      nUnits = 2;
    } else {
      units[0] = static_cast<WCHAR>(cp);
    }
    if (!out.Put(units, nUnits)) return PalFailWith(ERROR_INSUFFICIENT_BUFFER);
  }
  return out.Count();
}

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWCH lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCCH lpDefaultChar,
                        LPBOOL lpUsedDefaultChar) {
  if (!IsSupportedCodePage(CodePage) || !lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 ||
      cbMultiByte < 0 || (!lpMultiByteStr && cbMultiByte != 0))
    return PalFailWith(ERROR_INVALID_PARAMETER);
  const bool bAnsi = CodePage == CP_ACP;
  // Windows refuses a default character for UTF-8: everything has an encoding.
  if (!bAnsi && (lpDefaultChar || lpUsedDefaultChar)) return PalFailWith(ERROR_INVALID_PARAMETER);

  // What an unpaired surrogate becomes: the first character of the caller's
  // default, else '?', for ANSI; U+FFFD for UTF-8.
  char defaultChar[4] = {'?'};
  int nDefaultLength = 1;
  if (!bAnsi) {
    nDefaultLength = static_cast<int>(EncodeUtf8(kReplacement, defaultChar));
  } else if (lpDefaultChar && *lpDefaultChar) {
    char32_t cp = 0;
    bool bValid = true;
    const auto* p = reinterpret_cast<const unsigned char*>(lpDefaultChar);
    const size_t n = DecodeUtf8(p, strnlen(lpDefaultChar, 4), cp, bValid);
    if (bValid) {
      memcpy(defaultChar, lpDefaultChar, n);
      nDefaultLength = static_cast<int>(n);
    }
  }

  size_t nInput = static_cast<size_t>(cchWideChar);
  if (cchWideChar == -1) {
    nInput = 0;
    while (lpWideCharStr[nInput]) ++nInput;
    ++nInput;
  }
  bool bUsedDefault = false;
  OutputSink<char> out(lpMultiByteStr, cbMultiByte);
  for (size_t i = 0; i < nInput;) {
    char32_t cp = lpWideCharStr[i++];
    if (cp < 0x80) {
      if (!out.Put(static_cast<char>(cp))) return PalFailWith(ERROR_INSUFFICIENT_BUFFER);
      continue;
    }
    char bytes[4];
    int nBytes = 0;
    if (cp >= 0xD800 && cp <= 0xDBFF && i < nInput && lpWideCharStr[i] >= 0xDC00 &&
        lpWideCharStr[i] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (lpWideCharStr[i++] - 0xDC00);
      nBytes = static_cast<int>(EncodeUtf8(cp, bytes));
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      if (!bAnsi && (dwFlags & WC_ERR_INVALID_CHARS))
        return PalFailWith(ERROR_NO_UNICODE_TRANSLATION);
      memcpy(bytes, defaultChar, nDefaultLength);
      nBytes = nDefaultLength;
      bUsedDefault = true;
    } else {
      nBytes = static_cast<int>(EncodeUtf8(cp, bytes));
    }
    if (!out.Put(bytes, nBytes)) return PalFailWith(ERROR_INSUFFICIENT_BUFFER);
  }
  if (lpUsedDefaultChar) *lpUsedDefaultChar = bUsedDefault ? TRUE : FALSE;
  return out.Count();
}
