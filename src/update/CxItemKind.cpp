#include "update/CxItemKind.h"

#include "common/outlook/OlAddr.h"
#include "common/outlook/OlDate.h"
#include "common/outlook/OlNote.h"
#include "common/outlook/OlTask.h"
#include "update/Qmoladdr.h"
#include "update/Qmoldate.h"
#include "update/Qmolnote.h"
#include "update/Qmoltask.h"

namespace {

std::string ContactName(const AddrImage& image) {
  if (image.DistList)
    return std::string(image.FullName[0] ? image.FullName : "<no name>") + " " + kDistListMark;
  if (image.FullName[0]) return image.FullName;
  std::string strName = image.FirstName;
  if (image.FirstName[0] && image.LastName[0]) strName += ' ';
  strName += image.LastName;
  return strName.empty() ? "<no name>" : strName;
}

template <typename TImage>
std::string SubjectName(const TImage& image) {
  return image.Subject[0] ? std::string(image.Subject) : std::string("<no subject>");
}

template <typename TRecord, typename TImage, typename TApplier>
class CxItemKindOf final : public CxItemKind {
 public:
  // Without an applier the kind makes one of its own (which also writes the
  // catalogue's enumerations); it has no accessor, so it saves nothing.
  CxItemKindOf(int32_t nMode, const char* szName, const TApplier* pApplier)
      : m_nMode(nMode),
        m_szName(szName),
        m_pOwned(pApplier ? nullptr : std::make_unique<TApplier>()),
        m_pApplier(pApplier ? pApplier : m_pOwned.get()) {}

  int32_t GetMode() const override { return m_nMode; }
  const char* GetKindName() const override { return m_szName; }
  size_t GetImageSize() const override { return sizeof(TImage); }
  void* GetRecordImage(void* pRecord) const override {
    return pRecord ? static_cast<TRecord*>(pRecord)->Image : nullptr;
  }

  std::string GetItemName(const void* pImage) const override {
    if constexpr (std::is_same_v<TImage, AddrImage>)
      return ContactName(Image(pImage));
    else
      return SubjectName(Image(pImage));
  }
  bool IsDistList(const void* pImage) const override {
    if constexpr (std::is_same_v<TImage, AddrImage>)
      return Image(pImage).DistList;
    else
      return false;
  }
  const char* GetEntryID(const void* pImage) const override { return Image(pImage).EntryID; }
  const char* GetStoreID(const void* pImage) const override { return Image(pImage).StoreID; }
  const char* GetFolderName(const void* pImage) const override { return Image(pImage).FolderName; }
  FieldMarks* GetChanged(void* pImage) const override {
    return &static_cast<TImage*>(pImage)->Changed;
  }
  const FieldMarks& GetTruncated(const void* pImage) const override {
    return Image(pImage).Truncated;
  }

  const FieldEntry* FindEntry(int32_t nFieldID) const override {
    return TApplier::FindEntry(nFieldID);
  }
  int32_t GetEntryCount() const override { return TApplier::GetFieldCount(); }
  const FieldEntry* GetEntryAt(int32_t nIndex) const override {
    const FieldDescriptor* pField = TApplier::GetFieldAt(nIndex);
    return pField ? TApplier::FindEntry(pField->nFieldID) : nullptr;
  }
  const FieldEntry* FindEntryByMark(int nMark) const override {
    for (int32_t n = 0; n < GetEntryCount(); ++n) {
      const FieldEntry* pEntry = GetEntryAt(n);
      if (pEntry && pEntry->Slot.nMark == nMark) return pEntry;
    }
    return nullptr;
  }
  ApplyRefusal GetRefusal(const void* pImage, const FieldUpdateDef* pDef) const override {
    return m_pApplier->GetRefusal(static_cast<const TImage*>(pImage), pDef);
  }
  bool Apply(void* pImage, const FieldUpdateDef* pDef) const override {
    return m_pApplier->Apply(static_cast<TImage*>(pImage), pDef);
  }
  bool Save(void* pImage) const override { return m_pApplier->Save(static_cast<TImage*>(pImage)); }
  void GetSavedFields(const void* pImage, FieldMarks* pSaved) const override {
    if (const auto* pAccessor = m_pApplier->GetAccessor())
      pAccessor->GetSavedFields(&Image(pImage), pSaved);
    else
      *pSaved = Image(pImage).Changed;
  }
  OlBaseUtil* GetAccessor() const override { return m_pApplier->GetAccessor(); }

 private:
  static const TImage& Image(const void* pImage) { return *static_cast<const TImage*>(pImage); }

  int32_t m_nMode;
  const char* m_szName;
  std::unique_ptr<TApplier> m_pOwned;
  const TApplier* m_pApplier;
};

}  // namespace

std::unique_ptr<CxItemKind> MakeItemKind(int32_t nMode, const CxQMOLAddrUtil* pAddr,
                                         const CxQMOLDateUtil* pDate, const CxQMOLTaskUtil* pTask,
                                         const CxQMOLNoteUtil* pNote) {
  switch (nMode) {
    case 1:
      return std::make_unique<CxItemKindOf<AddrRecord, AddrImage, CxQMOLAddrUtil>>(1, "contact",
                                                                                   pAddr);
    case 2:
      return std::make_unique<CxItemKindOf<DateRecord, DateImage, CxQMOLDateUtil>>(
          2, "calendar item", pDate);
    case 4:
      return std::make_unique<CxItemKindOf<TaskRecord, TaskImage, CxQMOLTaskUtil>>(4, "task",
                                                                                   pTask);
    case 8:
      return std::make_unique<CxItemKindOf<NoteRecord, NoteImage, CxQMOLNoteUtil>>(8, "note",
                                                                                   pNote);
    default:
      return nullptr;
  }
}

const FieldEntry* CxItemKind::FindEntryByName(const std::string& strName) const {
  for (int32_t n = 0; n < GetEntryCount(); ++n) {
    const FieldEntry* pEntry = GetEntryAt(n);
    if (pEntry && strName == pEntry->Desc.szName) return pEntry;
  }
  return nullptr;
}

namespace {

struct KindWord {
  int32_t nMode;
  const char* szKeyword;
  const char* szPlural;
};

constexpr KindWord kKindWords[] = {
    {1, "contacts", "contacts"},
    {2, "calendar", "calendar items"},
    {4, "tasks", "tasks"},
    {8, "notes", "notes"},
};

const KindWord* FindKindWord(int32_t nMode) {
  for (const KindWord& word : kKindWords)
    if (word.nMode == nMode) return &word;
  return nullptr;
}

}  // namespace

const char* GetKindKeyword(int32_t nMode) {
  const KindWord* pWord = FindKindWord(nMode);
  return pWord ? pWord->szKeyword : "";
}

int32_t GetModeOfKeyword(const std::string& strKeyword) {
  for (const KindWord& word : kKindWords)
    if (strKeyword == word.szKeyword) return word.nMode;
  return 0;
}

const char* GetKindPluralName(int32_t nMode) {
  const KindWord* pWord = FindKindWord(nMode);
  return pWord ? pWord->szPlural : "";
}
