// Peak resident memory after the accessor has read a folder, measured in a
// child process per kind and size so that no peak is left over from another;
// the same read's time there is what a fresh program pays, page faults and all.
#pragma once

#include <cstdint>
#include <string>

#include "bench/Report.h"

namespace qmbench {

struct MemoryFigures {
  int64_t nItems = 0;
  double dPeakBytes = 0;  // VmHWM
  double dOwnBytes = 0;   // nItems x (image + record)
  Elapsed Read;           // the read itself, in a process that starts with no memory to reuse
};

// Runs the memory child on the store for that kind.
bool MeasureMemory(const std::string& strKind, const std::string& strStore, MemoryFigures& figures,
                   std::string& strError);

// The child: reads the kind's folders of the store through the accessor and
// writes the item count, the own size of the records and images, and VmHWM.
int RunMemoryChild(const std::string& strKind, const std::string& strStore);

}  // namespace qmbench
