// Reading all four kinds through the store's out-of-process server: every
// value crosses the process boundary in a VARIANT through Wine's standard
// IDispatch proxy, and the images must come out exactly as they do when the
// store answers in this process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/misc/CxMessageFilter.h"
#include "common/outlook/OlAddr.h"
#include "common/outlook/OlDate.h"
#include "common/outlook/OlNote.h"
#include "common/outlook/OlTask.h"
#include "windows/support/RemoteStoreTest.h"
#include "windows/support/ServerProcess.h"

namespace {

typedef std::vector<std::string> Images;

// Every image the accessor reads, subfolders included, as bytes.
template <typename TUtil>
Images ReadImages() {
  TUtil util;
  EXPECT_TRUE(util.IsConnected());
  util.SetIncludeSubfolders(true);
  EXPECT_TRUE(util.ReadItems());
  Images images;
  for (auto* pRecord = util.GetContainer()->First(); pRecord;
       pRecord = util.GetContainer()->Next()) {
    EXPECT_TRUE(pRecord->Image);
    if (pRecord->Image)
      images.emplace_back(reinterpret_cast<const char*>(pRecord->Image), pRecord->ImageSize);
  }
  return images;
}

struct AllKinds {
  Images contacts, calendar, tasks, notes;
};

AllKinds ReadAllKinds() {
  return {ReadImages<OlAddrUtil>(), ReadImages<OlDateUtil>(), ReadImages<OlTaskUtil>(),
          ReadImages<OlNoteUtil>()};
}

class RemoteReadTest : public RemoteStoreTest {};

TEST_F(RemoteReadTest, EveryKindReadsAsInProcess) {
  const AllKinds local = ReadAllKinds();
  ASSERT_FALSE(local.contacts.empty());
  ASSERT_FALSE(local.calendar.empty());
  ASSERT_FALSE(local.tasks.empty());
  ASSERT_FALSE(local.notes.empty());

  UseServer();
  const AllKinds remote = ReadAllKinds();
  EXPECT_EQ(remote.contacts, local.contacts);
  EXPECT_EQ(remote.calendar, local.calendar);
  EXPECT_EQ(remote.tasks, local.tasks);
  EXPECT_EQ(remote.notes, local.notes);
  // The accessors are gone, so were the server's last references.
  EXPECT_TRUE(WaitForNoServer());
}

TEST_F(RemoteReadTest, BusyServerIsWaitedFor) {
  const Images local = ReadImages<OlAddrUtil>();
  UseServer({L"--reject-calls", L"3"});
  EXPECT_EQ(ReadImages<OlAddrUtil>(), local);
  EXPECT_FALSE(LoggedCritical("refused"));
}

TEST_F(RemoteReadTest, ServerBusyForLongerIsReportedAfterTheRetryLimit) {
  UseServer({L"--reject-calls", L"-1"});
  const uint32_t nLimit = CxMessageFilter::GetRetryLimit();
  CxMessageFilter::SetRetryLimit(600);
  {
    OlAddrUtil util;
    EXPECT_FALSE(util.IsConnected());
  }
  CxMessageFilter::SetRetryLimit(nLimit);
  EXPECT_TRUE(LoggedCritical("Outlook refused the call while busy, Name=GetNameSpace, hr=0x80010001"));
  EXPECT_TRUE(LoggedCritical("Failed to call Outlook.Application GetNameSpace method, hr=0x80010001"));
}

}  // namespace
