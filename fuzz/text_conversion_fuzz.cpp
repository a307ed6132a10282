// The layer's text conversions on arbitrary bytes: the first byte picks the
// code page and the flags, the rest is the text, read both as bytes (UTF-8,
// valid or not) and as UTF-16 units (surrogates paired or not). Each
// conversion is asked for its size first; the answer must fit exactly, one
// unit less must be refused, and whatever is valid must come back unchanged.
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/win32.h"

namespace {

std::u16string ToWide(UINT nCodePage, DWORD dwFlags, const char* pText, int nLength) {
  const int nNeeded = MultiByteToWideChar(nCodePage, dwFlags, pText, nLength, nullptr, 0);
  if (nNeeded == 0) return {};
  FUZZ_CHECK(nNeeded > 0);
  std::vector<WCHAR> wide(static_cast<size_t>(nNeeded));
  FUZZ_CHECK(MultiByteToWideChar(nCodePage, dwFlags, pText, nLength, wide.data(), nNeeded) ==
             nNeeded);
  if (nNeeded > 1) {
    std::vector<WCHAR> small(static_cast<size_t>(nNeeded - 1));
    SetLastError(0);
    FUZZ_CHECK(MultiByteToWideChar(nCodePage, dwFlags, pText, nLength, small.data(), nNeeded - 1) ==
               0);
    FUZZ_CHECK(GetLastError() == ERROR_INSUFFICIENT_BUFFER);
  }
  return std::u16string(wide.begin(), wide.end());
}

// pbUsedDefault is only given for the ANSI code page, which alone takes it.
std::string ToBytes(UINT nCodePage, DWORD dwFlags, const WCHAR* pText, int nLength,
                    const char* szDefault, BOOL* pbUsedDefault) {
  const int nNeeded =
      WideCharToMultiByte(nCodePage, dwFlags, pText, nLength, nullptr, 0, szDefault, pbUsedDefault);
  if (nNeeded == 0) return {};
  FUZZ_CHECK(nNeeded > 0);
  std::vector<char> bytes(static_cast<size_t>(nNeeded));
  BOOL bUsedAgain = FALSE;
  FUZZ_CHECK(WideCharToMultiByte(nCodePage, dwFlags, pText, nLength, bytes.data(), nNeeded,
                                 szDefault, pbUsedDefault ? &bUsedAgain : nullptr) == nNeeded);
  if (pbUsedDefault) FUZZ_CHECK(bUsedAgain == *pbUsedDefault);
  if (nNeeded > 1) {
    std::vector<char> small(static_cast<size_t>(nNeeded - 1));
    SetLastError(0);
    FUZZ_CHECK(WideCharToMultiByte(nCodePage, dwFlags, pText, nLength, small.data(), nNeeded - 1,
                                   szDefault, nullptr) == 0);
    FUZZ_CHECK(GetLastError() == ERROR_INSUFFICIENT_BUFFER);
  }
  return std::string(bytes.begin(), bytes.end());
}

bool HasUnpairedSurrogate(const std::u16string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      return true;
    }
  }
  return false;
}

void CheckBytes(UINT nCodePage, const std::string& bytes) {
  const int nLength = static_cast<int>(bytes.size());
  const std::u16string strict = ToWide(nCodePage, MB_ERR_INVALID_CHARS, bytes.data(), nLength);
  const std::u16string lenient = ToWide(nCodePage, 0, bytes.data(), nLength);
  FUZZ_CHECK(!lenient.empty());
  FUZZ_CHECK(!HasUnpairedSurrogate(lenient));
  // A zero-terminated text converts up to its zero, which it converts too.
  const std::u16string terminated = ToWide(nCodePage, 0, bytes.c_str(), -1);
  FUZZ_CHECK(!terminated.empty() && terminated.back() == u'\0');
  if (strict.empty()) {
    // Invalid UTF-8: each ill-formed part became U+FFFD, which is valid.
    FUZZ_CHECK(lenient.find(u'\xFFFD') != std::u16string::npos);
    const std::string repaired = ToBytes(CP_UTF8, 0, reinterpret_cast<const WCHAR*>(lenient.data()),
                                         static_cast<int>(lenient.size()), nullptr, nullptr);
    FUZZ_CHECK(ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, repaired.data(),
                      static_cast<int>(repaired.size())) == lenient);
    return;
  }
  FUZZ_CHECK(strict == lenient);
  for (const UINT nBack : {UINT{CP_ACP}, UINT{CP_UTF8}}) {
    BOOL bUsedDefault = TRUE;
    const std::string back =
        ToBytes(nBack, nBack == CP_UTF8 ? WC_ERR_INVALID_CHARS : 0,
                reinterpret_cast<const WCHAR*>(strict.data()), static_cast<int>(strict.size()),
                nullptr, nBack == CP_ACP ? &bUsedDefault : nullptr);
    FUZZ_CHECK(back == bytes);
    if (nBack == CP_ACP) FUZZ_CHECK(!bUsedDefault);
  }
}

void CheckUnits(UINT nCodePage, DWORD dwFlags, const std::u16string& units) {
  const auto* pUnits = reinterpret_cast<const WCHAR*>(units.data());
  const int nLength = static_cast<int>(units.size());
  const bool bUnpaired = HasUnpairedSurrogate(units);
  const bool bAnsi = nCodePage == CP_ACP;
  BOOL bUsedDefault = FALSE;
  const std::string bytes = ToBytes(nCodePage, dwFlags, pUnits, nLength, bAnsi ? "#" : nullptr,
                                    bAnsi ? &bUsedDefault : nullptr);
  if (!bAnsi && (dwFlags & WC_ERR_INVALID_CHARS) && bUnpaired) {
    FUZZ_CHECK(bytes.empty());
    return;
  }
  FUZZ_CHECK(!bytes.empty());
  if (bAnsi) FUZZ_CHECK(static_cast<bool>(bUsedDefault) == bUnpaired);
  // Whatever was written is valid UTF-8, and it is the text again when every
  // surrogate had its pair.
  const std::u16string back =
      ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()));
  FUZZ_CHECK(!back.empty());
  if (!bUnpaired) FUZZ_CHECK(back == units);

  std::u16string terminated = units;
  const std::string untilZero =
      ToBytes(nCodePage, dwFlags & ~WC_ERR_INVALID_CHARS,
              reinterpret_cast<const WCHAR*>(terminated.c_str()), -1, nullptr, nullptr);
  FUZZ_CHECK(!untilZero.empty() && untilZero.back() == '\0');

  std::u16string lowered = units;
  FUZZ_CHECK(CharLowerBuffW(reinterpret_cast<WCHAR*>(lowered.data()),
                            static_cast<DWORD>(lowered.size())) == lowered.size());
  // Lowering keeps every surrogate where it was.
  for (size_t i = 0; i < units.size(); ++i)
    if (units[i] >= 0xD800 && units[i] <= 0xDFFF) FUZZ_CHECK(lowered[i] == units[i]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte: bit 0 the code page, bit 1 the strict flag of the
  // conversion to bytes (the bytes are converted with and without it).
  const UINT nCodePage = (data[0] & 1) ? CP_UTF8 : CP_ACP;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (!bytes.empty()) CheckBytes(nCodePage, bytes);

  std::u16string units(bytes.size() / 2, u'\0');
  memcpy(units.data(), bytes.data(), units.size() * 2);
  if (!units.empty()) CheckUnits(nCodePage, (data[0] & 2) ? WC_ERR_INVALID_CHARS : 0, units);
  return 0;
}
