#include "olstore/Ids.h"

namespace olstore {

namespace {

// Every ID of this store starts with a zero flag word and the provider's UID,
// the way MAPI entry IDs name the store provider that made them.
constexpr std::string_view kFlags = "00000000";
constexpr std::string_view kProviderUid = "4F4C53544F52450A9E1C3B7D52A06F18";
constexpr size_t kEntryRandomDigits = 48;
// Store IDs are long on purpose: callers must not assume they fit 256 characters.
constexpr size_t kStoreRandomDigits = 280;
constexpr size_t kMaxIdDigits = 1024;

void AppendRandomHex(std::string& out, std::mt19937_64& engine, size_t digits) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  while (digits > 0) {
    uint64_t bits = engine();
    for (int i = 0; i < 16 && digits > 0; ++i, --digits, bits >>= 4) out.push_back(kHex[bits & 0xF]);
  }
}

}  // namespace

std::mt19937_64 MakeRandomEngine() {
  std::random_device device;
  std::seed_seq seq{device(), device(), device(), device()};
  return std::mt19937_64(seq);
}

std::string NewEntryId(std::mt19937_64& engine) {
  std::string id;
  id.reserve(kFlags.size() + kProviderUid.size() + kEntryRandomDigits);
  id.append(kFlags).append(kProviderUid);
  AppendRandomHex(id, engine, kEntryRandomDigits);
  return id;
}

std::string NewStoreId(std::mt19937_64& engine) {
  std::string id;
  id.append(kFlags).append(kProviderUid).append("0000");
  AppendRandomHex(id, engine, kStoreRandomDigits);
  return id;
}

bool IsWellFormedId(std::string_view id) {
  if (id.empty() || id.size() % 2 != 0 || id.size() > kMaxIdDigits) return false;
  for (const char ch : id)
    if (!((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F') || (ch >= 'a' && ch <= 'f')))
      return false;
  return true;
}

std::optional<std::string> NormalizeId(std::string_view id) {
  if (!IsWellFormedId(id)) return std::nullopt;
  std::string out(id);
  for (char& ch : out)
    if (ch >= 'a' && ch <= 'f') ch = static_cast<char>(ch - 'a' + 'A');
  return out;
}

}  // namespace olstore
