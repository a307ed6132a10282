// Qmoltask: the task field catalogue and the task applier.
#pragma once

#include "common/records/CommTaskMgr.h"
#include "update/CxQMOLApplier.h"

class OlTaskUtil;

class CxQMOLTaskUtil : public CxQMOLApplier<CxQMOLTaskUtil, TaskImage, OlTaskUtil> {
 public:
  // Writes the Status, Importance and Sensitivity enumerations into the catalogue.
  CxQMOLTaskUtil();

  static const CxFieldCatalogue& Catalogue();
};
