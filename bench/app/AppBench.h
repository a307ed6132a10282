// The measurements that drive the wizard's own windows, off screen.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "bench/Report.h"

class OlAddrUtil;
class QApplication;

namespace qmbench {

// The application object the windows need, on the off-screen platform and
// with the program's style sheet. One at a time.
class OffscreenGui {
 public:
  OffscreenGui();
  ~OffscreenGui();
  OffscreenGui(const OffscreenGui&) = delete;
  OffscreenGui& operator=(const OffscreenGui&) = delete;

 private:
  std::unique_ptr<QApplication> m_pApp;
};

struct ListFigures {
  int64_t nRows = 0;
  Elapsed Fill;         // medians of the fills
  double dShown = 0;    // median wall time of fill, show and the list's first paint
};

// Fills the contact selection page (UpdateData(false)) from the accessor's
// records nReps times, as the wizard does on entering the page. Needs a
// OffscreenGui.
bool MeasureContactList(OlAddrUtil* pAccessor, int nReps, ListFigures& figures,
                        std::string& strError);

struct StartupFigures {
  int nRuns = 0;
  double dProcess = 0;  // median: process start to page 0 painted
  double dInMain = 0;   // median: main() entered to page 0 painted
  double dBest = 0;     // fastest process start to page 0 painted
};

// Starts this program nRuns times in its start-up mode, each a fresh process
// with its own empty settings folder, and times it from the moment before the
// process is created to page 0's first paint.
bool MeasureStartup(int nRuns, StartupFigures& figures, std::string& strError);

// The start-up mode: the program's own start (application object, style,
// COM, the local store's registration, the main window) until page 0 is
// painted; writes the times and exits.
int RunStartupChild(int argc, char** argv, int64_t nMainNanos);

}  // namespace qmbench
