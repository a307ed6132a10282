#include "app/Datedata.h"

#include "app/Context.h"
#include "app/Datedetail.h"
#include "common/outlook/OlDate.h"

namespace {

const RecordColumn kColumns[] = {
    {"Description", 360, ddkDescription},
    {"Date", 100, ddkDate},
    {"Start Time", 100, ddkStartTime},
    {"End Time", 100, ddkEndTime},
};

const RecordPageKind kKind = {
    kColumns,
    &ContainerText<CommDateMgr, DateRecord, DisplayField>,
    false,
    "No calendar record is selected. Please select the records you want to update.",
    [] { return ContainerRecords(g_pOlDateUtil ? g_pOlDateUtil->GetContainer() : nullptr); },
    &ShowRecordDetail<TfmDateDetail, DateRecord>,
    &RecordFolderText<DateRecord>,
    []() -> const OlBaseUtil* { return g_pOlDateUtil; },
};

}  // namespace

TfmDateData::TfmDateData(QWidget* pParent)
    : TfmRecordPage(kKind, pParent),
      lvDateData(List()),
      btnDateDetail(DetailButton()),
      pmDateData(PopupMenu()),
      pmiDateSelAll(SelAllItem()),
      pmiDateClear(ClearItem()),
      pmiDateDetail(DetailItem()) {}
