// Per-kind rules behind computed properties and linked puts.
#pragma once

#include <optional>
#include <string>

#include "olstore/Item.h"

namespace olstore {

struct KindRules {
  // A computed property's value; nullopt for a stored one.
  std::optional<Value> (*get)(const ItemData& item, size_t index) = nullptr;
  // Handles a put that affects more than the one value; nullopt leaves the
  // plain assignment to the caller.
  std::optional<PutStatus> (*put)(ItemData& item, size_t index, const Value& value) = nullptr;
  // Consistency of a whole item; empty when fine.
  std::string (*check)(const ItemData& item) = nullptr;
};

extern const KindRules kAppointmentRules;
extern const KindRules kTaskRules;
extern const KindRules kNoteRules;
extern const KindRules kDistListRules;

const KindRules& RulesFor(ItemKind kind);

// Appointment helpers shared with the item operations.
void ResetPatternFor(ItemData& item, int32_t recurrenceType);

}  // namespace olstore
