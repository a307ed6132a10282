// Tasks keep Complete, Status, PercentComplete and DateCompleted in step, the
// way Outlook does: one of them marking the task complete marks all of them.
#include "olstore/PropertyTables.h"
#include "olstore/Rules.h"

namespace olstore {

namespace {

using tables::IndexOf;
using tables::kTask;

constexpr size_t kComplete = IndexOf(kTask, "Complete");
constexpr size_t kStatus = IndexOf(kTask, "Status");
constexpr size_t kPercent = IndexOf(kTask, "PercentComplete");
constexpr size_t kDateCompleted = IndexOf(kTask, "DateCompleted");

// OlTaskStatus
constexpr int32_t kNotStarted = 0;
constexpr int32_t kInProgress = 1;
constexpr int32_t kCompleted = 2;

bool IsComplete(const ItemData& item) { return item.IntAt(kStatus) == kCompleted; }

void MarkComplete(ItemData& item, double completedOn) {
  item.values[kStatus] = kCompleted;
  item.values[kPercent] = 100;
  if (!IsNoDate(completedOn)) {
    item.values[kDateCompleted] = completedOn;
  } else if (IsNoDate(item.DateAt(kDateCompleted))) {
    item.values[kDateCompleted] = static_cast<double>(OleDay(OleNow()));
  }
}

// Leaves the completed state for status, with percent as the work done.
void Reopen(ItemData& item, int32_t status, int32_t percent) {
  item.values[kStatus] = status;
  item.values[kPercent] = percent;
  item.values[kDateCompleted] = kNoDate;
}

std::optional<Value> Get(const ItemData& item, size_t index) {
  if (index == kComplete) return IsComplete(item);
  return std::nullopt;
}

PutStatus SetComplete(ItemData& item, bool complete) {
  if (complete) MarkComplete(item, kNoDate);
  else if (IsComplete(item)) Reopen(item, kInProgress, 0);
  return PutStatus::Ok;
}

PutStatus SetStatus(ItemData& item, int32_t status) {
  if (status == kCompleted) {
    MarkComplete(item, kNoDate);
  } else if (IsComplete(item) || status == kNotStarted) {
    Reopen(item, status, 0);
  } else {
    item.values[kStatus] = status;
  }
  return PutStatus::Ok;
}

PutStatus SetPercent(ItemData& item, int32_t percent) {
  if (percent == 100) {
    MarkComplete(item, kNoDate);
  } else if (IsComplete(item)) {
    Reopen(item, percent > 0 ? kInProgress : kNotStarted, percent);
  } else {
    item.values[kPercent] = percent;
    if (percent > 0 && item.IntAt(kStatus) == kNotStarted) item.values[kStatus] = kInProgress;
  }
  return PutStatus::Ok;
}

PutStatus SetDateCompleted(ItemData& item, double date) {
  if (!IsNoDate(date)) MarkComplete(item, date);
  else if (IsComplete(item)) Reopen(item, kInProgress, 0);
  return PutStatus::Ok;
}

constexpr LinkedPut kLinkedPuts[] = {
    {kComplete, [](ItemData& item, const Value& v) { return SetComplete(item, std::get<bool>(v)); }},
    {kStatus, [](ItemData& item, const Value& v) { return SetStatus(item, std::get<int32_t>(v)); }},
    {kPercent, [](ItemData& item, const Value& v) { return SetPercent(item, std::get<int32_t>(v)); }},
    {kDateCompleted,
     [](ItemData& item, const Value& v) { return SetDateCompleted(item, std::get<double>(v)); }},
};

std::string Check(const ItemData& item) {
  if (IsComplete(item) != (item.IntAt(kPercent) == 100))
    return "Status 2 (complete) and PercentComplete 100 go together";
  return {};
}

}  // namespace

const KindRules kTaskRules{Get, kLinkedPuts, Check};

}  // namespace olstore
