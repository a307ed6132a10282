// CxFile: a text file written through the C library's streams (the debug log
// opens one per line).
#pragma once

#include <cstdint>
#include <cstdio>

class CxFile {
 public:
  CxFile();
  virtual ~CxFile();
  CxFile(const CxFile&) = delete;
  CxFile& operator=(const CxFile&) = delete;

  // szMode is a C library mode text ("ab", "wb", ...). A file already open is
  // closed first. False for a null or empty path or mode, or when it fails.
  bool Open(const char* szPath, const char* szMode);
  // Always true; closing a closed file does nothing.
  bool Close();
  // Writes szText and "\r\n" (a null text writes just the line end). False
  // when the file is not open or the write fails.
  bool WriteLine(const char* szText);

 private:
  FILE* m_pFile;
};

// The size in bytes of the file at szPath, or -1 for a null or empty path or
// a file that cannot be opened for reading. Sizes beyond the 32-bit range are
// reported as INT32_MAX so that callers comparing against a limit still see
// the file as too large.
int32_t GetFileSize(const char* szPath);
