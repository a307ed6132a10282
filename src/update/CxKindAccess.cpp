#include "update/CxKindAccess.h"

#include <type_traits>

#include "common/outlook/OlAddr.h"
#include "common/outlook/OlDate.h"
#include "common/outlook/OlNote.h"
#include "common/outlook/OlTask.h"
#include "update/Qmoladdr.h"
#include "update/Qmoldate.h"
#include "update/Qmolnote.h"
#include "update/Qmoltask.h"

namespace {

template <typename TAccessor, typename TApplier>
class CxKindAccessOf final : public CxKindAccess {
 public:
  explicit CxKindAccessOf(int32_t nMode) {
    m_Applier.SetAccessor(&m_Accessor);
    const CxQMOLAddrUtil* pAddr = nullptr;
    const CxQMOLDateUtil* pDate = nullptr;
    const CxQMOLTaskUtil* pTask = nullptr;
    const CxQMOLNoteUtil* pNote = nullptr;
    if constexpr (std::is_same_v<TApplier, CxQMOLAddrUtil>) pAddr = &m_Applier;
    if constexpr (std::is_same_v<TApplier, CxQMOLDateUtil>) pDate = &m_Applier;
    if constexpr (std::is_same_v<TApplier, CxQMOLTaskUtil>) pTask = &m_Applier;
    if constexpr (std::is_same_v<TApplier, CxQMOLNoteUtil>) pNote = &m_Applier;
    m_pKind = MakeItemKind(nMode, pAddr, pDate, pTask, pNote);
  }
  // The records point into the accessor's container: the list goes first.
  ~CxKindAccessOf() override { m_Records.RemoveAll(false); }

  OlBaseUtil& Accessor() override { return m_Accessor; }
  bool Read(bool bSubfolders) override {
    m_Records.RemoveAll(false);
    m_Accessor.SetIncludeSubfolders(bSubfolders);
    const bool bRead = m_Accessor.ReadItems();
    auto* pContainer = m_Accessor.GetContainer();
    if (!pContainer) return false;
    for (auto* pRecord = pContainer->First(); pRecord; pRecord = pContainer->Next())
      m_Records.Add(pRecord);
    return bRead;
  }

 private:
  TAccessor m_Accessor;
  TApplier m_Applier;
};

}  // namespace

std::unique_ptr<CxKindAccess> CxKindAccess::Open(int32_t nMode) {
  switch (nMode) {
    case 1:
      return std::make_unique<CxKindAccessOf<OlAddrUtil, CxQMOLAddrUtil>>(nMode);
    case 2:
      return std::make_unique<CxKindAccessOf<OlDateUtil, CxQMOLDateUtil>>(nMode);
    case 4:
      return std::make_unique<CxKindAccessOf<OlTaskUtil, CxQMOLTaskUtil>>(nMode);
    case 8:
      return std::make_unique<CxKindAccessOf<OlNoteUtil, CxQMOLNoteUtil>>(nMode);
    default:
      return nullptr;
  }
}

bool CxKindAccess::IsConnected() const {
  return const_cast<CxKindAccess*>(this)->Accessor().IsConnected();
}
