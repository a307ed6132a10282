// The container behaviour, the same for every item kind.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "RecordTestUtil.h"
#include "common/records/CommAddrMgr.h"
#include "common/records/CommDateMgr.h"
#include "common/records/CommNoteMgr.h"
#include "common/records/CommTaskMgr.h"

namespace {

template <typename TMgr, typename TRecord, typename TImage>
struct Kind {
  using Mgr = TMgr;
  using Record = TRecord;
  using Image = TImage;
};

using Kinds = ::testing::Types<Kind<CommAddrMgr, AddrRecord, AddrImage>, Kind<CommDateMgr, DateRecord, DateImage>,
                               Kind<CommTaskMgr, TaskRecord, TaskImage>, Kind<CommNoteMgr, NoteRecord, NoteImage>>;

template <typename TKind>
class RecordContainer : public ::testing::Test {
 protected:
  using Record = typename TKind::Record;
  using Image = typename TKind::Image;

  // A caller's record carrying marker in SourceType and an image whose bytes
  // are all marker.
  void MakeSource(int32_t nMarker) {
    m_pImage = MakeZeroed<Image>();
    memset(m_pImage.get(), nMarker, sizeof(Image));
    m_pRecord = MakeZeroed<Record>();
    m_pRecord->SourceType = nMarker;
    m_pRecord->Image = m_pImage.get();
    m_pRecord->ImageSize = sizeof(Image);
  }

  static bool ImageIsAll(const Image* pImage, int nByte) {
    const auto* p = reinterpret_cast<const unsigned char*>(pImage);
    for (size_t i = 0; i < sizeof(Image); ++i)
      if (p[i] != nByte) return false;
    return true;
  }

  std::vector<int32_t> Markers() {
    std::vector<int32_t> markers;
    for (Record* p = m_mgr.First(); p; p = m_mgr.Next()) markers.push_back(p->SourceType);
    return markers;
  }

  typename TKind::Mgr m_mgr;
  Zeroed<Image> m_pImage{nullptr};
  Zeroed<Record> m_pRecord{nullptr};
};
TYPED_TEST_SUITE(RecordContainer, Kinds);

TYPED_TEST(RecordContainer, EmptyContainerGivesNothing) {
  EXPECT_EQ(this->m_mgr.First(), nullptr);
  EXPECT_EQ(this->m_mgr.Next(), nullptr);
  this->m_mgr.Clear();
  EXPECT_EQ(this->m_mgr.First(), nullptr);
  EXPECT_EQ(this->m_mgr.Add(nullptr), nullptr);
  EXPECT_EQ(this->m_mgr.First(), nullptr);
}

TYPED_TEST(RecordContainer, AddStoresADeepCopy) {
  this->MakeSource(0x5A);
  auto* pFirst = this->m_mgr.Add(this->m_pRecord.get());
  auto* pSecond = this->m_mgr.Add(this->m_pRecord.get());
  ASSERT_NE(pFirst, nullptr);
  ASSERT_NE(pSecond, nullptr);
  EXPECT_NE(pFirst, this->m_pRecord.get());
  EXPECT_NE(pFirst, pSecond);
  ASSERT_NE(pFirst->Image, nullptr);
  ASSERT_NE(pSecond->Image, nullptr);
  EXPECT_NE(pFirst->Image, this->m_pImage.get());
  EXPECT_NE(pFirst->Image, pSecond->Image);
  EXPECT_EQ(pFirst->ImageSize, this->m_pRecord->ImageSize);
  EXPECT_EQ(pFirst->SourceType, 0x5A);
  EXPECT_TRUE(this->ImageIsAll(pFirst->Image, 0x5A));

  // Changing the first stored image touches neither the second nor the caller's.
  memset(pFirst->Image, 0x11, sizeof(typename TestFixture::Image));
  EXPECT_TRUE(this->ImageIsAll(pSecond->Image, 0x5A));
  EXPECT_TRUE(this->ImageIsAll(this->m_pImage.get(), 0x5A));
  // Nor does changing the caller's record and image afterwards.
  memset(this->m_pImage.get(), 0x22, sizeof(typename TestFixture::Image));
  this->m_pRecord->SourceType = 9;
  EXPECT_TRUE(this->ImageIsAll(pSecond->Image, 0x5A));
  EXPECT_EQ(pSecond->SourceType, 0x5A);
}

TYPED_TEST(RecordContainer, RecordWithoutImageIsStoredWithoutOne) {
  this->MakeSource(3);
  this->m_pRecord->Image = nullptr;
  auto* pStored = this->m_mgr.Add(this->m_pRecord.get());
  ASSERT_NE(pStored, nullptr);
  EXPECT_EQ(pStored->Image, nullptr);
  EXPECT_EQ(static_cast<int64_t>(pStored->ImageSize), 0);
  this->m_mgr.Clear();  // frees the record only (the sanitizer build checks)
  EXPECT_EQ(this->m_mgr.First(), nullptr);
}

// An image pointer without a size is not copied, and the caller's pointer is
// never kept (the container would otherwise hand out memory it does not own).
TYPED_TEST(RecordContainer, ImageWithoutSizeIsNotKept) {
  this->MakeSource(3);
  this->m_pRecord->ImageSize = 0;
  auto* pStored = this->m_mgr.Add(this->m_pRecord.get());
  ASSERT_NE(pStored, nullptr);
  EXPECT_EQ(pStored->Image, nullptr);
}

TYPED_TEST(RecordContainer, WalksInTheOrderOfAdding) {
  for (int32_t nMarker : {7, 3, 5}) {
    this->MakeSource(nMarker);
    ASSERT_NE(this->m_mgr.Add(this->m_pRecord.get()), nullptr);
  }
  EXPECT_EQ(this->Markers(), (std::vector<int32_t>{7, 3, 5}));
  // Past the end Next keeps giving nothing.
  EXPECT_EQ(this->m_mgr.Next(), nullptr);
  EXPECT_EQ(this->m_mgr.Next(), nullptr);
  // A new walk starts over.
  ASSERT_NE(this->m_mgr.First(), nullptr);
  EXPECT_EQ(this->m_mgr.First()->SourceType, 7);
}

TYPED_TEST(RecordContainer, ClearEmptiesAndTheContainerIsReusable) {
  for (int32_t nMarker : {1, 2}) {
    this->MakeSource(nMarker);
    this->m_mgr.Add(this->m_pRecord.get());
  }
  this->m_mgr.Clear();
  EXPECT_EQ(this->m_mgr.First(), nullptr);
  EXPECT_EQ(this->m_mgr.Next(), nullptr);
  this->MakeSource(4);
  this->m_mgr.Add(this->m_pRecord.get());
  EXPECT_EQ(this->Markers(), (std::vector<int32_t>{4}));
}

}  // namespace
