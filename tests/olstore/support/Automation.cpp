#include "olstore/support/Automation.h"

#include <gtest/gtest.h>

#include "olstore/Text.h"

namespace olstore::test {

Var::Var() { VariantInit(&m_v); }
Var::~Var() { VariantClear(&m_v); }
// Windows' VariantCopy takes its source as non-const, though it only reads it.
Var::Var(const Var& other) {
  VariantInit(&m_v);
  VariantCopy(&m_v, const_cast<VARIANT*>(&other.m_v));
}
Var& Var::operator=(const Var& other) {
  if (this != &other) {
    VariantClear(&m_v);
    VariantCopy(&m_v, const_cast<VARIANT*>(&other.m_v));
  }
  return *this;
}

Var Var::Text(std::string_view utf8) {
  Var var;
  const OleString text = Utf8ToUtf16(utf8);
  var.m_v.vt = VT_BSTR;
  var.m_v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return var;
}
Var Var::Int(int32_t value) {
  Var var;
  var.m_v.vt = VT_I4;
  var.m_v.lVal = value;
  return var;
}
Var Var::Short(int16_t value) {
  Var var;
  var.m_v.vt = VT_I2;
  var.m_v.iVal = value;
  return var;
}
Var Var::Bool(bool value) {
  Var var;
  var.m_v.vt = VT_BOOL;
  var.m_v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return var;
}
Var Var::Date(double value) {
  Var var;
  var.m_v.vt = VT_DATE;
  var.m_v.date = value;
  return var;
}
Var Var::Double(double value) {
  Var var;
  var.m_v.vt = VT_R8;
  var.m_v.dblVal = value;
  return var;
}
Var Var::Missing() {
  Var var;
  var.m_v.vt = VT_ERROR;
  var.m_v.scode = DISP_E_PARAMNOTFOUND;
  return var;
}

std::string Var::text() const {
  if (m_v.vt != VT_BSTR || !m_v.bstrVal) return {};
  return Utf16ToUtf8(OleStringView(m_v.bstrVal, SysStringLen(m_v.bstrVal)));
}

Obj::~Obj() {
  if (m_p) m_p->Release();
}
Obj::Obj(const Obj& other) : m_p(other.m_p) {
  if (m_p) m_p->AddRef();
}
Obj& Obj::operator=(const Obj& other) {
  if (other.m_p) other.m_p->AddRef();
  if (m_p) m_p->Release();
  m_p = other.m_p;
  return *this;
}

HRESULT Obj::Id(std::string_view name, DISPID* id) const {
  if (!m_p) return E_POINTER;
  OleString wide = Utf8ToUtf16(name);
  LPOLESTR names[] = {wide.data()};
  return m_p->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id);
}

HRESULT Obj::Invoke(std::string_view name, WORD flags, std::vector<Var> args, Var* result) const {
  DISPID id = 0;
  HRESULT hr = Id(name, &id);
  if (FAILED(hr)) return hr;
  // The variants are borrowed: `args` keeps owning them.
  std::vector<VARIANT> reversed;
  for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(it->v());
  DISPID putId = DISPID_PROPERTYPUT;
  const bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
  DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), put ? &putId : nullptr,
                    static_cast<UINT>(reversed.size()), put ? 1u : 0u};
  hr = m_p->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, flags, &params,
                   result ? result->get() : nullptr, nullptr, nullptr);
  return hr;
}

HRESULT Obj::Get(std::string_view name, Var& result) const {
  return Invoke(name, DISPATCH_PROPERTYGET, {}, &result);
}
HRESULT Obj::Put(std::string_view name, const Var& value) const {
  return Invoke(name, DISPATCH_PROPERTYPUT, {value}, nullptr);
}
HRESULT Obj::Call(std::string_view name, std::vector<Var> args, Var& result) const {
  return Invoke(name, DISPATCH_METHOD, std::move(args), &result);
}
HRESULT Obj::Call(std::string_view name, std::vector<Var> args) const {
  return Invoke(name, DISPATCH_METHOD, std::move(args), nullptr);
}

namespace {

Var Expect(const Obj& obj, std::string_view name, VARTYPE type) {
  Var value;
  const HRESULT hr = obj.Get(name, value);
  EXPECT_EQ(hr, S_OK) << name;
  EXPECT_EQ(value.vt(), type) << name;
  return value;
}

}  // namespace

std::string Obj::Text(std::string_view name) const { return Expect(*this, name, VT_BSTR).text(); }
int32_t Obj::Int(std::string_view name) const { return Expect(*this, name, VT_I4).v().lVal; }
bool Obj::Bool(std::string_view name) const {
  return Expect(*this, name, VT_BOOL).v().boolVal != VARIANT_FALSE;
}
double Obj::Date(std::string_view name) const { return Expect(*this, name, VT_DATE).v().date; }

Obj Obj::Object(std::string_view name) const {
  Var value = Expect(*this, name, VT_DISPATCH);
  IDispatch* p = value.v().pdispVal;
  if (p) p->AddRef();
  return Obj(p);
}

Obj Obj::CallObject(std::string_view name, std::vector<Var> args) const {
  Var value;
  EXPECT_EQ(Call(name, std::move(args), value), S_OK) << name;
  EXPECT_EQ(value.vt(), VT_DISPATCH) << name;
  IDispatch* p = value.vt() == VT_DISPATCH ? value.v().pdispVal : nullptr;
  if (p) p->AddRef();
  return Obj(p);
}

}  // namespace olstore::test
