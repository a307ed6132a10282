// Saving through the four appliers: what they refuse on their own, and what a
// saved item looks like when it is read back from a local store.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "common/misc/CxDebugUtil.h"
#include "common/misc/CxText.h"
#include "common/misc/TestTemp.h"
#include "common/outlook/OlAddr.h"
#include "common/outlook/OlDate.h"
#include "common/outlook/OlNote.h"
#include "common/outlook/OlTask.h"
#include "platform/win32.h"
#include "update/Qmoladdr.h"
#include "update/Qmoldate.h"
#include "update/Qmolnote.h"
#include "update/Qmoltask.h"

namespace {

// COM on the thread, and the log (failed saves write to it) in a fresh folder.
class SaveTest : public testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    g_DebugUtil.SetLogFolder(m_temp.Folder().c_str());
  }
  void TearDown() override {
    g_DebugUtil.SetLogFolder("./");
    CoUninitialize();
  }

  TempFolder m_temp;
};

template <typename Applier, typename Accessor, typename Image>
void ExpectSaveRefused() {
  Applier applier;
  auto pImage = std::make_unique<Image>();
  memset(static_cast<void*>(pImage.get()), 0, sizeof(Image));
  CopyText(pImage->EntryID, sizeof pImage->EntryID, "0000000000000000000000000000000000000001");
  CopyText(pImage->StoreID, sizeof pImage->StoreID, "store");

  EXPECT_FALSE(applier.Save(pImage.get())) << "no accessor bound";
  EXPECT_FALSE(applier.Save(nullptr));

  // No Outlook to reach: the accessor cannot find the item, and says so.
  Accessor accessor;
  ASSERT_FALSE(accessor.IsConnected());
  applier.SetAccessor(&accessor);
  EXPECT_FALSE(applier.Save(nullptr));
  EXPECT_FALSE(applier.Save(pImage.get()));
}

TEST_F(SaveTest, RefusedWithoutAccessorImageOrItem) {
  ExpectSaveRefused<CxQMOLAddrUtil, OlAddrUtil, AddrImage>();
  ExpectSaveRefused<CxQMOLDateUtil, OlDateUtil, DateImage>();
  ExpectSaveRefused<CxQMOLTaskUtil, OlTaskUtil, TaskImage>();
  ExpectSaveRefused<CxQMOLNoteUtil, OlNoteUtil, NoteImage>();
}

}  // namespace
