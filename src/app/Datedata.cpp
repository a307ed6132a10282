#include "app/Datedata.h"

TfmDateData::TfmDateData(QWidget* pParent) : TfmPage(pParent) {}

bool TfmDateData::UpdateData(bool /*bSave*/) { return true; }
