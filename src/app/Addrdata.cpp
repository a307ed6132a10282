#include "app/Addrdata.h"

TfmAddrData::TfmAddrData(QWidget* pParent) : TfmPage(pParent) {}

bool TfmAddrData::UpdateData(bool /*bSave*/) { return true; }
