// What every accessor test needs around it: COM initialised on the thread and
// the debug log written, at every level, into a fresh folder the test can read.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/misc/CxDebugUtil.h"
#include "platform/win32.h"
#include "support/TempFolder.h"

struct LogLine {
  bool bCritical;  // written with the level-0 marker
  std::string strMessage;
};

class OutlookTestEnv {
 public:
  OutlookTestEnv() {
    CoInitialize(nullptr);
    g_DebugUtil.SetLogFolder(m_temp.Folder().c_str());
    g_DebugUtil.EnableLog(true);
    g_DebugUtil.SetLogLevel(3);
  }
  ~OutlookTestEnv() {
    g_DebugUtil.EnableLog(false);
    g_DebugUtil.SetLogLevel(0);
    g_DebugUtil.SetLogFolder("./");
    CoUninitialize();
  }

  const TempFolder& Temp() const { return m_temp; }

  // The log's lines so far, without date, source and thread.
  std::vector<LogLine> Log() const {
    std::vector<LogLine> lines;
    const std::string strText = ReadWholeFile(m_temp.File("appdebug.log"));
    size_t nStart = 0;
    while (nStart < strText.size()) {
      size_t nEnd = strText.find("\r\n", nStart);
      if (nEnd == std::string::npos) nEnd = strText.size();
      const std::string strLine = strText.substr(nStart, nEnd - nStart);
      const size_t nMessage = strLine.find("] - ");
      if (nMessage != std::string::npos) {
        lines.push_back({strLine.find("[!!!]") != std::string::npos, strLine.substr(nMessage + 4)});
      }
      nStart = nEnd + 2;
    }
    return lines;
  }
  // How often a message was logged, and at which level marker.
  int Count(const std::string& strMessage, bool bCritical) const {
    int n = 0;
    for (const LogLine& line : Log())
      n += line.strMessage == strMessage && line.bCritical == bCritical;
    return n;
  }
  void ClearLog() const { WriteWholeFile(m_temp.File("appdebug.log"), ""); }

 private:
  TempFolder m_temp;
};
