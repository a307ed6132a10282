#include "olstore/Dispatch.h"

#include <cstdint>
#include <cstring>

#include "olstore/Text.h"
#include "olstore/olstore.h"

namespace olstore {

namespace {

std::atomic<void (*)()> g_onCreated{nullptr};
std::atomic<void (*)()> g_onDestroyed{nullptr};

// Long enough for every member name of the object model.
constexpr size_t kMaxNameLength = 64;

// FNV-1a over a name's ASCII lower-case form, which is written to folded
// (room for kMaxNameLength characters) on the way, with its length. None for
// a name no member has: a character outside ASCII, or too long.
template <typename TChar>
std::optional<uint32_t> FoldAndHash(const TChar* name, char* folded, size_t& length) {
  uint32_t hash = 2166136261u;
  for (length = 0; name[length]; ++length) {
    const auto ch = static_cast<uint32_t>(name[length]);
    if (ch > 0x7F || length == kMaxNameLength) return std::nullopt;
    const uint32_t lower = ch - 'A' < 26u ? ch + ('a' - 'A') : ch;
    folded[length] = static_cast<char>(lower);
    hash = (hash ^ lower) * 16777619u;
  }
  return hash;
}

}  // namespace

MemberTable::MemberTable(std::vector<Member> members) : m_members(std::move(members)) {
  // Open addressing at most half full, so a lookup mostly hashes the name and
  // compares it once.
  size_t capacity = 8;
  while (capacity < 2 * m_members.size()) capacity *= 2;
  m_slots.assign(capacity, 0);
  m_lowerNames.reserve(m_members.size());
  for (size_t i = 0; i < m_members.size(); ++i) {
    m_lowerNames.push_back(AsciiLower(m_members[i].name));
    char folded[kMaxNameLength];
    size_t length = 0;
    size_t slot = *FoldAndHash(m_lowerNames.back().c_str(), folded, length) & (capacity - 1);
    while (m_slots[slot] != 0) slot = (slot + 1) & (capacity - 1);
    m_slots[slot] = static_cast<DISPID>(i + 1);
  }
}

std::optional<DISPID> MemberTable::Find(const OLECHAR* name) const {
  if (!name) return std::nullopt;
  // Every property read looks its name up: one pass folds and hashes it into
  // a buffer on the stack, and the one candidate mostly found is compared whole.
  char folded[kMaxNameLength];
  size_t length = 0;
  const std::optional<uint32_t> hash = FoldAndHash(name, folded, length);
  if (!hash) return std::nullopt;
  const size_t mask = m_slots.size() - 1;
  for (size_t slot = *hash & mask; m_slots[slot] != 0; slot = (slot + 1) & mask) {
    const DISPID id = m_slots[slot];
    const std::string& lower = m_lowerNames[static_cast<size_t>(id) - 1];
    if (lower.size() == length && memcmp(lower.data(), folded, length) == 0) return id;
  }
  return std::nullopt;
}

const Member* MemberTable::ById(DISPID id) const {
  if (id < 1 || static_cast<size_t>(id) > m_members.size()) return nullptr;
  return &m_members[static_cast<size_t>(id) - 1];
}

void SetObjectLifetimeHooks(void (*onCreated)(), void (*onDestroyed)()) {
  g_onCreated = onCreated;
  g_onDestroyed = onDestroyed;
}

void NotifyObjectLifetime(bool created) {
  if (const auto hook = created ? g_onCreated.load() : g_onDestroyed.load()) hook();
}

DispatchObject::DispatchObject() { NotifyObjectLifetime(true); }

DispatchObject::~DispatchObject() { NotifyObjectLifetime(false); }

HRESULT DispatchObject::QueryInterface(REFIID riid, void** ppvObject) {
  if (!ppvObject) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
    *ppvObject = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *ppvObject = nullptr;
  return E_NOINTERFACE;
}

ULONG DispatchObject::AddRef() { return ++m_refs; }

ULONG DispatchObject::Release() {
  const ULONG refs = --m_refs;
  if (refs == 0) delete this;
  return refs;
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* pctinfo) {
  if (!pctinfo) return E_INVALIDARG;
  *pctinfo = 0;  // callers look members up by name
  return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) {
  if (ppTInfo) *ppTInfo = nullptr;
  return kDispEBadIndex;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID,
                                      DISPID* rgDispId) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!rgszNames || !rgDispId || cNames == 0) return E_INVALIDARG;
  // No member takes named arguments, so only the member name itself can be known.
  for (UINT i = 1; i < cNames; ++i) rgDispId[i] = DISPID_UNKNOWN;
  const std::optional<DISPID> id = Members().Find(rgszNames[0]);
  rgDispId[0] = id.value_or(DISPID_UNKNOWN);
  return id && cNames == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT DispatchObject::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD wFlags,
                               DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                               UINT* puArgErr) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  const Member* member = Members().ById(dispIdMember);
  if (!member) return DISP_E_MEMBERNOTFOUND;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  const DISPPARAMS& params = pDispParams ? *pDispParams : none;
  if (params.cArgs > 0 && !params.rgvarg) return E_INVALIDARG;

  if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    if (member->kind != MemberKind::Property || (wFlags & DISPATCH_PROPERTYPUTREF))
      return DISP_E_MEMBERNOTFOUND;
    if (params.cArgs != 1) return DISP_E_BADPARAMCOUNT;
    if (params.cNamedArgs != 1 || !params.rgdispidNamedArgs ||
        params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
      return DISP_E_PARAMNOTFOUND;
    const HRESULT hr = Put(*member, params.rgvarg[0]);
    if (hr == DISP_E_TYPEMISMATCH && puArgErr) *puArgErr = 0;
    return Tell(hr, pExcepInfo);
  }

  const bool method = member->kind == MemberKind::Method;
  if (!(wFlags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
  if (params.cNamedArgs > 0) return kDispENoNamedArgs;
  const UINT minArgs = method ? member->minArgs : 0;
  const UINT maxArgs = method ? member->maxArgs : 0;
  if (params.cArgs < minArgs || params.cArgs > maxArgs) return DISP_E_BADPARAMCOUNT;

  VARIANT result;
  VariantInit(&result);
  HRESULT hr;
  if (method) {
    // Automation passes arguments last first.
    std::vector<const VARIANT*> args;
    for (UINT i = params.cArgs; i > 0; --i) args.push_back(&params.rgvarg[i - 1]);
    hr = Call(*member, args, &result);
  } else {
    hr = Get(*member, &result);
  }
  if (FAILED(hr) || !pVarResult) {
    VariantClear(&result);
    return Tell(hr, pExcepInfo);
  }
  *pVarResult = result;  // the caller's variant is an out parameter: overwritten, not cleared
  return hr;
}

HRESULT DispatchObject::Raise(HRESULT code, std::string_view description) {
  m_raisedCode = code;
  m_raisedText = description;
  return DISP_E_EXCEPTION;
}

HRESULT DispatchObject::Tell(HRESULT hr, EXCEPINFO* excepInfo) {
  if (hr == DISP_E_EXCEPTION && excepInfo) {
    *excepInfo = EXCEPINFO{};
    excepInfo->bstrSource = SysAllocString(OLESTR("Outlook"));
    const OleString text = Utf8ToUtf16(m_raisedText);
    excepInfo->bstrDescription = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    excepInfo->scode = m_raisedCode;
  }
  m_raisedText.clear();
  return hr;
}

HRESULT DispatchObject::Put(const Member&, const VARIANT&) { return DISP_E_MEMBERNOTFOUND; }

HRESULT DispatchObject::Call(const Member&, std::span<const VARIANT* const>, VARIANT*) {
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT ReturnText(VARIANT* result, std::string_view utf8) {
  BSTR bstr = nullptr;
  if (IsAscii(utf8)) {
    // Unit for unit: converted straight into the string handed out.
    bstr = SysAllocStringLen(nullptr, static_cast<UINT>(utf8.size()));
    if (bstr) Utf8ToUtf16(utf8, bstr);
  } else {
    const OleString text = Utf8ToUtf16(utf8);
    bstr = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  }
  if (!bstr) return E_OUTOFMEMORY;
  result->vt = VT_BSTR;
  result->bstrVal = bstr;
  return S_OK;
}

HRESULT ReturnInt(VARIANT* result, int32_t value) {
  result->vt = VT_I4;
  result->lVal = value;
  return S_OK;
}

HRESULT ReturnBool(VARIANT* result, bool value) {
  result->vt = VT_BOOL;
  result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT ReturnDate(VARIANT* result, double value) {
  result->vt = VT_DATE;
  result->date = value;
  return S_OK;
}

HRESULT ReturnObject(VARIANT* result, IDispatch* object) {
  if (!object) return E_OUTOFMEMORY;
  result->vt = VT_DISPATCH;
  result->pdispVal = object;
  return S_OK;
}

HRESULT ReturnNothing(VARIANT* result) {
  result->vt = VT_DISPATCH;
  result->pdispVal = nullptr;
  return S_OK;
}

HRESULT ReturnValue(VARIANT* result, const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return ReturnText(result, *text);
  if (const auto* number = std::get_if<int32_t>(&value)) return ReturnInt(result, *number);
  if (const auto* flag = std::get_if<bool>(&value)) return ReturnBool(result, *flag);
  return ReturnDate(result, std::get<double>(value));
}

std::optional<std::string> TextFromVariant(const VARIANT& variant) {
  if (variant.vt != VT_BSTR) return std::nullopt;
  if (!variant.bstrVal) return std::string();
  return Utf16ToUtf8(OleStringView(variant.bstrVal, SysStringLen(variant.bstrVal)));
}

std::optional<int32_t> IntFromVariant(const VARIANT& variant) {
  if (variant.vt == VT_I4) return variant.lVal;
  if (variant.vt == VT_I2) return variant.iVal;
  return std::nullopt;
}

std::optional<Value> ValueFromVariant(const VARIANT& variant, ValueType type) {
  switch (type) {
    case ValueType::Text:
      if (std::optional<std::string> text = TextFromVariant(variant)) return *text;
      return std::nullopt;
    case ValueType::Int:
      if (std::optional<int32_t> number = IntFromVariant(variant)) return *number;
      return std::nullopt;
    case ValueType::Bool:
      if (variant.vt == VT_BOOL) return variant.boolVal != VARIANT_FALSE;
      return std::nullopt;
    case ValueType::Date:
      if (variant.vt == VT_DATE) return variant.date;
      return std::nullopt;
    case ValueType::Members: break;
  }
  return std::nullopt;
}

bool IsMissing(const VARIANT& variant) {
  return variant.vt == VT_EMPTY || (variant.vt == VT_ERROR && variant.scode == DISP_E_PARAMNOTFOUND);
}

HRESULT StatusOf(PutStatus status) {
  switch (status) {
    case PutStatus::Ok: return S_OK;
    case PutStatus::ReadOnly: return DISP_E_MEMBERNOTFOUND;
    case PutStatus::WrongType: return DISP_E_TYPEMISMATCH;
    case PutStatus::OutOfRange: break;
  }
  return E_INVALIDARG;
}

}  // namespace olstore
