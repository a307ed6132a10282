// A note has no subject of its own: Outlook shows the first line of its body.
#include "olstore/PropertyTables.h"
#include "olstore/Rules.h"

namespace olstore {

namespace {

using tables::IndexOf;
using tables::kNote;

constexpr size_t kSubject = IndexOf(kNote, "Subject");
constexpr size_t kBody = IndexOf(kNote, "Body");

std::optional<Value> Get(const ItemData& item, size_t index) {
  if (index != kSubject) return std::nullopt;
  const std::string& body = item.TextAt(kBody);
  return body.substr(0, body.find_first_of("\r\n"));
}

}  // namespace

const KindRules kNoteRules{Get, {}, nullptr};

}  // namespace olstore
