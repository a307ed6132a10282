// Qmoladdr: the contact field catalogue and the contact applier.
#pragma once

#include "common/records/CommAddrMgr.h"
#include "update/CxQMOLApplier.h"

class OlAddrUtil;

class CxQMOLAddrUtil : public CxQMOLApplier<CxQMOLAddrUtil, AddrImage, OlAddrUtil> {
 public:
  // Writes the Gender enumeration into the catalogue.
  CxQMOLAddrUtil();

  static const CxFieldCatalogue& Catalogue();
};
