#include "common/misc/CxUtf8.h"

namespace {

OleString MultiByteToOle(UINT nCodePage, const std::string& strText) {
  if (strText.empty()) return OleString();
  const int nUnits = MultiByteToWideChar(nCodePage, 0, strText.data(),
                                         static_cast<int>(strText.size()), nullptr, 0);
  if (nUnits <= 0) return OleString();
  OleString strOle(static_cast<size_t>(nUnits), 0);
  MultiByteToWideChar(nCodePage, 0, strText.data(), static_cast<int>(strText.size()), strOle.data(),
                      nUnits);
  return strOle;
}

}  // namespace

std::string OleToUtf8(const OLECHAR* szText, size_t nUnits) {
  if (!szText || nUnits == 0) return std::string();
  const int nBytes = WideCharToMultiByte(CP_UTF8, 0, szText, static_cast<int>(nUnits), nullptr, 0,
                                         nullptr, nullptr);
  if (nBytes <= 0) return std::string();
  std::string strText(static_cast<size_t>(nBytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, szText, static_cast<int>(nUnits), strText.data(), nBytes, nullptr,
                      nullptr);
  return strText;
}

OleString Utf8ToOle(const std::string& strText) { return MultiByteToOle(CP_UTF8, strText); }

std::string AnsiToUtf8(const std::string& strText) {
  if (GetACP() == CP_UTF8) return strText;
  const OleString strOle = MultiByteToOle(CP_ACP, strText);
  return OleToUtf8(strOle.data(), strOle.size());
}
