// The product's public face: its name, web page and support address. Kept in
// one place so the windows, the error report and the user guide agree.
#pragma once

inline constexpr const char kProductName[] = "Quillmere for Outlook";
inline constexpr const char kProductWebPage[] = "https://quillmere.example/";
inline constexpr const char kSupportAddress[] = "support@quillmere.example";
inline constexpr const char kBugReportSubject[] = "Quillmere for Outlook Bug Report";
// The user guide, shipped next to the executable.
inline constexpr const char kGuideFileName[] = "quillmere-guide.html";

#include "common/misc/WinUtil.h"

inline void OpenProductWebPage() { ShellOpen(kProductWebPage); }
