// Environment variables set for one test and put back afterwards.
#pragma once

#include <stdlib.h>

#include <map>
#include <optional>
#include <string>

#include "platform/win32.h"

class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() { Restore(); }

  // A null value removes the variable. Windows' C runtime cannot hold an empty
  // value: there an empty value is seen only by GetEnvironmentVariable.
  void Set(const char* szName, const char* szValue) {
    if (!m_saved.count(szName)) {
      const char* szOld = getenv(szName);
      m_saved[szName] = szOld ? std::optional<std::string>(szOld) : std::nullopt;
    }
    Put(szName, szValue);
  }
  void Set(const char* szName, const std::string& value) { Set(szName, value.c_str()); }

  // Puts every variable back as it was before its first Set.
  void Restore() {
    for (const auto& [name, value] : m_saved) Put(name.c_str(), value ? value->c_str() : nullptr);
    m_saved.clear();
  }

 private:
  static void Put(const char* szName, const char* szValue) {
#ifdef _WIN32
    // The C runtime keeps a copy of its own: code may read either.
    _putenv_s(szName, szValue ? szValue : "");
    SetEnvironmentVariableA(szName, szValue);
#else
    if (szValue) {
      setenv(szName, szValue, 1);
    } else {
      unsetenv(szName);
    }
#endif
  }

  std::map<std::string, std::optional<std::string>> m_saved;
};
