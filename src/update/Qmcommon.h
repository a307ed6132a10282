// Qmcommon: the vocabulary of field updates (value types, text operations, the
// update definition, the catalogue entry) and the value operations every
// per-kind applier shares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "common/misc/CxFile.h"
#include "common/misc/CxList.h"
#include "common/records/FieldMarks.h"

class CxItemKind;

// Value type of an updatable field.
enum FieldType : int32_t {
  ftString = 1,
  ftDate = 2,
  ftDateTime = 3,
  ftBoolean = 4,
  ftInteger = 5,
  ftEnumeration = 6,
};

// Text operation of a String definition; every other definition carries uoNone.
enum UpdateOp : int32_t {
  uoNone = 0,
  uoSet = 1,
  uoAppend = 2,
  uoInsert = 3,
  uoReplace = 4,
};

// One field update definition: a plain record, copied by value.
struct FieldUpdateDef {
  int32_t nFieldID;    // catalogue id of the field to change; -1 while none is chosen
  int32_t nOperation;  // UpdateOp
  char szSearch[256];  // Replace: the text to find
  char szValue[256];   // Set / Append / Insert / Replace: the new text
  int32_t nPosition;   // Insert: zero-based character position
  int32_t nHasDate;    // 1 once a date has been stored
  double dtValue;      // OLE automation date (day, plus time of day for Date & Time)
  uint8_t bValue;      // Boolean value, 1 or 0
  int32_t nValue;      // Integer value, or the chosen enumeration value
};

constexpr int kMaxEnumCount = 10;

// One entry of a field catalogue.
struct FieldDescriptor {
  int32_t nFieldID;
  int32_t nType;  // FieldType
  char szName[32];
  char szDesc[256];
  uint32_t nMaxLength;  // String: capacity of the image field in bytes, terminating zero included
  int32_t nEnumCount;
  int32_t nEnumValues[kMaxEnumCount];
  char szEnumTexts[kMaxEnumCount][32];
};

// The display name of a value type; the empty text for an unknown code.
const char* GetFieldTypeName(int32_t nType);

// ---- Catalogues --------------------------------------------------------------

// Where in an item image a catalogue entry's value lives, and which FieldMarks
// index stands for it.
struct FieldSlot {
  uint32_t nOffset;
  uint32_t nSize;
  int32_t nMark;
};

// The image slot of one member, e.g. QM_FIELD_SLOT(TaskImage, TaskField, Subject).
#define QM_FIELD_SLOT(ImageType, FieldEnum, Member)                                               \
  FieldSlot {                                                                                     \
    static_cast<uint32_t>(offsetof(ImageType, Member)),                                           \
        static_cast<uint32_t>(sizeof(ImageType::Member)), static_cast<int32_t>(FieldEnum::Member) \
  }

// A catalogue entry together with the image slot it changes.
struct FieldEntry {
  FieldDescriptor Desc;
  FieldSlot Slot;
};

namespace qmdetail {
// Deliberately not constexpr: reaching it while a catalogue is built at compile
// time makes the build fail, so a table entry that does not fit its slot never
// ships.
inline void CatalogueEntryDoesNotFitItsSlot() {}

constexpr void CopyName(char* szDest, size_t nSize, const char* szSrc) {
  size_t n = 0;
  for (; szSrc[n] != '\0'; ++n) {
    if (n + 1 >= nSize) CatalogueEntryDoesNotFitItsSlot();
    szDest[n] = szSrc[n];
  }
  szDest[n] = '\0';
}

constexpr bool SlotFitsType(FieldType nType, uint32_t nMaxLength, uint32_t nSlotSize) {
  switch (nType) {
    case ftString:
      return nMaxLength > 0 && nMaxLength <= nSlotSize;
    case ftDate:
    case ftDateTime:
      return nMaxLength == 8 && nSlotSize == sizeof(double);
    case ftBoolean:
      return nMaxLength == nSlotSize && (nSlotSize == 1 || nSlotSize == 4);
    case ftInteger:
    case ftEnumeration:
      return nMaxLength == 4 && nSlotSize == sizeof(int32_t);
  }
  return false;
}
}  // namespace qmdetail

// One catalogue row; szDesc nullptr means "the same as the display name".
constexpr FieldEntry MakeFieldEntry(int32_t nFieldID, FieldType nType, const char* szName,
                                    const char* szDesc, uint32_t nMaxLength, FieldSlot Slot) {
  FieldEntry entry{};
  entry.Desc.nFieldID = nFieldID;
  entry.Desc.nType = nType;
  qmdetail::CopyName(entry.Desc.szName, sizeof entry.Desc.szName, szName);
  qmdetail::CopyName(entry.Desc.szDesc, sizeof entry.Desc.szDesc, szDesc ? szDesc : szName);
  entry.Desc.nMaxLength = nMaxLength;
  if (!qmdetail::SlotFitsType(nType, nMaxLength, Slot.nSize))
    qmdetail::CatalogueEntryDoesNotFitItsSlot();
  entry.Slot = Slot;
  return entry;
}

// The values and texts of one enumeration, in the order the editor offers them.
struct FieldEnumeration {
  int32_t nCount;
  int32_t nValues[kMaxEnumCount];
  const char* szTexts[kMaxEnumCount];
};

// Outlook's importance and sensitivity values, shared by calendar items and tasks.
inline constexpr FieldEnumeration kImportanceEnum{3, {1, 0, 2}, {"Normal", "Low", "High"}};
inline constexpr FieldEnumeration kSensitivityEnum{
    4, {0, 1, 2, 3}, {"Normal", "Personal", "Private", "Confidential"}};

// Which catalogue entry an enumeration belongs to.
struct FieldEnumBinding {
  int32_t nFieldID;
  const FieldEnumeration* pEnum;
};

// Read and lookup access to one kind's static table of entries.
class CxFieldCatalogue {
 public:
  template <size_t N>
  constexpr explicit CxFieldCatalogue(FieldEntry (&entries)[N])
      : m_pEntries(entries), m_nCount(static_cast<int32_t>(N)) {}

  int32_t GetFieldCount() const { return m_nCount; }
  const FieldDescriptor* GetFieldAt(int32_t nIndex) const;
  const FieldDescriptor* FindField(int32_t nFieldID) const;
  const FieldEntry* FindEntry(int32_t nFieldID) const;
  // Writes each binding's values and texts into its entry.
  template <size_t N>
  void WriteEnumerations(const FieldEnumBinding (&bindings)[N]) const {
    for (const FieldEnumBinding& binding : bindings) WriteEnumeration(binding);
  }

 private:
  int32_t FindIndex(int32_t nFieldID) const;
  void WriteEnumeration(const FieldEnumBinding& binding) const;

  FieldEntry* m_pEntries;
  int32_t m_nCount;
};

// ---- Profiles ------------------------------------------------------------------

// A saved set of definitions: malloc'ed FieldUpdateDef records, freed with the profile.
struct CxUpdateProfile {
  CxUpdateProfile() = default;
  ~CxUpdateProfile();
  CxUpdateProfile(const CxUpdateProfile&) = delete;
  CxUpdateProfile& operator=(const CxUpdateProfile&) = delete;

  CxList m_FieldList;
};

// Holder for saved sets of definitions: it saves a definitions list as a
// profile file and loads one back (see CxProfileFile), remembering the last
// file. It owns whatever profiles are added to its list (each allocated with
// new) and their definitions.
class CxUpdateProfileManager {
 public:
  CxUpdateProfileManager();
  ~CxUpdateProfileManager();
  CxUpdateProfileManager(const CxUpdateProfileManager&) = delete;
  CxUpdateProfileManager& operator=(const CxUpdateProfileManager&) = delete;

  CxList* GetProfileList() { return &m_ProfileList; }

  // Saves the definitions of the list (FieldUpdateDef) of the kind to szPath.
  // False, with the reason, when the file cannot be written.
  bool SaveProfile(const char* szPath, const CxItemKind& kind, CxList* pFieldList,
                   std::string* pError);
  // Replaces the list's definitions by those of the profile at szPath (each
  // malloc'ed, as the list's own), but only when the whole profile is sound
  // for the kind; otherwise false with the file, the section and the reason,
  // and the list is as it was.
  bool LoadProfile(const char* szPath, const CxItemKind& kind, CxList* pFieldList,
                   std::string* pError);
  // The file last saved or loaded; empty before.
  const char* GetLastPath() const { return m_szPath; }

 private:
  char m_szPath[260];
  CxFile m_File;
  CxList m_ProfileList;
};

// ---- Value operations and the shared applier base ---------------------------------

// Why an applier leaves a definition's field alone on an item.
enum ApplyRefusal : int32_t {
  arNone = 0,  // it applies
  arNoImage,   // there is no item image or no definition
  arNoField,   // the field is not in the kind's catalogue
  arUnread,    // Outlook did not give the field when the item was read
  arCutText,   // a text operation would shorten a text that was cut when read
};

// The refusal in words, for people.
const char* GetApplyRefusalText(ApplyRefusal nRefusal);

class CxQMCommonUtil {
 public:
  CxQMCommonUtil();
  ~CxQMCommonUtil();
  CxQMCommonUtil(const CxQMCommonUtil&) = delete;
  CxQMCommonUtil& operator=(const CxQMCommonUtil&) = delete;

  // Each returns false, changing nothing, when the field or the definition is
  // missing, else true whether or not the value changed. pbApplied (optional)
  // tells whether the definition acted on the field, as opposed to leaving it
  // alone by rule (an operation that does nothing, a definition without a date).
  static bool UpdateString(char* szBuffer, uint32_t nMaxLength, const FieldUpdateDef* pDef,
                           bool* pbApplied = nullptr);
  static bool UpdateDate(double* pdtSlot, const FieldUpdateDef* pDef, bool* pbApplied = nullptr);
  static bool UpdateInteger(int32_t* pnSlot, const FieldUpdateDef* pDef);
  // A flag is one byte or a 32-bit slot; either ends up holding exactly 1 or 0.
  static bool UpdateBoolean(bool* pbFlag, const FieldUpdateDef* pDef);
  static bool UpdateBoolean(int32_t* pnFlag, const FieldUpdateDef* pDef);

 protected:
  // The one Apply of every kind: changes the image field of the definition's
  // catalogue entry and marks it in the image's Changed marks.
  template <typename Image>
  static bool ApplyToImage(const CxFieldCatalogue& catalogue, Image* pImage,
                           const FieldUpdateDef* pDef) {
    if (!pImage) return false;
    return ApplyToFields(catalogue, reinterpret_cast<unsigned char*>(pImage), sizeof(Image),
                         &pImage->Changed, &pImage->Truncated, &pImage->Unread, pDef);
  }
  template <typename Image>
  static ApplyRefusal RefusalOnImage(const CxFieldCatalogue& catalogue, const Image* pImage,
                                     const FieldUpdateDef* pDef) {
    if (!pImage) return arNoImage;
    return RefusalOnFields(catalogue, reinterpret_cast<const unsigned char*>(pImage), sizeof(Image),
                           pImage->Truncated, pImage->Unread, pDef);
  }

 private:
  static ApplyRefusal RefusalOnFields(const CxFieldCatalogue& catalogue,
                                      const unsigned char* pImage, size_t nImageSize,
                                      const FieldMarks& truncated, const FieldMarks& unread,
                                      const FieldUpdateDef* pDef);
  static bool ApplyToFields(const CxFieldCatalogue& catalogue, unsigned char* pImage,
                            size_t nImageSize, FieldMarks* pChanged, FieldMarks* pTruncated,
                            FieldMarks* pUnread, const FieldUpdateDef* pDef);

  std::unique_ptr<CxUpdateProfileManager> m_pProfileManager;
};
