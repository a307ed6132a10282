// CxList: the program's one collection, an ordered doubly linked list of
// untyped item pointers with a built-in cursor (one walk at a time).
#pragma once

#include <cstdint>

struct CxListContainer {
  void* pData;  // the item; never null
  uint32_t nIndex;  // zero-based position from the head
  CxListContainer* pPrev;
  CxListContainer* pNext;
};

// The list owns its containers, never its items: an item is released (with the
// C library's free) only when a caller asks for it through bFree.
class CxList {
 public:
  CxList();
  ~CxList();
  CxList(const CxList&) = delete;
  CxList& operator=(const CxList&) = delete;

  // The usual walk: for (p = GetFirst(); p; p = GetNext()) ...
  void* GetFirst();
  // Null after the last item, and again on every call until the next GetFirst.
  void* GetNext();
  // Appends at the tail and moves the cursor there; false only for a null item.
  bool Add(void* pItem);
  // Unlinks the first container (from the head) holding pItem; the cursor moves
  // to the item that followed it, so a GetNext() right after Remove skips that
  // item. False when pItem is not in the list.
  bool Remove(void* pItem, bool bFree);
  void RemoveAll(bool bFree);
  uint32_t GetCount() const { return m_nCount; }

 private:
  void* GetAt(uint32_t nIndex);
  CxListContainer* FindContainer(const void* pItem) const;

  CxListContainer* m_pHead;
  CxListContainer* m_pTail;
  CxListContainer* m_pCurr;
  uint32_t m_nCount;
  uint32_t m_nFindIndex;
};
