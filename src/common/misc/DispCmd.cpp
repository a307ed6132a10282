#include "common/misc/DispCmd.h"

#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>

#include "common/misc/CxDebugUtil.h"
#include "common/misc/CxMessageFilter.h"
#include "common/misc/CxText.h"

namespace {

// What a typed reader answers when the property came as another type.
constexpr HRESULT kTypeMismatch = 1;
// Dates this close to zero stand for "no date". The bound is the
// single-precision value of 0.00001, as the records have always used it.
constexpr double kNoDateBound = static_cast<double>(0.00001f);
// The most bytes one UTF-16 unit becomes in the ANSI code page (UTF-8: three
// for a unit of the basic plane, four for a surrogate pair).
constexpr size_t kMaxBytesPerUnit = 3;

bool IsHighSurrogate(OLECHAR ch) { return ch >= 0xD800 && ch <= 0xDBFF; }

// The UTF-16 text up to its first zero, in the code page szText is wanted in.
bool OleToMultiByte(UINT nCodePage, LPCOLESTR szText, std::string& strOut) {
  const int nBytes = WideCharToMultiByte(nCodePage, 0, szText, -1, nullptr, 0, nullptr, nullptr);
  if (nBytes <= 0) return false;
  strOut.assign(static_cast<size_t>(nBytes), '\0');
  if (WideCharToMultiByte(nCodePage, 0, szText, -1, strOut.data(), nBytes, nullptr, nullptr) !=
      nBytes)
    return false;
  strOut.resize(static_cast<size_t>(nBytes) - 1);
  return true;
}

// Reads a property that must arrive as vtWanted: 0 with *pValue holding it,
// kTypeMismatch when it came as another type (already released), or the
// failed status.
HRESULT ReadAs(CDispCmd& cmd, LPCOLESTR szName, VARTYPE vtWanted, VARIANT* pValue) {
  VariantInit(pValue);
  const HRESULT hr = cmd.GetProperty(szName, pValue);
  if (FAILED(hr) || pValue->vt != vtWanted) {
    VariantClear(pValue);
    return FAILED(hr) ? hr : kTypeMismatch;
  }
  return S_OK;
}

std::string LogName(LPCOLESTR szName) {
  // The log is UTF-8 text, so the UTF-16 name is converted before it is written.
  std::string strName;
  OleToMultiByte(CP_UTF8, szName, strName);
  return strName;
}

// One call to Outlook about the member szName. A refusal that the COM runtime
// handed back without asking the message filter is retried here by the
// filter's own rule. Any other failing call is the caller's to report: only it
// knows what the call meant. That Outlook stayed busy is said here, once.
template <typename TCall>
HRESULT CallOutlook(LPCOLESTR szName, TCall fnCall) {
  CxMessageFilter::BeginCall();
  HRESULT hr = fnCall();
  if (!CxMessageFilter::IsRefusal(hr)) return hr;
  // Only a refused call reads the clock: the first refusal comes back at
  // once, so the wait counted from it is the wait since the first try.
  const auto tmStart = std::chrono::steady_clock::now();
  for (;;) {
    const auto nElapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - tmStart);
    if (!CxMessageFilter::ShouldRetry(hr, static_cast<uint32_t>(nElapsed.count()))) break;
    Sleep(CxMessageFilter::kRetryDelayMs);
    CxMessageFilter::BeginCall();
    hr = fnCall();
  }
  if (CxMessageFilter::IsRefusal(hr))
    QM_LOG(0, "Outlook refused the call while busy, Name=%s, hr=0x%08x", LogName(szName).c_str(),
           static_cast<unsigned>(hr));
  return hr;
}

}  // namespace

CDispCmd::CDispCmd(IDispatch* pDisp) : m_pDisp(pDisp) {
  if (m_pDisp) m_pDisp->AddRef();
}

CDispCmd::~CDispCmd() {
  if (m_pDisp) m_pDisp->Release();
  m_pDisp = nullptr;
}

HRESULT CDispCmd::Invoke(LPCOLESTR szName, WORD wFlags, DISPPARAMS* pParams, VARIANT* pResult) {
  return Dispatch(szName, wFlags, pParams, pResult, nullptr);
}

HRESULT CDispCmd::InvokeExplained(LPCOLESTR szName, WORD wFlags, DISPPARAMS* pParams,
                                  VARIANT* pResult, std::string* pstrWhy) {
  pstrWhy->clear();
  EXCEPINFO info = {};
  HRESULT hr = Dispatch(szName, wFlags, pParams, pResult, &info);
  if (hr == DISP_E_EXCEPTION) {
    if (info.bstrDescription && !OleToMultiByte(CP_ACP, info.bstrDescription, *pstrWhy))
      pstrWhy->clear();
    if (FAILED(info.scode)) hr = info.scode;
  }
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  return hr;
}

HRESULT CDispCmd::Dispatch(LPCOLESTR szName, WORD wFlags, DISPPARAMS* pParams, VARIANT* pResult,
                           EXCEPINFO* pExcepInfo) {
  if (!m_pDisp || !szName || !*szName) return E_INVALIDARG;

  LPOLESTR rgszNames[] = {const_cast<LPOLESTR>(szName)};
  DISPID dispid = DISPID_UNKNOWN;
  HRESULT hr = CallOutlook(szName, [&] {
    return m_pDisp->GetIDsOfNames(IID_NULL, rgszNames, 1, LOCALE_USER_DEFAULT, &dispid);
  });
  if (FAILED(hr)) {
    QM_LOG(0, "Failed to call IDispatch->GetIDsOfNames, Name=%s, hr=0x%08x",
           LogName(szName).c_str(), static_cast<unsigned>(hr));
    return hr;
  }
  return CallOutlook(szName, [&] {
    return m_pDisp->Invoke(dispid, IID_NULL, LOCALE_SYSTEM_DEFAULT, wFlags, pParams, pResult,
                           pExcepInfo, nullptr);
  });
}

HRESULT CDispCmd::Call(LPCOLESTR szName, VARIANT* pArgs, UINT nArgs, VARIANT* pResult, WORD wFlags,
                       DISPID* pNamedIDs, UINT nNamed) {
  DISPPARAMS params = {pArgs, pNamedIDs, nArgs, nNamed};
  return Invoke(szName, wFlags, &params, pResult);
}

HRESULT CDispCmd::GetProperty(LPCOLESTR szName, VARIANT* pResult) {
  DISPPARAMS params = {nullptr, nullptr, 0, 0};
  return Invoke(szName, DISPATCH_PROPERTYGET, &params, pResult);
}

HRESULT CDispCmd::PutProperty(LPCOLESTR szName, VARIANT* pValue) {
  DISPID dispidNamed = DISPID_PROPERTYPUT;
  DISPPARAMS params = {pValue, &dispidNamed, 1, 1};
  return Invoke(szName, DISPATCH_PROPERTYPUT, &params, nullptr);
}

HRESULT CDispCmd::GetString(LPCOLESTR szName, char* szBuf, int nSize, bool* pbTruncated) {
  if (!szBuf || nSize <= 0) return kTypeMismatch;
  VARIANT v;
  const HRESULT hr = ReadAs(*this, szName, VT_BSTR, &v);
  if (hr != S_OK) return hr;

  // Every UTF-16 unit converts to at least one byte, so no unit past the
  // first nSize can reach the nSize - 1 bytes the buffer keeps (and nSize
  // units never fit, so a longer text is still reported as cut). Converting
  // just those, in one pass with room for the longest encoding, and only then
  // cutting before a whole character stores exactly what converting the whole
  // text would, without paying for a long body on every read.
  size_t nUnits = 0;
  const size_t nLimit = static_cast<size_t>(nSize);
  bool bAscii = true;
  while (v.bstrVal && nUnits < nLimit && v.bstrVal[nUnits]) bAscii &= v.bstrVal[nUnits++] < 0x80;
  if (bAscii && nUnits < nLimit) {
    // The whole text is ASCII and fits: every code page keeps ASCII as it is,
    // so the units go straight into the buffer, as most reads are.
    for (size_t n = 0; n < nUnits; ++n) szBuf[n] = static_cast<char>(v.bstrVal[n]);
    szBuf[nUnits] = '\0';
    VariantClear(&v);
    if (pbTruncated) *pbTruncated = false;
    return S_OK;
  }
  char szShort[512];
  std::string strLong;
  const size_t nCapacity = nUnits * kMaxBytesPerUnit + 1;
  char* pText = szShort;
  if (nCapacity > sizeof szShort) {
    strLong.resize(nCapacity);
    pText = strLong.data();
  }
  int nBytes = 0;
  if (nUnits > 0) {
    nBytes = WideCharToMultiByte(CP_ACP, 0, v.bstrVal, static_cast<int>(nUnits), pText,
                                 static_cast<int>(nCapacity), nullptr, nullptr);
  }
  VariantClear(&v);
  if (nUnits > 0 && nBytes <= 0) return E_FAIL;
  pText[nBytes] = '\0';
  const bool bWhole = CopyText(szBuf, nLimit, pText);
  if (pbTruncated) *pbTruncated = !bWhole;
  return S_OK;
}

HRESULT CDispCmd::GetLong(LPCOLESTR szName, int32_t* pnValue) {
  if (!pnValue) return kTypeMismatch;
  VARIANT v;
  const HRESULT hr = ReadAs(*this, szName, VT_I4, &v);
  if (hr == S_OK) *pnValue = v.lVal;
  return hr;
}

HRESULT CDispCmd::GetBool(LPCOLESTR szName, bool* pbValue) {
  if (!pbValue) return kTypeMismatch;
  VARIANT v;
  const HRESULT hr = ReadAs(*this, szName, VT_BOOL, &v);
  if (hr == S_OK) *pbValue = v.boolVal != 0;
  return hr;
}

HRESULT CDispCmd::GetDate(LPCOLESTR szName, DATE* pdtValue) {
  if (!pdtValue) return kTypeMismatch;
  VARIANT v;
  const HRESULT hr = ReadAs(*this, szName, VT_DATE, &v);
  if (hr == S_OK) *pdtValue = v.date;
  return hr;
}

HRESULT CDispCmd::GetDispatch(LPCOLESTR szName, IDispatch** ppDisp) {
  if (!ppDisp) return kTypeMismatch;
  *ppDisp = nullptr;
  VARIANT v;
  const HRESULT hr = ReadAs(*this, szName, VT_DISPATCH, &v);
  // The reference the get returned passes to the caller with the pointer.
  if (hr == S_OK) *ppDisp = v.pdispVal;
  return hr;
}

HRESULT CDispCmd::PutString(LPCOLESTR szName, const char* szText, bool bWriteEmpty) {
  if ((!szText || !*szText) && !bWriteEmpty) return S_OK;
  VARIANT v;
  HRESULT hr = MakeText(szText, &v);
  if (SUCCEEDED(hr)) hr = PutProperty(szName, &v);
  VariantClear(&v);
  return hr;
}

BSTR CDispCmd::AllocText(const char* szText, size_t nMaxUnits) {
  if (!szText) szText = "";
  // A character never takes more units than bytes in any code page, so one
  // conversion into a string of the byte length does, shortened afterwards
  // only for a text that is not all ASCII or is longer than nMaxUnits.
  const size_t nBytes = strlen(szText);
  if (nBytes > static_cast<size_t>(INT32_MAX)) return nullptr;
  BSTR bstr = SysAllocStringLen(nullptr, static_cast<UINT>(nBytes));
  if (!bstr || nBytes == 0) return bstr;
  const int nUnits = MultiByteToWideChar(CP_ACP, 0, szText, static_cast<int>(nBytes), bstr,
                                         static_cast<int>(nBytes));
  if (nUnits <= 0) {
    SysFreeString(bstr);
    return nullptr;
  }
  size_t nLen = static_cast<size_t>(nUnits);
  if (nLen > nMaxUnits) {
    nLen = nMaxUnits;
    // Never pass half of a surrogate pair.
    if (nLen > 0 && IsHighSurrogate(bstr[nLen - 1])) --nLen;
  }
  if (nLen == nBytes) return bstr;
  BSTR exact = SysAllocStringLen(bstr, static_cast<UINT>(nLen));
  SysFreeString(bstr);
  return exact;
}

HRESULT CDispCmd::MakeText(const char* szText, VARIANT* pValue) {
  VariantInit(pValue);
  pValue->bstrVal = AllocText(szText, kMaxPutUnits);
  if (!pValue->bstrVal) return E_FAIL;
  pValue->vt = VT_BSTR;
  return S_OK;
}

HRESULT CDispCmd::PutLong(LPCOLESTR szName, int32_t nValue) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = nValue;
  return PutProperty(szName, &v);
}

HRESULT CDispCmd::PutBool(LPCOLESTR szName, bool bValue) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BOOL;
  v.boolVal = bValue ? VARIANT_TRUE : VARIANT_FALSE;
  return PutProperty(szName, &v);
}

HRESULT CDispCmd::PutDate(LPCOLESTR szName, DATE dtValue) {
  if (dtValue > -kNoDateBound && dtValue < kNoDateBound) return S_OK;
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_DATE;
  v.date = dtValue;
  return PutProperty(szName, &v);
}
