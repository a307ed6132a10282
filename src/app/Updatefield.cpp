#include "app/Updatefield.h"

TfmUpdateField::TfmUpdateField(QWidget* pParent) : TfmPage(pParent) {}

bool TfmUpdateField::UpdateData(bool /*bSave*/) { return true; }
