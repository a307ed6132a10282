// CxUtf8: UTF-8 for what leaves the program as text of its own (the run
// journal, reports): automation strings and ANSI program texts converted
// without loss, whatever the system's code page.
#pragma once

#include <string>

#include "platform/win32.h"

typedef std::basic_string<OLECHAR> OleString;

// nUnits UTF-16 units (an automation string may hold zeros) as UTF-8.
std::string OleToUtf8(const OLECHAR* szText, size_t nUnits);
// A UTF-8 text as UTF-16; invalid bytes become U+FFFD.
OleString Utf8ToOle(const std::string& strText);
// A text in the system's ANSI code page as UTF-8.
std::string AnsiToUtf8(const std::string& strText);
