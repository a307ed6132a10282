#include "app/Notedata.h"

#include "app/Context.h"
#include "app/Notedetail.h"
#include "common/outlook/OlNote.h"

namespace {

const RecordColumn kColumns[] = {
    {"Description", 660, ndkNote},
};

const RecordPageKind kKind = {
    kColumns,
    &ContainerText<CommNoteMgr, NoteRecord, DisplayField>,
    false,
    "No note record is selected. Please select the records you want to update.",
    [] { return ContainerRecords(g_pOlNoteUtil ? g_pOlNoteUtil->GetContainer() : nullptr); },
    &ShowRecordDetail<TfmNoteDetail, NoteRecord>,
    &RecordFolderText<NoteRecord>,
    []() -> const OlBaseUtil* { return g_pOlNoteUtil; },
};

}  // namespace

TfmNoteData::TfmNoteData(QWidget* pParent)
    : TfmRecordPage(kKind, pParent),
      lvNoteData(List()),
      btnMemoDetail(DetailButton()),
      pmiMemoData(PopupMenu()),
      pmiMemoSelAll(SelAllItem()),
      pmiMemoClear(ClearItem()),
      pmiMemoDetail(DetailItem()) {}
