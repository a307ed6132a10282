#include "bench/Report.h"

#include <sqlite3.h>
#include <sys/utsname.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <thread>

namespace qmbench {

namespace {

std::string Format(const char* szFormat, double dValue) {
  char szBuf[64];
  std::snprintf(szBuf, sizeof szBuf, szFormat, dValue);
  return szBuf;
}

// The value of the first "key : value" line of a /proc file with that key.
std::string ProcValue(const char* szFile, const std::string& strKey) {
  std::ifstream in(szFile);
  std::string strLine;
  while (std::getline(in, strLine)) {
    if (strLine.compare(0, strKey.size(), strKey) != 0) continue;
    const size_t nColon = strLine.find(':');
    if (nColon == std::string::npos) continue;
    const size_t nStart = strLine.find_first_not_of(" \t", nColon + 1);
    return nStart == std::string::npos ? std::string() : strLine.substr(nStart);
  }
  return "unknown";
}

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace

Stopwatch::Stopwatch() : m_WallStart(Clock::now()), m_dCpuStart(ThreadCpuSeconds()) {}

Elapsed Stopwatch::Read() const { return {SecondsSince(m_WallStart), ThreadCpuSeconds() - m_dCpuStart}; }

Elapsed Median(const std::vector<Elapsed>& values) {
  std::vector<double> wall, cpu;
  for (const Elapsed& value : values) {
    wall.push_back(value.dWall);
    cpu.push_back(value.dCpu);
  }
  return {Median(wall), Median(cpu)};
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

Table::Table(std::string strTitle, std::vector<std::string> columns)
    : m_strTitle(std::move(strTitle)), m_Columns(std::move(columns)) {}

void Table::AddRow(std::vector<std::string> cells) {
  cells.resize(m_Columns.size());
  m_Rows.push_back(std::move(cells));
}

void Table::Print(std::ostream& out) const {
  std::vector<size_t> widths;
  for (const std::string& strColumn : m_Columns) widths.push_back(strColumn.size());
  for (const auto& row : m_Rows)
    for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
  auto printRow = [&](const std::vector<std::string>& cells) {
    out << '|';
    for (size_t i = 0; i < cells.size(); ++i)
      out << ' ' << cells[i] << std::string(widths[i] - cells[i].size(), ' ') << " |";
    out << '\n';
  };
  out << "\n### " << m_strTitle << "\n\n";
  printRow(m_Columns);
  out << '|';
  for (size_t nWidth : widths) out << std::string(nWidth + 2, '-') << '|';
  out << '\n';
  for (const auto& row : m_Rows) printRow(row);
  out.flush();
}

std::string FormatCount(int64_t n) {
  std::string strDigits = std::to_string(n < 0 ? -n : n);
  for (int i = static_cast<int>(strDigits.size()) - 3; i > 0; i -= 3)
    strDigits.insert(static_cast<size_t>(i), ",");
  return n < 0 ? "-" + strDigits : strDigits;
}

std::string FormatSeconds(double dSeconds) {
  if (dSeconds >= 1) return Format("%.3f s", dSeconds);
  if (dSeconds >= 1e-3) return Format("%.1f ms", dSeconds * 1e3);
  return Format("%.1f us", dSeconds * 1e6);
}

std::string FormatPerItem(double dSeconds, int64_t nItems) {
  return nItems > 0 ? FormatSeconds(dSeconds / static_cast<double>(nItems)) : "-";
}

std::string FormatRatio(double dRatio) { return Format("%.2fx", dRatio); }

std::string FormatMiB(double dBytes) { return Format("%.1f MiB", dBytes / (1024.0 * 1024.0)); }

std::string Verdict(double dFigure, double dLimit) { return dFigure <= dLimit ? "met" : "MISSED"; }

std::vector<std::string> DescribeMachine() {
  utsname name{};
  uname(&name);
  const std::string strMemory = ProcValue("/proc/meminfo", "MemTotal");
  return {
      "CPU: " + ProcValue("/proc/cpuinfo", "model name") + ", " +
          std::to_string(std::thread::hardware_concurrency()) + " cores",
      "Memory: " + strMemory,
      std::string("Kernel: ") + name.sysname + " " + name.release + " " + name.machine,
      std::string("SQLite: ") + sqlite3_libversion(),
      std::string("Compiler: ") + __VERSION__ + ", build type " + QMBENCH_BUILD_TYPE,
  };
}

}  // namespace qmbench
