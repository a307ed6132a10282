// The report: Markdown tables (so a run can be pasted into the performance
// notes as it is), the formats of its figures, and the machine it ran on.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace qmbench {

using Clock = std::chrono::steady_clock;

inline double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Wall-clock time and this thread's CPU time. The machine is shared, so wall
// time also holds other programs' turns on the cores; CPU time does not.
struct Elapsed {
  double dWall = 0;
  double dCpu = 0;
};

class Stopwatch {
 public:
  Stopwatch();
  Elapsed Read() const;

 private:
  Clock::time_point m_WallStart;
  double m_dCpuStart;
};

// The middle of the figures (the mean of the middle two for an even count).
double Median(std::vector<double> values);
// The medians of the wall and of the CPU times, each on its own.
Elapsed Median(const std::vector<Elapsed>& values);

class Table {
 public:
  Table(std::string strTitle, std::vector<std::string> columns);
  void AddRow(std::vector<std::string> cells);
  void Print(std::ostream& out) const;
  bool Empty() const { return m_Rows.empty(); }

 private:
  std::string m_strTitle;
  std::vector<std::string> m_Columns;
  std::vector<std::vector<std::string>> m_Rows;
};

std::string FormatCount(int64_t n);               // 100,000
std::string FormatSeconds(double dSeconds);       // 1.234 s, 12.3 ms, 45.6 us
std::string FormatPerItem(double dSeconds, int64_t nItems);
std::string FormatRatio(double dRatio);           // 2.41x
std::string FormatMiB(double dBytes);             // 123.4 MiB
// "met" or "MISSED", against a limit the figure must stay at or under.
std::string Verdict(double dFigure, double dLimit);

// CPU, cores, memory, kernel, SQLite and compiler, one line each.
std::vector<std::string> DescribeMachine();

}  // namespace qmbench
