// The automation side of the store: a base for its IDispatch objects (name
// lookup, argument checks, reference counting) and the variant conversions
// they share. Values are strictly typed as Outlook's are: nothing is coerced.
#pragma once

#include <atomic>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "olstore/Item.h"
#include "platform/win32.h"

namespace olstore {

// Status codes the platform header does not name.
constexpr HRESULT kDispENoNamedArgs = static_cast<HRESULT>(0x80020007L);
constexpr HRESULT kDispEBadIndex = static_cast<HRESULT>(0x8002000BL);
constexpr HRESULT kMapiEInvalidEntryId = static_cast<HRESULT>(0x80040107L);
constexpr HRESULT kMapiENotFound = static_cast<HRESULT>(0x8004010FL);
// MAPI_E_BUSY: the store is locked by another program.
constexpr HRESULT kMapiEBusy = static_cast<HRESULT>(0x8004010BL);

enum class MemberKind : uint8_t { Property, ReadOnlyProperty, Method };

struct Member {
  std::string_view name;
  MemberKind kind = MemberKind::ReadOnlyProperty;
  uint8_t minArgs = 0;  // methods only
  uint8_t maxArgs = 0;
  int32_t tag = 0;      // what the member means to the object that owns the table
};

// The members of one object type; a member's DISPID is its position plus one.
class MemberTable {
 public:
  explicit MemberTable(std::vector<Member> members);
  // Case-insensitive, as automation names are.
  std::optional<DISPID> Find(const OLECHAR* name) const;
  const Member* ById(DISPID id) const;

 private:
  std::vector<Member> m_members;
  std::vector<std::string> m_lowerNames;  // by position, as the members
  std::vector<DISPID> m_slots;            // hash table of DISPIDs; 0 is a free slot
};

class DispatchObject : public IDispatch {
 public:
  DispatchObject();
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                          DISPID* rgDispId) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                   DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                   EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

 protected:
  virtual ~DispatchObject();

  virtual const MemberTable& Members() const = 0;
  // Called once flags and arguments fit the member. result is initialised
  // and empty; args are in call order (first argument first).
  virtual HRESULT Get(const Member& member, VARIANT* result) = 0;
  virtual HRESULT Put(const Member& member, const VARIANT& value);
  virtual HRESULT Call(const Member& member, std::span<const VARIANT* const> args, VARIANT* result);

  // Fails the member with a reason for people, as Outlook tells one: Invoke
  // answers DISP_E_EXCEPTION and fills the caller's EXCEPINFO with code and
  // description. The member answers with what it returns.
  HRESULT Raise(HRESULT code, std::string_view description);

 private:
  // Hands a raised exception to the caller's EXCEPINFO (when there is one).
  HRESULT Tell(HRESULT hr, EXCEPINFO* excepInfo);

  std::atomic<ULONG> m_refs{1};  // the creator's reference
  HRESULT m_raisedCode = S_OK;
  std::string m_raisedText;
};

// Tells the lifetime hooks (SetObjectLifetimeHooks) that an object or a lock
// came or went.
void NotifyObjectLifetime(bool created);

// Results. Each fills an empty variant; ReturnObject takes over one reference.
HRESULT ReturnText(VARIANT* result, std::string_view utf8);
HRESULT ReturnInt(VARIANT* result, int32_t value);
HRESULT ReturnBool(VARIANT* result, bool value);
HRESULT ReturnDate(VARIANT* result, double value);
HRESULT ReturnObject(VARIANT* result, IDispatch* object);
// Outlook's Nothing: an object variant without an object.
HRESULT ReturnNothing(VARIANT* result);
HRESULT ReturnValue(VARIANT* result, const Value& value);

// A value of exactly the property's automation type; nullopt for any other
// variant type (VT_I2 counts as an integer).
std::optional<Value> ValueFromVariant(const VARIANT& variant, ValueType type);
std::optional<std::string> TextFromVariant(const VARIANT& variant);
std::optional<int32_t> IntFromVariant(const VARIANT& variant);
// An optional argument left out: VT_ERROR with DISP_E_PARAMNOTFOUND, or VT_EMPTY.
bool IsMissing(const VARIANT& variant);

HRESULT StatusOf(PutStatus status);

}  // namespace olstore
