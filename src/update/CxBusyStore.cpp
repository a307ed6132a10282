#include "update/CxBusyStore.h"

#include "common/misc/CxDebugUtil.h"

void CxBusyStore::NoteSave(bool bBusy) {
  m_nInARow = bBusy ? m_nInARow + 1 : 0;
  if (m_nInARow == kSavesBeforeGivingUp)
    QM_LOG(0,
           "The store stayed locked by another program for %d saves in a row: the items left "
           "are not tried.",
           kSavesBeforeGivingUp);
}
