// Qmolnote: the note field catalogue and the note applier.
#pragma once

#include "common/records/CommNoteMgr.h"
#include "update/CxQMOLApplier.h"

class OlNoteUtil;

class CxQMOLNoteUtil : public CxQMOLApplier<CxQMOLNoteUtil, NoteImage, OlNoteUtil> {
 public:
  // Writes the Color enumeration into the catalogue.
  CxQMOLNoteUtil();

  static const CxFieldCatalogue& Catalogue();
};
