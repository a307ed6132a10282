#include "app/ProgramText.h"

#include <QLocale>
#include <climits>
#include <cstring>

#include "platform/win32.h"

namespace {

// The conversions take int lengths; no text of the program comes near it.
int UnitCount(size_t nLength) { return nLength < INT_MAX ? static_cast<int>(nLength) : INT_MAX; }

}  // namespace

QString FromProgramText(const char* szText, size_t nMaxBytes) {
  if (!szText) return QString();
  const int nBytes = UnitCount(strnlen(szText, nMaxBytes));
  if (nBytes == 0) return QString();
  const int nUnits = MultiByteToWideChar(CP_ACP, 0, szText, nBytes, nullptr, 0);
  if (nUnits <= 0) return QString();
  QString strText(nUnits, Qt::Uninitialized);
  MultiByteToWideChar(CP_ACP, 0, szText, nBytes, reinterpret_cast<LPWSTR>(strText.data()), nUnits);
  return strText;
}

QByteArray ToProgramText(const QString& strText) {
  if (strText.isEmpty()) return QByteArray();
  const auto* pUnits = reinterpret_cast<LPCWCH>(strText.utf16());
  const int nUnits = UnitCount(static_cast<size_t>(strText.size()));
  const int nBytes = WideCharToMultiByte(CP_ACP, 0, pUnits, nUnits, nullptr, 0, nullptr, nullptr);
  if (nBytes <= 0) return QByteArray();
  QByteArray text(nBytes, Qt::Uninitialized);
  WideCharToMultiByte(CP_ACP, 0, pUnits, nUnits, text.data(), nBytes, nullptr, nullptr);
  return text;
}

QString NumberText(size_t nCount) {
  return QLocale(QLocale::English).toString(static_cast<qulonglong>(nCount));
}

QString CountText(size_t nCount, const char* szOne, const char* szMany) {
  return NumberText(nCount) + ' ' + QString::fromUtf8(nCount == 1 ? szOne : szMany);
}
