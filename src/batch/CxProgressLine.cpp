#include "batch/CxProgressLine.h"

namespace {

constexpr size_t kLogEvery = 1000;
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

}  // namespace

CxProgressLine::CxProgressLine(FILE* pOut, size_t nTotal, bool bTerminal)
    : m_pOut(pOut),
      m_nTotal(nTotal),
      m_nDone(0),
      m_bTerminal(bTerminal),
      m_tStart(std::chrono::steady_clock::now()),
      m_tDrawn() {}

void CxProgressLine::Step() {
  ++m_nDone;
  if (!m_bTerminal) {
    if (m_nDone % kLogEvery == 0) fprintf(m_pOut, "%zu of %zu items\n", m_nDone, m_nTotal);
    return;
  }
  const auto tNow = std::chrono::steady_clock::now();
  if (tNow - m_tDrawn >= kRedrawEvery || m_nDone == m_nTotal) {
    m_tDrawn = tNow;
    Draw();
  }
}

void CxProgressLine::Draw() {
  const double dSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - m_tStart).count();
  const double dRate = dSeconds > 0 ? m_nDone / dSeconds : 0;
  const long nLeft = dRate > 0 ? static_cast<long>((m_nTotal - m_nDone) / dRate + 0.5) : 0;
  constexpr int kWidth = 30;
  const int nFilled = m_nTotal ? static_cast<int>(kWidth * m_nDone / m_nTotal) : kWidth;
  char szBar[kWidth + 1];
  for (int n = 0; n < kWidth; ++n) szBar[n] = n < nFilled ? '#' : '.';
  szBar[kWidth] = '\0';
  fprintf(m_pOut, "\r[%s] %zu/%zu items  %.0f/s  %ld:%02ld left ", szBar, m_nDone, m_nTotal, dRate,
          nLeft / 60, nLeft % 60);
  fflush(m_pOut);
}

void CxProgressLine::Finish() {
  if (m_bTerminal && m_nDone > 0) fputc('\n', m_pOut);
}
