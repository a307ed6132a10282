#include "app/Context.h"

OlAddrUtil* g_pOlAddrUtil = nullptr;
OlDateUtil* g_pOlDateUtil = nullptr;
OlTaskUtil* g_pOlTaskUtil = nullptr;
OlNoteUtil* g_pOlNoteUtil = nullptr;
CxList* g_pRecordList = nullptr;
CxList* g_pFieldList = nullptr;
CxQMOLAddrUtil* g_pAddrApplier = nullptr;
CxQMOLDateUtil* g_pDateApplier = nullptr;
CxQMOLTaskUtil* g_pTaskApplier = nullptr;
CxQMOLNoteUtil* g_pNoteApplier = nullptr;
CxUpdateProfileManager* g_pProfileManager = nullptr;
