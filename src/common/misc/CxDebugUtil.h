// CxDebugUtil: the program's diagnostic log, one line per event appended to
// "appdebug.log" in the log folder. Level 0 (failures) is always written;
// levels 1-3 only when the log is switched on and the level allows.
#pragma once

#include <cstdint>

#if defined(__GNUC__) || defined(__clang__)
#define QM_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define QM_PRINTF_FORMAT(fmt, args)
#endif

class CxDebugUtil {
 public:
  CxDebugUtil();

  // The folder is joined to the file name as it is, so it must end with a
  // path separator. Cut to 259 bytes (before a whole character); null changes
  // nothing.
  void SetLogFolder(const char* szFolder);
  // Clamped to 0..3.
  void SetLogLevel(int nLevel);
  void EnableLog(bool bEnable);

  // szFile and nLine are the caller's own source position (see QM_LOG). The
  // file is opened and closed for every line, so nothing is lost when the
  // program dies, and it is rotated once it has grown past 10 MiB.
  void LogMessage(int nLevel, const char* szFile, int nLine, const char* szFormat, ...)
      QM_PRINTF_FORMAT(5, 6);

 private:
  char m_szFileName[260];
  char m_szFolder[260];
  int32_t m_nLevel;
  bool m_bEnable;
};

extern CxDebugUtil g_DebugUtil;

#define QM_LOG(nLevel, ...) g_DebugUtil.LogMessage((nLevel), __FILE__, __LINE__, __VA_ARGS__)
