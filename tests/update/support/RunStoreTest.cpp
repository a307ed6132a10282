#include "update/support/RunStoreTest.h"

#include <sstream>

#include "olstore/Exchange.h"

std::unique_ptr<CxKindAccess> OpenKind(int32_t nMode) {
  std::unique_ptr<CxKindAccess> pAccess = CxKindAccess::Open(nMode);
  EXPECT_TRUE(pAccess && pAccess->Read(false));
  return pAccess;
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
