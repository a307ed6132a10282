#include "app/Addrdata.h"

#include "app/Addrdetail.h"
#include "app/Context.h"
#include "common/outlook/OlAddr.h"

namespace {

const RecordColumn kColumns[] = {
    {"First Name", 80, 1},       {"Last Name", 80, 3},     {"Email", 120, 37},
    {"Business Phone", 100, 25}, {"Home Phone", 100, 24},  {"Mobile Phone", 100, 26},
    {"Company", 100, 53},        {"Title", 80, 55},
};

const RecordPageKind kKind = {
    kColumns,
    &ContainerText<CommAddrMgr, AddrRecord, AddrDisplayField>,
    false,
    "No contact record is selected. Please select the records you want to update.",
    [] { return ContainerRecords(g_pOlAddrUtil ? g_pOlAddrUtil->GetContainer() : nullptr); },
    &ShowRecordDetail<TfmAddrDetail, AddrRecord>,
    &RecordFolderText<AddrRecord>,
    []() -> const OlBaseUtil* { return g_pOlAddrUtil; },
};

}  // namespace

TfmAddrData::TfmAddrData(QWidget* pParent)
    : TfmRecordPage(kKind, pParent),
      lvAddrData(List()),
      btnAddrDetail(DetailButton()),
      pmAddrDetail(PopupMenu()),
      pmiAddrSelAll(SelAllItem()),
      pmiAddrClear(ClearItem()),
      pmiAddrDetail(DetailItem()) {}
