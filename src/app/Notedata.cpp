#include "app/Notedata.h"

TfmNoteData::TfmNoteData(QWidget* pParent) : TfmPage(pParent) {}

bool TfmNoteData::UpdateData(bool /*bSave*/) { return true; }
