#include "olstore/Item.h"

#include "olstore/Rules.h"

namespace olstore {

const KindRules& RulesFor(ItemKind kind) {
  static const KindRules kNone{};
  switch (kind) {
    case ItemKind::Appointment: return kAppointmentRules;
    case ItemKind::Task: return kTaskRules;
    case ItemKind::Note: return kNoteRules;
    case ItemKind::DistList: return kDistListRules;
    case ItemKind::Contact: break;
  }
  return kNone;
}

const LinkedPut* LinkedPutOf(ItemKind kind, size_t index) {
  for (const LinkedPut& linked : RulesFor(kind).linkedPuts)
    if (linked.index == index) return &linked;
  return nullptr;
}

Value DefaultValue(const PropDef& prop) {
  switch (prop.type) {
    case ValueType::Int: return prop.def;
    case ValueType::Bool: return prop.def != 0;
    case ValueType::Date: return kNoDate;
    case ValueType::Members: return std::string("[]");
    case ValueType::Text: break;
  }
  return std::string();
}

bool HasType(const Value& value, ValueType type) {
  switch (type) {
    case ValueType::Int: return std::holds_alternative<int32_t>(value);
    case ValueType::Bool: return std::holds_alternative<bool>(value);
    case ValueType::Date: return std::holds_alternative<double>(value);
    case ValueType::Text:
    case ValueType::Members: return std::holds_alternative<std::string>(value);
  }
  return false;
}

ItemData NewItem(ItemKind kind) {
  ItemData item;
  item.kind = kind;
  for (const PropDef& prop : item.Info().props) item.values.push_back(DefaultValue(prop));
  return item;
}

std::optional<Value> ComputedValue(const ItemData& item, size_t index) {
  if (item.Info().props[index].stored) return std::nullopt;
  const KindRules& rules = RulesFor(item.kind);
  return rules.get ? rules.get(item, index) : std::nullopt;
}

Value GetValue(const ItemData& item, size_t index) {
  if (std::optional<Value> value = ComputedValue(item, index)) return *value;
  return item.values[index];
}

namespace {

PutStatus CheckValue(const PropDef& prop, const Value& value) {
  if (!HasType(value, prop.type)) return PutStatus::WrongType;
  if (prop.type == ValueType::Int) {
    const int32_t n = std::get<int32_t>(value);
    if (n < prop.lo || n > prop.hi) return PutStatus::OutOfRange;
  }
  if (prop.type == ValueType::Date && !IsValidOleDate(std::get<double>(value)))
    return PutStatus::OutOfRange;
  return PutStatus::Ok;
}

}  // namespace

PutStatus PutValue(ItemData& item, size_t index, const Value& value) {
  const PropDef& prop = item.Info().props[index];
  if (prop.access != Access::ReadWrite) return PutStatus::ReadOnly;
  if (const PutStatus status = CheckValue(prop, value); status != PutStatus::Ok) return status;
  if (const LinkedPut* linked = LinkedPutOf(item.kind, index)) return linked->put(item, value);
  if (!prop.stored) return PutStatus::ReadOnly;  // a computed value without a rule to set it
  item.values[index] = value;
  return PutStatus::Ok;
}

PutStatus SetStoredValue(ItemData& item, size_t index, const Value& value) {
  const PropDef& prop = item.Info().props[index];
  if (!prop.stored) return PutStatus::ReadOnly;
  if (const PutStatus status = CheckValue(prop, value); status != PutStatus::Ok) return status;
  item.values[index] = value;
  return PutStatus::Ok;
}

std::string CheckItem(const ItemData& item) {
  const KindRules& rules = RulesFor(item.kind);
  return rules.check ? rules.check(item) : std::string();
}

}  // namespace olstore
