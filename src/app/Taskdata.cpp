#include "app/Taskdata.h"

TfmTaskData::TfmTaskData(QWidget* pParent) : TfmPage(pParent) {}

bool TfmTaskData::UpdateData(bool /*bSave*/) { return true; }
