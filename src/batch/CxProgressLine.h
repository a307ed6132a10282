// CxProgressLine: how far a batch run is, on standard error. On a terminal one
// line redrawn in place (items done of how many, the rate, the time left);
// otherwise, for logs, a line per thousand items.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>

class CxProgressLine {
 public:
  CxProgressLine(FILE* pOut, size_t nTotal, bool bTerminal);
  // One more item is done.
  void Step();
  // Ends the line on a terminal.
  void Finish();

 private:
  void Draw();

  FILE* m_pOut;
  size_t m_nTotal;
  size_t m_nDone;
  bool m_bTerminal;
  std::chrono::steady_clock::time_point m_tStart;
  std::chrono::steady_clock::time_point m_tDrawn;
};
