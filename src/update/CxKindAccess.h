// CxKindAccess: one kind's accessor with its applier bound to it and the
// kind's description, and the display records of a read of its default
// folder: what a front end that is not the wizard (the batch tool, the undo
// of a past run) needs to reach the items of a kind.
#pragma once

#include <cstdint>
#include <memory>

#include "common/misc/CxList.h"
#include "update/CxItemKind.h"

class OlBaseUtil;

class CxKindAccess {
 public:
  // Connects to Outlook through a new accessor of the mode's kind (joining the
  // connection when it is up); none for a mode that is not a kind.
  static std::unique_ptr<CxKindAccess> Open(int32_t nMode);
  virtual ~CxKindAccess() = default;

  bool IsConnected() const;
  virtual OlBaseUtil& Accessor() = 0;
  const CxItemKind& Kind() const { return *m_pKind; }

  // Reads the default folder (and with bSubfolders its subfolders) into the
  // records; false when the read fails or stops early (the accessor's
  // GetReadFailure() says why), with the records read before it stopped.
  virtual bool Read(bool bSubfolders) = 0;
  // The display records of the last read, in folder order; not owned.
  CxList* Records() { return &m_Records; }

 protected:
  std::unique_ptr<CxItemKind> m_pKind;
  CxList m_Records;
};
