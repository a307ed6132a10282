// Entry IDs and store IDs: long upper-case hex texts, as Outlook's are.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace olstore {

// A generator seeded from the system's entropy, for IDs that must not repeat.
std::mt19937_64 MakeRandomEngine();

std::string NewEntryId(std::mt19937_64& engine);
std::string NewStoreId(std::mt19937_64& engine);

// The ID in upper case when it is a well-formed hex ID (whole bytes, at most
// 1024 digits); nullopt otherwise.
std::optional<std::string> NormalizeId(std::string_view id);
// Whether NormalizeId would take the ID, without making the copy.
bool IsWellFormedId(std::string_view id);

}  // namespace olstore
