// CxIniUtil: typed reading and writing of one INI-format profile file.
#pragma once

#include <cstdint>

#include "platform/win32.h"

class CxIniUtil {
 public:
  // The path is szFolder followed directly by szFileName, so the folder must
  // end with a separator. Without a folder the program's own folder is used.
  // A path that does not fit MAX_PATH bytes is not cut into another file's
  // name: the object is then left without a file (reads give the defaults,
  // writes fail) until SetFilePath gives it one.
  CxIniUtil(const char* szFolder, const char* szFileName);

  // False, changing nothing, for a null or empty path or one longer than
  // MAX_PATH - 1 bytes.
  bool SetFilePath(const char* szPath);
  const char* GetFilePath() const { return m_szFilePath; }

  // The value of szKey in szSection, or szDefault, cut to nSize - 1 bytes.
  // Returns the number of bytes copied; 0 without reading for a missing
  // section or key, a null buffer or a size below 1 (a buffer is then made
  // empty when there is one).
  int GetString(const char* szSection, const char* szKey, char* szBuf, int nSize,
                const char* szDefault);
  // A missing key or empty value gives nDefault; any other text is read like
  // atol (blanks, sign, digits; no leading digit gives 0), kept to 32 bits.
  int32_t GetInt(const char* szSection, const char* szKey, int32_t nDefault);
  // GetInt with 1 or 0 as the default; non-zero is true.
  bool GetBool(const char* szSection, const char* szKey, bool bDefault);

  // The profile call's result: non-zero when written. 0 without writing for
  // a missing section or key; a null value is written as an empty text.
  BOOL WriteString(const char* szSection, const char* szKey, const char* szValue);
  BOOL WriteInt(const char* szSection, const char* szKey, int32_t nValue);
  BOOL WriteBool(const char* szSection, const char* szKey, bool bValue);

 private:
  char m_szFilePath[MAX_PATH];
};
