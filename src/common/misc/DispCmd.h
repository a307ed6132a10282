// CDispCmd: one automation object, called by member name (late binding).
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32.h"

class CDispCmd {
 public:
  // Adds a reference to pDisp (which may be null); the destructor releases it.
  explicit CDispCmd(IDispatch* pDisp);
  ~CDispCmd();
  CDispCmd(const CDispCmd&) = delete;
  CDispCmd& operator=(const CDispCmd&) = delete;

  HRESULT Invoke(LPCOLESTR szName, WORD wFlags, DISPPARAMS* pParams, VARIANT* pResult);
  // Invoke that also asks for Outlook's own account of a failure: when the
  // call raises an exception, the status is the exception's code (or
  // DISP_E_EXCEPTION when it names none) and *pstrWhy its description in the
  // ANSI code page, empty when it gives none.
  HRESULT InvokeExplained(LPCOLESTR szName, WORD wFlags, DISPPARAMS* pParams, VARIANT* pResult,
                          std::string* pstrWhy);
  // pArgs holds the arguments in reverse order, as automation expects.
  HRESULT Call(LPCOLESTR szName, VARIANT* pArgs, UINT nArgs, VARIANT* pResult, WORD wFlags,
               DISPID* pNamedIDs, UINT nNamed);
  HRESULT GetProperty(LPCOLESTR szName, VARIANT* pResult);
  HRESULT PutProperty(LPCOLESTR szName, VARIANT* pValue);

  // Typed readers: 0 when read, 1 when the value is of another type (out value
  // untouched), or the negative status of the call. Without an out place (or,
  // for GetString, a buffer of at least one byte) they answer 1 and call nothing.
  // No conversion between variant types is tried: an integer that arrives as
  // VT_I2, or an empty variant, is a type mismatch.
  // GetString cuts a text that does not fit nSize - 1 bytes before a whole
  // character and then sets *pbTruncated (when given) so callers can tell.
  // GetDispatch hands the caller the reference the property get returned.
  HRESULT GetString(LPCOLESTR szName, char* szBuf, int nSize, bool* pbTruncated = nullptr);
  HRESULT GetLong(LPCOLESTR szName, int32_t* pnValue);
  HRESULT GetBool(LPCOLESTR szName, bool* pbValue);
  HRESULT GetDate(LPCOLESTR szName, DATE* pdtValue);
  HRESULT GetDispatch(LPCOLESTR szName, IDispatch** ppDisp);

  // PutString writes nothing and returns 0 for an empty (or null) text unless
  // bWriteEmpty is set, which is how a text property is cleared on purpose.
  // At most 20479 UTF-16 units are passed, cut before a whole character.
  HRESULT PutString(LPCOLESTR szName, const char* szText, bool bWriteEmpty = false);
  HRESULT PutLong(LPCOLESTR szName, int32_t nValue);
  HRESULT PutBool(LPCOLESTR szName, bool bValue);
  // A date within 0.00001 of zero stands for "no date" and is never written.
  HRESULT PutDate(LPCOLESTR szName, DATE dtValue);

  // The longest text a put passes, in UTF-16 units (a 20480-unit buffer with
  // its terminating zero).
  static constexpr size_t kMaxPutUnits = 20479;
  // The automation string PutString passes for szText (null is the empty
  // text), into *pValue, which the caller clears.
  static HRESULT MakeText(const char* szText, VARIANT* pValue);
  // The ANSI text (null is the empty text) as an automation string of at most
  // nMaxUnits units, cut before a whole character; the caller frees it. Null
  // when it cannot be converted. IDs are passed whole.
  static BSTR AllocText(const char* szText, size_t nMaxUnits = SIZE_MAX);

  // The wrapped object, without adding a reference.
  IDispatch* GetInterface() const { return m_pDisp; }

 private:
  HRESULT Dispatch(LPCOLESTR szName, WORD wFlags, DISPPARAMS* pParams, VARIANT* pResult,
                   EXCEPINFO* pExcepInfo);

  IDispatch* m_pDisp;
};
