// Per-kind rules behind computed properties and linked puts.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "olstore/Item.h"

namespace olstore {

// A put that reads or changes more than the one value (a new Start moves End).
// value is of the property's type.
struct LinkedPut {
  size_t index;
  PutStatus (*put)(ItemData& item, const Value& value);
};

struct KindRules {
  // A computed property's value; nullopt for a stored one.
  std::optional<Value> (*get)(const ItemData& item, size_t index) = nullptr;
  // The properties whose puts are linked; every other put is a plain assignment.
  std::span<const LinkedPut> linkedPuts;
  // Consistency of a whole item; empty when fine.
  std::string (*check)(const ItemData& item) = nullptr;
};

extern const KindRules kAppointmentRules;
extern const KindRules kTaskRules;
extern const KindRules kNoteRules;
extern const KindRules kDistListRules;

const KindRules& RulesFor(ItemKind kind);
// The linked put of the kind's property; null for a plain assignment.
const LinkedPut* LinkedPutOf(ItemKind kind, size_t index);

// Appointment helpers shared with the item operations.
void ResetPatternFor(ItemData& item, int32_t recurrenceType);

}  // namespace olstore
