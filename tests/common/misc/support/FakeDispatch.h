// FakeDispatch: a scripted automation object for tests of code that calls
// objects by member name (CDispCmd and everything built on it).
//
// Script it with the members it knows:
//   FakeDispatch item;
//   item.SetProperty(OLESTR("FirstName"), OwnedVariant::Bstr(OLESTR("Ada")))  // get: a copy;
//                                                                             // put: replaces
//       .SetMethod(OLESTR("Save"), OwnedVariant())                // call: a copy of the result
//       .SetFailure(OLESTR("Body"), E_ACCESSDENIED)               // every call of it fails
//       .SetLookupFailure(OLESTR("Secret"), RPC_E_CALL_REJECTED); // its name lookup fails
// Names it was not given fail their lookup with DISP_E_UNKNOWNNAME. Names
// match without regard to ASCII case, as automation servers match them.
//
// Every name lookup and every Invoke is recorded (Lookups(), Calls()) with
// what came in: interface id, locale, flags, copies of the arguments, the
// named-argument ids, and which optional out places the caller offered.
//
// Lifetime: the test owns the object (stack or unique_ptr). References are
// counted but never act, so a test can check with RefCount() that the code
// under test gave back every reference it took; the object starts with one,
// the creator's. Objects held in its script (VT_DISPATCH values) are released
// when it ends, so declare them before the FakeDispatch that holds them.
//
// Header only, so the test folders of every layer can include it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32.h"
#include "support/OleText.h"

// A VARIANT that owns its content: copies are deep, the end clears it.
class OwnedVariant {
 public:
  OwnedVariant() { VariantInit(&m_v); }
  // Windows' VariantCopy takes its source as non-const, though it only reads it.
  explicit OwnedVariant(const VARIANT& v) {
    VariantInit(&m_v);
    VariantCopy(&m_v, const_cast<VARIANT*>(&v));
  }
  OwnedVariant(const OwnedVariant& other) : OwnedVariant(other.m_v) {}
  OwnedVariant& operator=(const OwnedVariant& other) {
    VariantCopy(&m_v, const_cast<VARIANT*>(&other.m_v));
    return *this;
  }
  ~OwnedVariant() { VariantClear(&m_v); }

  static OwnedVariant Bstr(const OLECHAR* sz) {
    return Owning(VT_BSTR, [&](VARIANT& v) { v.bstrVal = SysAllocString(sz); });
  }
  static OwnedVariant Bstr(const OleString& str) {
    return Owning(VT_BSTR, [&](VARIANT& v) {
      v.bstrVal = SysAllocStringLen(str.data(), static_cast<UINT>(str.size()));
    });
  }
  static OwnedVariant I4(int32_t n) {
    return Owning(VT_I4, [&](VARIANT& v) { v.lVal = n; });
  }
  static OwnedVariant I2(int16_t n) {
    return Owning(VT_I2, [&](VARIANT& v) { v.iVal = n; });
  }
  static OwnedVariant Bool(VARIANT_BOOL b) {
    return Owning(VT_BOOL, [&](VARIANT& v) { v.boolVal = b; });
  }
  static OwnedVariant Date(DATE dt) {
    return Owning(VT_DATE, [&](VARIANT& v) { v.date = dt; });
  }
  // Adds a reference of its own to pDisp.
  static OwnedVariant Dispatch(IDispatch* pDisp) {
    if (pDisp) pDisp->AddRef();
    return Owning(VT_DISPATCH, [&](VARIANT& v) { v.pdispVal = pDisp; });
  }
  static OwnedVariant OfType(VARTYPE vt) {
    return Owning(vt, [](VARIANT&) {});
  }

  const VARIANT& Get() const { return m_v; }
  VARIANT* Ptr() { return &m_v; }
  VARTYPE Type() const { return m_v.vt; }
  // The text of a VT_BSTR value, embedded zeros included.
  OleString Text() const {
    return m_v.vt == VT_BSTR && m_v.bstrVal ? OleString(m_v.bstrVal, SysStringLen(m_v.bstrVal))
                                            : OleString();
  }

 private:
  template <typename Fill>
  static OwnedVariant Owning(VARTYPE vt, Fill fill) {
    OwnedVariant result;
    result.m_v.vt = vt;
    fill(result.m_v);
    return result;
  }

  VARIANT m_v;
};

class FakeDispatch : public IDispatch {
 public:
  struct Lookup {
    OleString strName;
    IID riid;
    UINT nNames;
    LCID lcid;
  };
  struct Call {
    OleString strName;  // the member's scripted name
    DISPID dispid;
    IID riid;
    LCID lcid;
    WORD wFlags;
    const VARIANTARG* pArgsSeen;     // the caller's argument array itself
    std::vector<OwnedVariant> args;  // copies, in the caller's array order
    std::vector<DISPID> namedIds;
    bool bResultOffered;
    bool bExcepInfoOffered;
    bool bArgErrOffered;
  };

  FakeDispatch() = default;
  virtual ~FakeDispatch() = default;
  FakeDispatch(const FakeDispatch&) = delete;
  FakeDispatch& operator=(const FakeDispatch&) = delete;

  FakeDispatch& SetProperty(const OleString& strName, const OwnedVariant& value) {
    Member& member = Script(strName, Kind::Property);
    member.value = value;
    return *this;
  }
  FakeDispatch& SetMethod(const OleString& strName, const OwnedVariant& result) {
    Member& member = Script(strName, Kind::Method);
    member.value = result;
    return *this;
  }
  FakeDispatch& SetFailure(const OleString& strName, HRESULT hr) {
    Script(strName, Kind::Failing).hrFailure = hr;
    return *this;
  }
  // Every call of it raises an exception: DISP_E_EXCEPTION, with scode and
  // description in the caller's EXCEPINFO (an empty description: none).
  FakeDispatch& SetException(const OleString& strName, HRESULT scode,
                             const OleString& strDescription) {
    Member& member = Script(strName, Kind::Raising);
    member.hrFailure = scode;
    member.value = strDescription.empty() ? OwnedVariant() : OwnedVariant::Bstr(strDescription);
    return *this;
  }
  FakeDispatch& SetLookupFailure(const OleString& strName, HRESULT hr) {
    Script(strName, Kind::Unnamed).hrFailure = hr;
    return *this;
  }

  // The current value of a property (after puts); null when it has none.
  const OwnedVariant* Property(const OleString& strName) const {
    auto it = m_members.find(Fold(strName));
    return it != m_members.end() && it->second.kind == Kind::Property ? &it->second.value : nullptr;
  }
  const std::vector<Lookup>& Lookups() const { return m_lookups; }
  const std::vector<Call>& Calls() const { return m_calls; }
  void ClearRecord() {
    m_lookups.clear();
    m_calls.clear();
  }
  ULONG RefCount() const { return m_nRefs; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
      *ppv = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
  ULONG STDMETHODCALLTYPE Release() override { return --m_nRefs; }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override {
    if (!pctinfo) return E_INVALIDARG;
    *pctinfo = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                          DISPID* rgDispId) override {
    if (!rgszNames || !rgDispId || cNames == 0) return E_INVALIDARG;
    m_lookups.push_back({rgszNames[0] ? OleString(rgszNames[0]) : OleString(), riid, cNames, lcid});
    if (!rgszNames[0]) return E_INVALIDARG;
    for (UINT i = 0; i < cNames; ++i) rgDispId[i] = DISPID_UNKNOWN;
    auto it = m_members.find(Fold(rgszNames[0]));
    if (it == m_members.end()) return DISP_E_UNKNOWNNAME;
    if (it->second.kind == Kind::Unnamed) return it->second.hrFailure;
    rgDispId[0] = it->second.dispid;
    // Named arguments are never scripted, so their names are never known.
    return cNames == 1 ? S_OK : DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                   DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                   EXCEPINFO* pExcepInfo, UINT* puArgErr) override {
    Member* pMember = nullptr;
    for (auto& entry : m_members)
      if (entry.second.dispid == dispIdMember && entry.second.kind != Kind::Unnamed)
        pMember = &entry.second;

    Call call{pMember ? pMember->strName : OleString(),
              dispIdMember,
              riid,
              lcid,
              wFlags,
              nullptr,
              {},
              {},
              pVarResult != nullptr,
              pExcepInfo != nullptr,
              puArgErr != nullptr};
    if (pDispParams) {
      call.pArgsSeen = pDispParams->rgvarg;
      for (UINT i = 0; i < pDispParams->cArgs && pDispParams->rgvarg; ++i)
        call.args.emplace_back(pDispParams->rgvarg[i]);
      for (UINT i = 0; i < pDispParams->cNamedArgs && pDispParams->rgdispidNamedArgs; ++i)
        call.namedIds.push_back(pDispParams->rgdispidNamedArgs[i]);
    }
    m_calls.push_back(std::move(call));

    if (!pMember) return DISP_E_MEMBERNOTFOUND;
    if (!pDispParams) return E_INVALIDARG;
    switch (pMember->kind) {
      case Kind::Failing:
        return pMember->hrFailure;
      case Kind::Raising:
        if (pExcepInfo) {
          *pExcepInfo = EXCEPINFO{};
          pExcepInfo->bstrSource = SysAllocString(OLESTR("Fake"));
          const OleString strDescription = pMember->value.Text();
          if (!strDescription.empty())
            pExcepInfo->bstrDescription = SysAllocString(strDescription.c_str());
          pExcepInfo->scode = pMember->hrFailure;
        }
        return DISP_E_EXCEPTION;
      case Kind::Method:
        if (!(wFlags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
        return Answer(pMember->value, pVarResult);
      case Kind::Property:
        if (wFlags & DISPATCH_PROPERTYPUT) return Put(*pMember, *pDispParams);
        if (!(wFlags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
        if (pDispParams->cArgs != 0) return DISP_E_BADPARAMCOUNT;
        return Answer(pMember->value, pVarResult);
      case Kind::Unnamed:
        break;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  enum class Kind { Property, Method, Failing, Raising, Unnamed };
  struct Member {
    OleString strName;
    DISPID dispid = DISPID_UNKNOWN;
    Kind kind = Kind::Property;
    OwnedVariant value;
    HRESULT hrFailure = S_OK;
  };

  static OleString Fold(const OleString& strName) {
    OleString str = strName;
    for (OLECHAR& ch : str)
      if (ch >= 'A' && ch <= 'Z') ch = static_cast<OLECHAR>(ch - 'A' + 'a');
    return str;
  }

  // A member keeps its dispatch id when it is scripted again.
  Member& Script(const OleString& strName, Kind kind) {
    Member& member = m_members[Fold(strName)];
    if (member.dispid == DISPID_UNKNOWN) member.dispid = ++m_nLastDispid;
    member.strName = strName;
    member.kind = kind;
    return member;
  }

  static HRESULT Answer(const OwnedVariant& value, VARIANT* pVarResult) {
    return pVarResult ? VariantCopy(pVarResult, const_cast<VARIANT*>(&value.Get())) : S_OK;
  }

  // A put carries its one value with the named id DISPID_PROPERTYPUT.
  static HRESULT Put(Member& member, const DISPPARAMS& params) {
    if (params.cArgs != 1 || !params.rgvarg) return DISP_E_BADPARAMCOUNT;
    if (params.cNamedArgs != 1 || !params.rgdispidNamedArgs ||
        params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
      return DISP_E_PARAMNOTFOUND;
    return VariantCopy(member.value.Ptr(), &params.rgvarg[0]);
  }

  std::map<OleString, Member> m_members;
  std::vector<Lookup> m_lookups;
  std::vector<Call> m_calls;
  DISPID m_nLastDispid = 0;
  ULONG m_nRefs = 1;
};
