#include "common/outlook/OlProperty.h"

#include <cmath>

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

void ReadProperty(CDispCmd& item, const OlProperty& prop, void* pImage, FieldMarks* pTruncated) {
  char* pField = FieldOf(pImage, prop);
  switch (prop.nValue) {
    case OlValue::Text: {
      bool bTruncated = false;
      if (item.GetString(prop.szName, pField, prop.nReadSize, &bTruncated) == 0 && bTruncated &&
          pTruncated) {
        pTruncated->Set(prop.nField);
      }
      break;
    }
    case OlValue::Long:
      item.GetLong(prop.szName, reinterpret_cast<int32_t*>(pField));
      break;
    case OlValue::Bool:
      item.GetBool(prop.szName, reinterpret_cast<bool*>(pField));
      break;
    case OlValue::Flag32: {
      bool bValue = false;
      if (item.GetBool(prop.szName, &bValue) == 0)
        *reinterpret_cast<int32_t*>(pField) = bValue ? 1 : 0;
      break;
    }
    case OlValue::Date:
      item.GetDate(prop.szName, reinterpret_cast<DATE*>(pField));
      break;
  }
}

// S_FALSE when the value stands for "nothing" and is deliberately not written.
HRESULT PutProperty(CDispCmd& item, const OlProperty& prop, const void* pImage) {
  const char* pField = FieldOf(pImage, prop);
  switch (prop.nValue) {
    case OlValue::Text:
      return item.PutString(prop.szName, pField, true);
    case OlValue::Long:
      return item.PutLong(prop.szName, *reinterpret_cast<const int32_t*>(pField));
    case OlValue::Bool:
      return item.PutBool(prop.szName, *reinterpret_cast<const bool*>(pField));
    case OlValue::Flag32:
      return item.PutBool(prop.szName, *reinterpret_cast<const int32_t*>(pField) != 0);
    case OlValue::Date: {
      const DATE dt = *reinterpret_cast<const DATE*>(pField);
      if (std::fabs(dt) < 0.00001 || dt == kOlNoDate) return S_FALSE;
      return item.PutDate(prop.szName, dt);
    }
  }
  return E_UNEXPECTED;
}

}  // namespace

void OlReadProperties(CDispCmd& item, std::span<const OlProperty> props, void* pImage,
                      FieldMarks* pTruncated) {
  if (!pImage) return;
  for (const OlProperty& prop : props) ReadProperty(item, prop, pImage, pTruncated);
}

bool OlWriteProperties(CDispCmd& item, std::span<const OlProperty> props,
                       std::span<const OlWriteStep> steps, const void* pImage,
                       const FieldMarks& changed, const FieldMarks& truncated, const void* pOwner) {
  if (!pImage) return false;
  // Refuse before the first put: a half-written item must not be left behind.
  for (const OlWriteStep& step : steps) {
    if (!changed.Test(step.nField) || !truncated.Test(step.nField)) continue;
    if (!Applies(step, pImage, pOwner)) continue;
    const OlProperty* pProp = FindProperty(props, step.nField);
    QM_LOG(0, "The property %s was cut when it was read and is not written back.",
           pProp ? pProp->szLogName : "?");
    return false;
  }
  for (const OlWriteStep& step : steps) {
    if (!changed.Test(step.nField) || !Applies(step, pImage, pOwner)) continue;
    const OlProperty* pProp = FindProperty(props, step.nField);
    if (!pProp) {
      QM_LOG(0, "No property describes the image field %d.", step.nField);
      return false;
    }
    const HRESULT hr = PutProperty(item, *pProp, pImage);
    if (FAILED(hr)) {
      QM_LOG(0, "Failed to put the property %s, hr=0x%08x", pProp->szLogName,
             static_cast<unsigned>(hr));
      return false;
    }
  }
  return true;
}

bool OlAnyMarked(std::span<const OlWriteStep> steps, const FieldMarks& changed) {
  for (const OlWriteStep& step : steps) {
    if (changed.Test(step.nField)) return true;
  }
  return false;
}

bool OlSaveItem(CDispCmd& item) {
  const HRESULT hr = item.Call(OLESTR("Save"), nullptr, 0, nullptr, DISPATCH_METHOD, nullptr, 0);
  if (FAILED(hr)) {
    QM_LOG(0, "Failed to save the item, hr=0x%08x", static_cast<unsigned>(hr));
    return false;
  }
  return true;
}
