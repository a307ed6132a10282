// CommRecordMgr: the ordered container every item kind keeps its records in.
// A container owns each record it holds and each record owns its own copy of
// the item image, so pointers handed out stay valid until the next Clear.
#pragma once

#include <cstdlib>
#include <cstring>
#include <new>

#include "common/misc/CxList.h"

// TRecord is a plain record with an image copy in `Image` (a typed pointer)
// and its size in bytes in `ImageSize`.
template <typename TRecord>
class CommRecordMgr {
 public:
  CommRecordMgr() : m_pList(new (std::nothrow) CxList) {}
  ~CommRecordMgr() {
    Clear();
    delete m_pList;
  }
  CommRecordMgr(const CommRecordMgr&) = delete;
  CommRecordMgr& operator=(const CommRecordMgr&) = delete;

  void Clear() {
    if (!m_pList) return;
    for (void* p = m_pList->GetFirst(); p; p = m_pList->GetNext()) {
      TRecord* pRecord = static_cast<TRecord*>(p);
      if (pRecord->Image && pRecord->ImageSize > 0) free(pRecord->Image);
    }
    m_pList->RemoveAll(true);
  }

  // Stores a deep copy of pRecord and of its image; the caller keeps what it
  // passed. A copy whose image could not be allocated is stored without one.
  TRecord* Add(const TRecord* pRecord) {
    if (!pRecord || !m_pList) return nullptr;
    TRecord* pCopy = static_cast<TRecord*>(malloc(sizeof(TRecord)));
    if (!pCopy) return nullptr;
    memcpy(pCopy, pRecord, sizeof(TRecord));
    // Never keep the caller's pointer: the copy either owns an image of its
    // own or has none.
    pCopy->Image = nullptr;
    pCopy->ImageSize = 0;
    if (pRecord->Image && pRecord->ImageSize > 0) {
      void* pImage = malloc(static_cast<size_t>(pRecord->ImageSize));
      if (pImage) {
        memcpy(pImage, pRecord->Image, static_cast<size_t>(pRecord->ImageSize));
        pCopy->Image = static_cast<decltype(pCopy->Image)>(pImage);
        pCopy->ImageSize = pRecord->ImageSize;
      }
    }
    if (!m_pList->Add(pCopy)) {
      free(pCopy->Image);
      free(pCopy);
      return nullptr;
    }
    return pCopy;
  }

  // Takes over pRecord and its image, both from malloc, without copying them;
  // frees both when the record cannot be kept.
  TRecord* Adopt(TRecord* pRecord) {
    if (!pRecord) return nullptr;
    if (!m_pList || !m_pList->Add(pRecord)) {
      free(pRecord->Image);
      free(pRecord);
      return nullptr;
    }
    return pRecord;
  }

  TRecord* First() { return m_pList ? static_cast<TRecord*>(m_pList->GetFirst()) : nullptr; }
  TRecord* Next() { return m_pList ? static_cast<TRecord*>(m_pList->GetNext()) : nullptr; }

 private:
  CxList* m_pList;
};
