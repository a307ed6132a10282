#include "common/misc/CxFile.h"

CxFile::CxFile() : m_pFile(nullptr) {}

CxFile::~CxFile() { Close(); }

bool CxFile::Open(const char* szPath, const char* szMode) {
  if (!szPath || !*szPath || !szMode || !*szMode) return false;
  Close();
  m_pFile = fopen(szPath, szMode);
  return m_pFile != nullptr;
}

bool CxFile::Close() {
  if (m_pFile) {
    fclose(m_pFile);
    m_pFile = nullptr;
  }
  return true;
}

bool CxFile::WriteLine(const char* szText) {
  if (!m_pFile) return false;
  return fprintf(m_pFile, "%s\r\n", szText ? szText : "") >= 0;
}

int32_t GetFileSize(const char* szPath) {
  if (!szPath || !*szPath) return -1;
  FILE* pFile = fopen(szPath, "rb");
  if (!pFile) return -1;
  int64_t nSize = -1;
  if (fseek(pFile, 0, SEEK_END) == 0) nSize = ftell(pFile);
  fclose(pFile);
  if (nSize < 0) return -1;
  return nSize > INT32_MAX ? INT32_MAX : static_cast<int32_t>(nSize);
}
