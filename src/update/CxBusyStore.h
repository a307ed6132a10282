// CxBusyStore: watches a run's saves for a store that another program holds
// locked. Each such save waits a while before it fails; past a few in a row
// the lock is not going away, and waiting on every item left would only add
// up, so the run stops trying and says why for each item it did not try.
#pragma once

class CxBusyStore {
 public:
  // The reason given for every item not tried once the run gave up.
  static constexpr char kNotTried[] = "not tried: the store is locked by another program";

  // Notes one save's outcome: bBusy when it failed on the lock.
  void NoteSave(bool bBusy);
  // Whether the run should try no more saves.
  bool GivenUp() const { return m_nInARow >= kSavesBeforeGivingUp; }
  void Reset() { m_nInARow = 0; }

 private:
  static constexpr int kSavesBeforeGivingUp = 3;
  int m_nInARow = 0;  // saves in a row that found the store locked
};
