#include "support/FieldContext.h"

#include <cstdlib>
#include <cstring>

#include "app/Apputil.h"
#include "app/Context.h"
#include "common/misc/CxList.h"
#include "update/Qmcommon.h"
#include "update/Qmoladdr.h"
#include "update/Qmoldate.h"
#include "update/Qmolnote.h"
#include "update/Qmoltask.h"

FieldContext::FieldContext(int32_t nMode) : m_nOldMode(g_Settings.AppFlag) {
  g_Settings.AppFlag = nMode;
  g_pFieldList = new CxList;
  g_pAddrApplier = new CxQMOLAddrUtil;
  g_pDateApplier = new CxQMOLDateUtil;
  g_pTaskApplier = new CxQMOLTaskUtil;
  g_pNoteApplier = new CxQMOLNoteUtil;
  g_pProfileManager = new CxUpdateProfileManager;
}

FieldContext::~FieldContext() {
  g_pFieldList->RemoveAll(true);
  delete g_pFieldList;
  g_pFieldList = nullptr;
  delete g_pAddrApplier;
  delete g_pDateApplier;
  delete g_pTaskApplier;
  delete g_pNoteApplier;
  g_pAddrApplier = nullptr;
  g_pDateApplier = nullptr;
  g_pTaskApplier = nullptr;
  g_pNoteApplier = nullptr;
  delete g_pProfileManager;
  g_pProfileManager = nullptr;
  g_Settings.AppFlag = m_nOldMode;
}

FieldUpdateDef* FieldContext::Define(const FieldUpdateDef& def) {
  auto* pDef = static_cast<FieldUpdateDef*>(calloc(1, sizeof(FieldUpdateDef)));
  memcpy(pDef, &def, sizeof def);
  g_pFieldList->Add(pDef);
  return pDef;
}

FieldUpdateDef* FieldContext::Define(int32_t nFieldID) {
  auto* pDef = static_cast<FieldUpdateDef*>(calloc(1, sizeof(FieldUpdateDef)));
  pDef->nFieldID = nFieldID;
  g_pFieldList->Add(pDef);
  return pDef;
}
