// Saving through the store's out-of-process server: what the accessors put
// reaches the store file, and a server that dies in the middle of a run
// fails every later save loudly while the saves before it stay whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/misc/CxText.h"
#include "common/outlook/OlAddr.h"
#include "common/outlook/OlDate.h"
#include "common/outlook/OlNote.h"
#include "common/outlook/OlTask.h"
#include "support/AnsiCodePage.h"
#include "windows/support/RemoteStoreTest.h"
#include "windows/support/ServerProcess.h"

namespace {

// In UTF-8 here; the records hold it in the ANSI code page, the store in UTF-8.
constexpr char kNewText[] = "Neu über Prozesse";

struct KindCase {
  const char* szKind;
  const char* szProperty;
  // Reads through the accessor, sets the property of the first item to
  // kNewText and saves it; the item's entry ID, empty when nothing was saved.
  std::string (*pfnSaveFirst)();
};

template <typename TUtil, typename TImage, size_t N, typename TField>
std::string SaveFirst(char (TImage::*pmText)[N], TField nField) {
  TUtil util;
  util.ReadItems();
  auto* pRecord = util.GetContainer()->First();
  if (!pRecord || !pRecord->Image) return {};
  TImage* pImage = pRecord->Image;
  CopyText(pImage->*pmText, N, AnsiText(kNewText).c_str());
  pImage->Changed.Set(nField);
  return util.SaveItem(pImage) ? std::string(pImage->EntryID) : std::string();
}

const KindCase kKinds[] = {
    {"contacts", "JobTitle",
     [] { return SaveFirst<OlAddrUtil>(&AddrImage::JobTitle, AddrField::JobTitle); }},
    {"calendar", "Location",
     [] { return SaveFirst<OlDateUtil>(&DateImage::Location, DateField::Location); }},
    {"tasks", "Subject",
     [] { return SaveFirst<OlTaskUtil>(&TaskImage::Subject, TaskField::Subject); }},
    {"notes", "Categories",
     [] { return SaveFirst<OlNoteUtil>(&NoteImage::Categories, NoteField::Categories); }},
};

void PrintTo(const KindCase& c, std::ostream* pOut) { *pOut << c.szKind; }

class RemoteSaveTest : public RemoteStoreTest, public testing::WithParamInterface<KindCase> {};

TEST_P(RemoteSaveTest, SavesExactlyTheChangedProperty) {
  UseServer();
  const std::string strEntryID = GetParam().pfnSaveFirst();
  ASSERT_FALSE(strEntryID.empty());
  ASSERT_TRUE(WaitForNoServer());

  const olstore::ItemData after = Stored(strEntryID);
  const size_t nIndex = olstore::FindProperty(after.Info(), GetParam().szProperty);
  ASSERT_NE(nIndex, olstore::kNoIndex);
  EXPECT_EQ(after.values[nIndex], olstore::Value(std::string(kNewText)));
}

INSTANTIATE_TEST_SUITE_P(Kinds, RemoteSaveTest, testing::ValuesIn(kKinds));

class KilledServerTest : public RemoteStoreTest {};

TEST_F(KilledServerTest, EverySaveAfterTheServerDiedFailsAndNothingIsHalfWritten) {
  UseServer();
  OlAddrUtil util;
  ASSERT_TRUE(util.ReadItems());
  std::vector<AddrImage*> images;
  for (AddrRecord* pRecord = util.GetContainer()->First(); pRecord;
       pRecord = util.GetContainer()->Next())
    images.push_back(pRecord->Image);
  ASSERT_GE(images.size(), 5u);
  std::vector<olstore::ItemData> before;
  for (const AddrImage* pImage : images) before.push_back(Stored(pImage->EntryID));

  auto save = [&](size_t nIndex) {
    CopyText(images[nIndex]->JobTitle, sizeof images[nIndex]->JobTitle, AnsiText(kNewText).c_str());
    images[nIndex]->Changed.Set(AddrField::JobTitle);
    return util.SaveItem(images[nIndex]);
  };
  EXPECT_TRUE(save(0));
  EXPECT_TRUE(save(1));
  ASSERT_GE(KillServers(), 1);
  for (size_t n = 2; n < 5; ++n) EXPECT_FALSE(save(n)) << n;

  // The reason is the RPC status of the lost server, not a silent "not found".
  bool bRpcStatus = false;
  for (const LogLine& line : m_env.Log())
    bRpcStatus |= line.bCritical && (line.strMessage.find("hr=0x800706ba") != std::string::npos ||
                                     line.strMessage.find("hr=0x800706be") != std::string::npos ||
                                     line.strMessage.find("hr=0x80010108") != std::string::npos);
  EXPECT_TRUE(bRpcStatus);

  for (size_t n = 0; n < 5; ++n) {
    const olstore::ItemData after = Stored(images[n]->EntryID);
    const std::vector<std::string> changed = Differences(before[n], after);
    if (n < 2) {
      EXPECT_NE(std::find(changed.begin(), changed.end(), "JobTitle"), changed.end()) << n;
    } else {
      EXPECT_TRUE(changed.empty()) << n;
    }
  }
}

}  // namespace
