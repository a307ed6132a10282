// Texts crossing between Qt and the program. The program's own texts (record
// fields, settings, paths, what it hands to the system) are in the system's
// ANSI code page, which is UTF-8 without Windows; Qt's are UTF-16.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

// The program text at szText: up to its terminating zero, but never more than
// nMaxBytes bytes (so a fixed-size field without its zero is read no further
// than itself). A null text is empty. A byte sequence that is not a character
// of the code page becomes U+FFFD.
QString FromProgramText(const char* szText, size_t nMaxBytes = SIZE_MAX);

// The text of a fixed-size record field.
template <size_t N>
QString FieldText(const char (&szField)[N]) {
  return FromProgramText(szField, N);
}

// strText as program text, zero-terminated. What the code page cannot hold is
// replaced as the system replaces it: an unpaired surrogate by '?', and on
// Windows a character outside the code page by a look-alike or by '?'.
QByteArray ToProgramText(const QString& strText);

// "1,200": a count with its digits grouped as the program's English texts
// group them, whatever the user's locale.
QString NumberText(size_t nCount);
// "1 item", "1,200 items": the count with its noun.
QString CountText(size_t nCount, const char* szOne, const char* szMany);
