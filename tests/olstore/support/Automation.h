// Calling the store's object model by name, as the program does: look the
// member up with GetIDsOfNames, then Invoke.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32.h"

namespace olstore::test {

// An owned variant.
class Var {
 public:
  Var();
  ~Var();
  Var(const Var& other);
  Var& operator=(const Var& other);

  static Var Text(std::string_view utf8);
  static Var Int(int32_t value);
  static Var Short(int16_t value);
  static Var Bool(bool value);
  static Var Date(double value);
  static Var Double(double value);
  static Var Missing();  // an optional argument left out

  VARIANT* get() { return &m_v; }
  const VARIANT& v() const { return m_v; }
  VARTYPE vt() const { return m_v.vt; }
  // The text of a VT_BSTR, in UTF-8.
  std::string text() const;

 private:
  VARIANT m_v;
};

// An owned IDispatch reference.
class Obj {
 public:
  Obj() = default;
  explicit Obj(IDispatch* adopted) : m_p(adopted) {}
  ~Obj();
  Obj(const Obj& other);
  Obj& operator=(const Obj& other);
  Obj(Obj&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }

  IDispatch* get() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }

  HRESULT Id(std::string_view name, DISPID* id) const;
  // args in call order; they are passed last first, as automation wants.
  HRESULT Invoke(std::string_view name, WORD flags, std::vector<Var> args, Var* result) const;
  HRESULT Get(std::string_view name, Var& result) const;
  HRESULT Put(std::string_view name, const Var& value) const;
  HRESULT Call(std::string_view name, std::vector<Var> args, Var& result) const;
  HRESULT Call(std::string_view name, std::vector<Var> args = {}) const;

  // Typed reads that fail the test when the call fails or the type differs.
  std::string Text(std::string_view name) const;
  int32_t Int(std::string_view name) const;
  bool Bool(std::string_view name) const;
  double Date(std::string_view name) const;
  Obj Object(std::string_view name) const;
  Obj CallObject(std::string_view name, std::vector<Var> args = {}) const;

 private:
  IDispatch* m_p = nullptr;
};

}  // namespace olstore::test
