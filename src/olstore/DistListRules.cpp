// A distribution list keeps its members as a JSON array of {"Name", "Address"}
// objects; automation sees only how many there are.
#include <nlohmann/json.hpp>

#include "olstore/PropertyTables.h"
#include "olstore/Rules.h"

namespace olstore {

namespace {

using tables::IndexOf;
using tables::kDistList;

constexpr size_t kMembers = IndexOf(kDistList, "Members");
constexpr size_t kMemberCount = IndexOf(kDistList, "MemberCount");

std::optional<Value> Get(const ItemData& item, size_t index) {
  if (index != kMemberCount) return std::nullopt;
  const nlohmann::json members = nlohmann::json::parse(item.TextAt(kMembers), nullptr, false);
  return static_cast<int32_t>(members.is_array() ? members.size() : 0);
}

std::string Check(const ItemData& item) {
  const nlohmann::json members = nlohmann::json::parse(item.TextAt(kMembers), nullptr, false);
  if (!members.is_array()) return "Members must be an array";
  for (const nlohmann::json& member : members) {
    if (!member.is_object() || !member.contains("Name") || !member["Name"].is_string())
      return "every member needs a \"Name\" text";
    for (const auto& [key, value] : member.items()) {
      if (key != "Name" && key != "Address") return "a member has no property \"" + key + "\"";
      if (!value.is_string()) return "member property \"" + key + "\" must be a text";
    }
  }
  return {};
}

}  // namespace

const KindRules kDistListRules{Get, {}, Check};

}  // namespace olstore
