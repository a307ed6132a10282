// Realistic demo data: people with addresses in several scripts, distribution
// lists, meetings with every kind of recurrence, tasks in every state, notes,
// long bodies, and subfolders two levels deep for every kind. The same seed
// and date give the same data.
#pragma once

#include <cstdint>
#include <string>

#include "olstore/Store.h"

namespace olstore {

struct SeedOptions {
  int64_t contacts = 200;
  int64_t distLists = -1;  // -1: one per 50 contacts, at least one when there are contacts
  int64_t appointments = 100;
  int64_t tasks = 100;
  int64_t notes = 50;
  uint64_t seed = 1;
  double today = 0;  // the day the data is built around; 0: today
};

struct SeedCounts {
  int64_t contacts = 0, distLists = 0, appointments = 0, tasks = 0, notes = 0;
};

// Adds the demo data in one transaction; false (nothing added) on failure.
bool SeedStore(Store& store, const SeedOptions& options, SeedCounts& counts, std::string& error);

}  // namespace olstore
