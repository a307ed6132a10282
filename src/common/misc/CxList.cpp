#include "common/misc/CxList.h"

#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

// A broken list invariant means memory has been corrupted or the list misused;
// going on would hand out wrong items, so the program stops here.
[[noreturn]] void ListFatal(const char* szWhat) {
  fprintf(stderr, "CxList: fatal internal error: %s\n", szWhat);
  abort();
}

}  // namespace

CxList::CxList() : m_pHead(nullptr), m_pTail(nullptr), m_pCurr(nullptr), m_nCount(0), m_nFindIndex(0) {}

CxList::~CxList() { RemoveAll(false); }

void* CxList::GetFirst() {
  m_nFindIndex = 0;
  m_pCurr = m_pHead;
  return m_pCurr ? m_pCurr->pData : nullptr;
}

void* CxList::GetNext() {
  // Unsigned on purpose: on an empty list m_nCount - 1 wraps and GetAt turns
  // the request down because the position is not below m_nCount.
  if (m_nFindIndex < m_nCount - 1) return GetAt(m_nFindIndex + 1);
  return nullptr;
}

void* CxList::GetAt(uint32_t nIndex) {
  if (nIndex >= m_nCount) return nullptr;
  if (!m_pCurr || m_pCurr->nIndex != m_nFindIndex) ListFatal("cursor and position disagree");

  const bool bForward = nIndex > m_nFindIndex;
  for (CxListContainer* pCont = m_pCurr; pCont; pCont = bForward ? pCont->pNext : pCont->pPrev) {
    if (pCont->nIndex == nIndex) {
      m_pCurr = pCont;
      m_nFindIndex = nIndex;
      return pCont->pData;
    }
  }
  return nullptr;
}

bool CxList::Add(void* pItem) {
  if (!pItem) return false;

  CxListContainer* pCont = new (std::nothrow) CxListContainer{pItem, m_nCount, m_pTail, nullptr};
  if (!pCont) ListFatal("out of memory");

  if (!m_pHead) {
    m_pHead = pCont;
  } else {
    m_pTail->pNext = pCont;
  }
  m_pTail = pCont;
  m_pCurr = pCont;
  m_nFindIndex = pCont->nIndex;
  ++m_nCount;
  return true;
}

CxListContainer* CxList::FindContainer(const void* pItem) const {
  for (CxListContainer* pCont = m_pHead; pCont; pCont = pCont->pNext) {
    if (pCont->pData == pItem) return pCont;
  }
  return nullptr;
}

bool CxList::Remove(void* pItem, bool bFree) {
  CxListContainer* pCont = FindContainer(pItem);
  if (!pCont) return false;

  if (pCont->pPrev) pCont->pPrev->pNext = pCont->pNext;
  if (pCont->pNext) pCont->pNext->pPrev = pCont->pPrev;
  for (CxListContainer* pAfter = pCont->pNext; pAfter; pAfter = pAfter->pNext) --pAfter->nIndex;

  m_pCurr = pCont->pNext;
  m_nFindIndex = pCont->nIndex;
  if (pCont == m_pHead) m_pHead = pCont->pNext;
  if (pCont == m_pTail) m_pTail = pCont->pPrev;

  if (bFree) free(pCont->pData);
  --m_nCount;
  delete pCont;
  return true;
}

void CxList::RemoveAll(bool bFree) {
  CxListContainer* pCont = m_pHead;
  while (pCont) {
    CxListContainer* pNext = pCont->pNext;
    if (bFree && pCont->pData) free(pCont->pData);
    delete pCont;
    pCont = pNext;
  }
  m_pHead = nullptr;
  m_pTail = nullptr;
  m_pCurr = nullptr;
  m_nCount = 0;
  m_nFindIndex = 0;
}
