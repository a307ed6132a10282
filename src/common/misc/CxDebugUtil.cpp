#include "common/misc/CxDebugUtil.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "common/misc/CxFile.h"
#include "common/misc/CxText.h"
#include "platform/win32.h"

CxDebugUtil g_DebugUtil;

namespace {

constexpr int kMessageSize = 40960;
constexpr size_t kMaxSourceName = 255;
constexpr int32_t kRotateSize = 10485760;  // 10 MiB
// Room for the longest source name, the date, line, thread and marker fields.
constexpr int kLineSize = kMessageSize + 512;
// The folder and the file name (259 bytes at most each), joined.
constexpr int kPathSize = 2 * MAX_PATH;
constexpr char kOldSuffix[] = ".old.log";

// The base name of a source path. Both separators count: source paths come
// from the compiler as written, with '/' or '\\' depending on the build.
const char* SourceName(const char* szFile) {
  if (!szFile) return "<null>";
  const char* szName = szFile;
  for (const char* p = szFile; *p; ++p) {
    if (*p == '/' || *p == '\\') szName = p + 1;
  }
  return szName;
}

}  // namespace

CxDebugUtil::CxDebugUtil() : m_nLevel(0), m_bEnable(false) {
  CopyText(m_szFileName, sizeof(m_szFileName), "appdebug.log");
  CopyText(m_szFolder, sizeof(m_szFolder), "./");
}

void CxDebugUtil::SetLogFolder(const char* szFolder) {
  if (szFolder) CopyText(m_szFolder, sizeof(m_szFolder), szFolder);
}

void CxDebugUtil::SetLogLevel(int nLevel) {
  if (nLevel > 3) nLevel = 3;
  if (nLevel < 0) nLevel = 0;
  m_nLevel = nLevel;
}

void CxDebugUtil::EnableLog(bool bEnable) { m_bEnable = bEnable; }

void CxDebugUtil::LogMessage(int nLevel, const char* szFile, int nLine, const char* szFormat, ...) {
  // The level test comes before any formatting so that switched-off lines
  // cost nothing.
  if (nLevel != 0 && (!m_bEnable || nLevel > m_nLevel)) return;

  // One byte more than is kept, so that the cut below can see whether it
  // would fall inside a character (vsnprintf itself cuts at any byte).
  char szMessage[kMessageSize + 1];
  va_list args;
  va_start(args, szFormat);
  const int nWanted = vsnprintf(szMessage, sizeof(szMessage), szFormat ? szFormat : "", args);
  va_end(args);
  if (nWanted < 0) szMessage[0] = '\0';
  szMessage[TextCutLength(szMessage, kMessageSize - 1)] = '\0';

  char szSource[kMaxSourceName + 1];
  CopyText(szSource, sizeof(szSource), SourceName(szFile));

  SYSTEMTIME stNow;
  GetLocalTime(&stNow);
  char szLine[kLineSize];
  snprintf(szLine, sizeof(szLine), "[%04d/%02d/%02d %02d:%02d:%02d][%-20s(%-4d)][%05x][%s] - %s",
           stNow.wYear, stNow.wMonth, stNow.wDay, stNow.wHour, stNow.wMinute, stNow.wSecond, szSource,
           nLine, static_cast<unsigned>(GetCurrentThreadId()), nLevel == 0 ? "!!!" : "   ", szMessage);

  char szPath[kPathSize];
  snprintf(szPath, sizeof(szPath), "%s%s", m_szFolder, m_szFileName);

  const char* szMode = "ab";
  if (GetFileSize(szPath) > kRotateSize) {
    char szOldPath[kPathSize + sizeof(kOldSuffix)];
    snprintf(szOldPath, sizeof(szOldPath), "%s%s", szPath, kOldSuffix);
    // A failed copy must not stop the log from being emptied: an ever-growing
    // log would be worse than a lost old copy.
    CopyFileA(szPath, szOldPath, FALSE);
    szMode = "wb";
  }

  CxFile file;
  if (file.Open(szPath, szMode)) file.WriteLine(szLine);
}
