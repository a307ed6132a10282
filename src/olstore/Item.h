// One item's property values in memory, and the rules that keep related
// properties consistent when one of them changes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "olstore/Kinds.h"
#include "olstore/OleDate.h"

namespace olstore {

// Text and Members hold std::string, Int int32_t, Bool bool, Date double.
using Value = std::variant<std::string, int32_t, bool, double>;

enum class PutStatus : uint8_t {
  Ok,
  ReadOnly,    // the property cannot be put
  WrongType,   // the value is not of the property's type
  OutOfRange,  // Outlook would refuse the value
};

struct ItemData {
  ItemKind kind = ItemKind::Contact;
  int64_t id = 0;  // row in the store; 0 until stored
  int64_t folderId = 0;
  std::string entryId;
  double created = kNoDate;
  double modified = kNoDate;
  std::vector<Value> values;  // one per property of the kind, computed ones unused

  const KindInfo& Info() const { return olstore::Kind(kind); }
  const std::string& TextAt(size_t index) const { return std::get<std::string>(values[index]); }
  int32_t IntAt(size_t index) const { return std::get<int32_t>(values[index]); }
  bool BoolAt(size_t index) const { return std::get<bool>(values[index]); }
  double DateAt(size_t index) const { return std::get<double>(values[index]); }
};

Value DefaultValue(const PropDef& prop);
bool HasType(const Value& value, ValueType type);

// A new item of the kind with every property at its default.
ItemData NewItem(ItemKind kind);

// What automation reads: stored values as kept, computed ones derived.
Value GetValue(const ItemData& item, size_t index);
// A computed property's value; none for one read as stored (item.values[index]).
std::optional<Value> ComputedValue(const ItemData& item, size_t index);

// A put through automation: refuses read-only properties, values of another
// type and values Outlook would refuse, then applies the kind's rules (an
// appointment's new Start moves its End, a completed task reaches 100 %...).
PutStatus PutValue(ItemData& item, size_t index, const Value& value);

// A stored value as it comes from an exchange file: type and range are
// checked, nothing else changes. CheckItem then judges the whole item.
PutStatus SetStoredValue(ItemData& item, size_t index, const Value& value);

// Empty when the item's values fit together; else what is wrong.
std::string CheckItem(const ItemData& item);

// Appointments: GetRecurrencePattern makes an item recurring (weekly on the
// start's weekday, every week, no end), ClearRecurrencePattern undoes it.
void MakeRecurring(ItemData& item);
void ClearRecurrence(ItemData& item);

}  // namespace olstore
