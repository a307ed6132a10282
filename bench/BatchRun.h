// The batch tool as a user runs it: one process that reads the contacts,
// previews, journals and saves one changed field of each, timed against the
// plain SQLite read and one-transaction-per-item save of the same field on the
// same store.
#pragma once

#include <cstdint>
#include <string>

#include "bench/Report.h"

namespace qmbench {

struct BatchFigures {
  int64_t nItems = 0;    // contacts the baseline read and saved
  int64_t nWritten = 0;  // fewest contacts holding the batch tool's value after a pass
  Elapsed Batch;         // the whole process; its CPU time is the child's own
  Elapsed BaselineRead;  // medians
  Elapsed BaselineSave;
};

// nReps passes on the store (which they change), each setting a new job title
// on every contact, subfolders included; the batch tool and the baseline take
// turns at going first. The tool's data folder (journal, reports) is made in
// strWorkFolder, so the journal lies on the same medium as the store.
bool MeasureBatch(const std::string& strStore, const std::string& strWorkFolder, int nReps,
                  BatchFigures& figures, std::string& strError);

}  // namespace qmbench
