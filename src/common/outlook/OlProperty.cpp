#include "common/outlook/OlProperty.h"

#include <cmath>
#include <cstdio>

#include "common/misc/CxDebugUtil.h"

namespace {

char* FieldOf(void* pImage, const OlProperty& prop) {
  return static_cast<char*>(pImage) + prop.nOffset;
}

const char* FieldOf(const void* pImage, const OlProperty& prop) {
  return static_cast<const char*>(pImage) + prop.nOffset;
}

const OlProperty* FindProperty(std::span<const OlProperty> props, int nField) {
  for (const OlProperty& prop : props) {
    if (prop.nField == nField) return &prop;
  }
  return nullptr;
}

bool Applies(const OlWriteStep& step, const void* pImage, const void* pOwner) {
  return !step.pfnWhen || step.pfnWhen(pImage, pOwner);
}

std::string Describe(const char* szFormat, const char* szName, HRESULT hr) {
  char szText[200];
  snprintf(szText, sizeof szText, szFormat, szName, static_cast<unsigned>(hr));
  return szText;
}

void ReadProperty(CDispCmd& item, const OlProperty& prop, void* pImage, FieldMarks* pTruncated,
                  FieldMarks* pUnread) {
  char* pField = FieldOf(pImage, prop);
  HRESULT hr = S_OK;
  switch (prop.nValue) {
    case OlValue::Text: {
      bool bTruncated = false;
      hr = item.GetString(prop.szName, pField, prop.nReadSize, &bTruncated);
      if (hr == S_OK && bTruncated && pTruncated) pTruncated->Set(prop.nField);
      break;
    }
    case OlValue::Long:
      hr = item.GetLong(prop.szName, reinterpret_cast<int32_t*>(pField));
      break;
    case OlValue::Bool:
      hr = item.GetBool(prop.szName, reinterpret_cast<bool*>(pField));
      break;
    case OlValue::Flag32: {
      bool bValue = false;
      hr = item.GetBool(prop.szName, &bValue);
      if (hr == S_OK) *reinterpret_cast<int32_t*>(pField) = bValue ? 1 : 0;
      break;
    }
    case OlValue::Date:
      hr = item.GetDate(prop.szName, reinterpret_cast<DATE*>(pField));
      break;
  }
  if (FAILED(hr) && pUnread) pUnread->Set(prop.nField);
}

// The value a put of prop passes; S_FALSE when the value stands for "nothing"
// and is deliberately not written.
HRESULT MakePutValue(const OlProperty& prop, const void* pImage, VARIANT* pValue) {
  VariantInit(pValue);
  const char* pField = FieldOf(pImage, prop);
  switch (prop.nValue) {
    case OlValue::Text:
      return CDispCmd::MakeText(pField, pValue);
    case OlValue::Long:
      pValue->vt = VT_I4;
      pValue->lVal = *reinterpret_cast<const int32_t*>(pField);
      return S_OK;
    case OlValue::Bool:
    case OlValue::Flag32: {
      const bool bValue = prop.nValue == OlValue::Bool
                              ? *reinterpret_cast<const bool*>(pField)
                              : *reinterpret_cast<const int32_t*>(pField) != 0;
      pValue->vt = VT_BOOL;
      pValue->boolVal = bValue ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    }
    case OlValue::Date: {
      const DATE dt = *reinterpret_cast<const DATE*>(pField);
      if (std::fabs(dt) < 0.00001 || dt == kOlNoDate) return S_FALSE;
      pValue->vt = VT_DATE;
      pValue->date = dt;
      return S_OK;
    }
  }
  return E_UNEXPECTED;
}

}  // namespace

void OlReadProperties(CDispCmd& item, std::span<const OlProperty> props, void* pImage,
                      FieldMarks* pTruncated, FieldMarks* pUnread) {
  if (!pImage) return;
  for (const OlProperty& prop : props) ReadProperty(item, prop, pImage, pTruncated, pUnread);
}

OlPutPlan::~OlPutPlan() {
  for (OlPut& put : m_Puts) VariantClear(&put.vValue);
}

HRESULT OlPutPlan::Add(const OlProperty& prop, const void* pImage) {
  OlPut put{&prop, {}};
  const HRESULT hr = MakePutValue(prop, pImage, &put.vValue);
  if (hr != S_OK) {
    VariantClear(&put.vValue);
    return hr;
  }
  m_Puts.push_back(put);
  return S_OK;
}

bool OlPlanWrites(std::span<const OlProperty> props, std::span<const OlWriteStep> steps,
                  const void* pImage, const FieldMarks& changed, const FieldMarks& truncated,
                  const void* pOwner, OlPutPlan* pPlan, std::string* pFailure) {
  if (!pImage || !pPlan) return false;
  // Refuse before the first put: a half-written item must not be left behind.
  for (const OlWriteStep& step : steps) {
    if (!changed.Test(step.nField) || !truncated.Test(step.nField)) continue;
    if (!Applies(step, pImage, pOwner)) continue;
    const OlProperty* pProp = FindProperty(props, step.nField);
    const char* szName = pProp ? pProp->szLogName : "?";
    QM_LOG(0, "The property %s was cut when it was read and is not written back.", szName);
    if (pFailure) *pFailure = Describe("the value of %s was cut when it was read", szName, S_OK);
    return false;
  }
  for (const OlWriteStep& step : steps) {
    if (!changed.Test(step.nField) || !Applies(step, pImage, pOwner)) continue;
    const OlProperty* pProp = FindProperty(props, step.nField);
    if (!pProp) {
      QM_LOG(0, "No property describes the image field %d.", step.nField);
      if (pFailure) *pFailure = "a changed field has no Outlook property";
      return false;
    }
    const HRESULT hr = pPlan->Add(*pProp, pImage);
    if (FAILED(hr)) {
      QM_LOG(0, "Failed to convert the property %s, hr=0x%08x", pProp->szLogName,
             static_cast<unsigned>(hr));
      if (pFailure)
        *pFailure =
            Describe("the value of %s cannot be converted, hr=0x%08x", pProp->szLogName, hr);
      return false;
    }
  }
  return true;
}

bool OlPutAll(CDispCmd& item, const OlPutPlan& plan, std::string* pFailure) {
  for (const OlPut& put : plan.Puts()) {
    VARIANT vValue = put.vValue;  // a shallow copy: the plan keeps the value
    const HRESULT hr = item.PutProperty(put.pProp->szName, &vValue);
    if (FAILED(hr)) {
      QM_LOG(0, "Failed to put the property %s, hr=0x%08x", put.pProp->szLogName,
             static_cast<unsigned>(hr));
      if (pFailure)
        *pFailure =
            Describe("Outlook refused the value of %s, hr=0x%08x", put.pProp->szLogName, hr);
      return false;
    }
  }
  return true;
}

bool OlWriteProperties(CDispCmd& item, std::span<const OlProperty> props,
                       std::span<const OlWriteStep> steps, const void* pImage,
                       const FieldMarks& changed, const FieldMarks& truncated, const void* pOwner,
                       std::string* pFailure) {
  OlPutPlan plan;
  return OlPlanWrites(props, steps, pImage, changed, truncated, pOwner, &plan, pFailure) &&
         OlPutAll(item, plan, pFailure);
}

void OlSavedFields(std::span<const OlWriteStep> steps, const void* pImage,
                   const FieldMarks& changed, const void* pOwner, FieldMarks* pSaved) {
  for (const OlWriteStep& step : steps) {
    if (changed.Test(step.nField) && Applies(step, pImage, pOwner)) pSaved->Set(step.nField);
  }
}

bool OlAnyMarked(std::span<const OlWriteStep> steps, const FieldMarks& changed) {
  for (const OlWriteStep& step : steps) {
    if (changed.Test(step.nField)) return true;
  }
  return false;
}

bool OlSaveItem(CDispCmd& item, std::string* pFailure, HRESULT* pStatus) {
  // Outlook says why a save failed in the exception it raises; its code there
  // (a locked store's MAPI_E_BUSY among them) is the status.
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  std::string strWhy;
  const HRESULT hr = item.InvokeExplained(OLESTR("Save"), DISPATCH_METHOD, &none, nullptr, &strWhy);
  if (pStatus) *pStatus = hr;
  if (FAILED(hr)) {
    if (hr == kOlStoreBusy) strWhy = "the store is locked by another program";
    const std::string strWhyText = strWhy.empty() ? "" : ": " + strWhy;
    QM_LOG(0, "Failed to save the item%s, hr=0x%08x", strWhyText.c_str(),
           static_cast<unsigned>(hr));
    if (pFailure)
      *pFailure = Describe("Outlook refused to save the item%s, hr=0x%08x", strWhyText.c_str(), hr);
    return false;
  }
  return true;
}
