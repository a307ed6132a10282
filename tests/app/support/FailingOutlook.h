// An "Outlook.Application" that is registered but cannot be started: every
// attempt to create it fails, as when Outlook is installed but broken.
#pragma once

#include "platform/win32.h"

class FailingOutlook {
 public:
  FailingOutlook();  // registers it
  ~FailingOutlook();  // and takes it away again
  FailingOutlook(const FailingOutlook&) = delete;
  FailingOutlook& operator=(const FailingOutlook&) = delete;

  bool IsRegistered() const { return m_bRegistered; }
  // How many times something tried to create it.
  int Attempts() const;

 private:
  DWORD m_dwCookie;
  bool m_bRegistered;
};
