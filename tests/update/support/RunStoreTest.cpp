#include "update/support/RunStoreTest.h"

#include <sstream>
#include <type_traits>

#include "common/outlook/OlAddr.h"
#include "common/outlook/OlDate.h"
#include "common/outlook/OlNote.h"
#include "common/outlook/OlTask.h"
#include "olstore/Exchange.h"
#include "update/Qmoladdr.h"
#include "update/Qmoldate.h"
#include "update/Qmolnote.h"
#include "update/Qmoltask.h"

namespace {

template <typename TAccessor, typename TApplier>
class KindSessionOf final : public KindSession {
 public:
  explicit KindSessionOf(int32_t nMode) {
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
  ~KindSessionOf() override { m_Records.RemoveAll(false); }

  OlBaseUtil& Accessor() override { return m_Accessor; }
  bool Read() override {
    m_Records.RemoveAll(false);
    if (!m_Accessor.ReadItems()) return false;
    auto* pContainer = m_Accessor.GetContainer();
    for (auto* pRecord = pContainer->First(); pRecord; pRecord = pContainer->Next())
      m_Records.Add(pRecord);
    return true;
  }

 private:
  TAccessor m_Accessor;
  TApplier m_Applier;
};

}  // namespace

std::unique_ptr<KindSession> OpenSession(int32_t nMode) {
  std::unique_ptr<KindSession> pSession;
  switch (nMode) {
    case 1:
      pSession = std::make_unique<KindSessionOf<OlAddrUtil, CxQMOLAddrUtil>>(nMode);
      break;
    case 2:
      pSession = std::make_unique<KindSessionOf<OlDateUtil, CxQMOLDateUtil>>(nMode);
      break;
    case 4:
      pSession = std::make_unique<KindSessionOf<OlTaskUtil, CxQMOLTaskUtil>>(nMode);
      break;
    case 8:
      pSession = std::make_unique<KindSessionOf<OlNoteUtil, CxQMOLNoteUtil>>(nMode);
      break;
    default:
      return nullptr;
  }
  EXPECT_TRUE(pSession->Read());
  return pSession;
}

void RunStoreTest::SetUp() {
  StoreOutlookTest::SetUp();
  m_strJournal = m_env.Temp().File("journal.db");
  std::string strError;
  ASSERT_TRUE(m_Journal.Open(m_strJournal, &strError)) << strError;
}

void RunStoreTest::TearDown() {
  m_Journal.Close();
  StoreOutlookTest::TearDown();
}

nlohmann::json RunStoreTest::Export() {
  std::ostringstream out;
  std::string strError;
  EXPECT_TRUE(olstore::ExportJson(Store(), out, strError)) << strError;
  return nlohmann::json::parse(out.str());
}

nlohmann::json RunStoreTest::WithoutModificationTimes(nlohmann::json document) {
  if (document.is_object()) {
    document.erase("LastModificationTime");
    for (auto& [strKey, value] : document.items()) value = WithoutModificationTimes(value);
  } else if (document.is_array()) {
    for (auto& value : document) value = WithoutModificationTimes(value);
  }
  return document;
}
