// Variants own what they hold: a string is freed and an object released when
// the variant is cleared, and a copy gets its own string or its own reference.
#include "platform/win32.h"

namespace {

bool IsKnownType(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_ERROR:
    case VT_BOOL:
    case VT_UNKNOWN:
    case VT_UI1:
    case VT_I8:
      return true;
    default:
      return false;
  }
}

}  // namespace

void VariantInit(VARIANTARG* pvarg) {
  if (pvarg) *pvarg = VARIANT{};
}

HRESULT VariantClear(VARIANTARG* pvarg) {
  if (!pvarg) return E_INVALIDARG;
  if (!IsKnownType(pvarg->vt)) return DISP_E_BADVARTYPE;
  const VARIANT held = *pvarg;
  // Empty the variant before releasing: a Release that ends an object may
  // reach this variant again and must find nothing left to free.
  VariantInit(pvarg);
  switch (held.vt) {
    case VT_BSTR:
      SysFreeString(held.bstrVal);
      break;
    case VT_DISPATCH:
      if (held.pdispVal) held.pdispVal->Release();
      break;
    case VT_UNKNOWN:
      if (held.punkVal) held.punkVal->Release();
      break;
    default:
      break;
  }
  return S_OK;
}

HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc) {
  if (!pvargDest || !pvargSrc) return E_INVALIDARG;
  if (pvargDest == pvargSrc) return S_OK;
  if (!IsKnownType(pvargSrc->vt)) return DISP_E_BADVARTYPE;
  const HRESULT hr = VariantClear(pvargDest);
  if (FAILED(hr)) return hr;

  VARIANT copy = *pvargSrc;
  switch (copy.vt) {
    case VT_BSTR:
      if (pvargSrc->bstrVal) {
        copy.bstrVal = SysAllocStringLen(pvargSrc->bstrVal, SysStringLen(pvargSrc->bstrVal));
        if (!copy.bstrVal) return E_OUTOFMEMORY;
      }
      break;
    case VT_DISPATCH:
      if (copy.pdispVal) copy.pdispVal->AddRef();
      break;
    case VT_UNKNOWN:
      if (copy.punkVal) copy.punkVal->AddRef();
      break;
    default:
      break;
  }
  *pvargDest = copy;
  return S_OK;
}
