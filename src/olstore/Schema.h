// The database layout, versioned with PRAGMA user_version. Each migration
// brings a store from the version before it to its own, in one transaction.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace olstore {

// PRAGMA application_id of every store: "OLST".
constexpr int32_t kApplicationId = 0x4F4C5354;

struct Migration {
  int version;
  std::string_view sql;
};

// In ascending order; the last one's version is the current schema version.
std::span<const Migration> Migrations();
int CurrentSchemaVersion();

}  // namespace olstore
