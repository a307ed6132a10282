// CxQMOLApplier: what the four appliers share. An applier changes one item
// kind's images by the definitions of its field catalogue and writes them back
// through the kind's accessor; the kind brings its catalogue (TKind::Catalogue())
// and nothing else.
#pragma once

#include "update/Qmcommon.h"

template <typename TKind, typename TImage, typename TAccessor>
class CxQMOLApplier : public CxQMCommonUtil {
 public:
  // Binds the accessor that Save writes through; not owned.
  void SetAccessor(TAccessor* pAccessor) { m_pAccessor = pAccessor; }
  TAccessor* GetAccessor() const { return m_pAccessor; }

  static int32_t GetFieldCount() { return TKind::Catalogue().GetFieldCount(); }
  static const FieldDescriptor* GetFieldAt(int32_t nIndex) {
    return TKind::Catalogue().GetFieldAt(nIndex);
  }
  static const FieldDescriptor* FindField(int32_t nFieldID) {
    return TKind::Catalogue().FindField(nFieldID);
  }
  // The entry with the image slot it changes; none for an unknown id.
  static const FieldEntry* FindEntry(int32_t nFieldID) {
    return TKind::Catalogue().FindEntry(nFieldID);
  }

  // Changes the one image field the definition names; false for a missing
  // image or definition, an id outside the catalogue, or a text operation that
  // would shorten a value cut when read.
  bool Apply(TImage* pImage, const FieldUpdateDef* pDef) const {
    return ApplyToImage(TKind::Catalogue(), pImage, pDef);
  }
  // Why Apply would leave the definition's field alone; arNone when it applies.
  ApplyRefusal GetRefusal(const TImage* pImage, const FieldUpdateDef* pDef) const {
    return RefusalOnImage(TKind::Catalogue(), pImage, pDef);
  }
  // Writes the image back to Outlook; false without an accessor or image, or
  // when the item cannot be found.
  bool Save(TImage* pImage) const { return m_pAccessor && pImage && m_pAccessor->SaveItem(pImage); }

 private:
  TAccessor* m_pAccessor = nullptr;
};
