// Qmoldate: the calendar field catalogue and the calendar applier.
#pragma once

#include "common/records/CommDateMgr.h"
#include "update/CxQMOLApplier.h"

class OlDateUtil;

class CxQMOLDateUtil : public CxQMOLApplier<CxQMOLDateUtil, DateImage, OlDateUtil> {
 public:
  // Writes the Busy Status, Importance and Sensitivity enumerations into the catalogue.
  CxQMOLDateUtil();

  static const CxFieldCatalogue& Catalogue();
};
