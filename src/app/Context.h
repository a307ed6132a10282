// The wizard context: the objects that connect the pages to Outlook. All are
// none outside a context; TfmMain::OpenContext builds them all or none, and
// TfmMain::CloseContext frees them. See Main.h.
#pragma once

class OlAddrUtil;
class OlDateUtil;
class OlTaskUtil;
class OlNoteUtil;
class CxList;
class CxQMOLAddrUtil;
class CxQMOLDateUtil;
class CxQMOLTaskUtil;
class CxQMOLNoteUtil;
class CxUpdateProfileManager;

// One folder accessor per item kind; only the current mode's has read items.
extern OlAddrUtil* g_pOlAddrUtil;
extern OlDateUtil* g_pOlDateUtil;
extern OlTaskUtil* g_pOlTaskUtil;
extern OlNoteUtil* g_pOlNoteUtil;

// The records ticked for update: pointers into the accessor's container, not owned.
extern CxList* g_pRecordList;
// The update definitions (FieldUpdateDef), owned by the list.
extern CxList* g_pFieldList;

// One applier per item kind, each bound to the accessor of its kind.
extern CxQMOLAddrUtil* g_pAddrApplier;
extern CxQMOLDateUtil* g_pDateApplier;
extern CxQMOLTaskUtil* g_pTaskApplier;
extern CxQMOLNoteUtil* g_pNoteApplier;

extern CxUpdateProfileManager* g_pProfileManager;
