#include "app/Proc.h"

#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <string>

#include "app/Apputil.h"
#include "app/Context.h"
#include "app/Main.h"
#include "common/misc/CxDebugUtil.h"
#include "common/misc/CxList.h"
#include "update/Qmoladdr.h"
#include "update/Qmoldate.h"
#include "update/Qmolnote.h"
#include "update/Qmoltask.h"

namespace {

constexpr int kStartDelay = 500;   // ms between entering the page and the run
constexpr int kRecordPause = 100;  // ms after each record
constexpr int kFinishPause = 200;  // ms before the summary

// How the log names an item, so the user can find the one that failed.
std::string ItemName(const AddrImage& image) {
  if (image.FullName[0]) return image.FullName;
  std::string strName = image.FirstName;
  if (image.FirstName[0] && image.LastName[0]) strName += ' ';
  strName += image.LastName;
  return strName.empty() ? "<no name>" : strName;
}

template <typename TImage>
std::string ItemName(const TImage& image) {
  return image.Subject[0] ? std::string(image.Subject) : std::string("<no subject>");
}

std::string FieldName(const FieldUpdateDef& def) {
  const FieldDescriptor* pInfo = TfmMain::FindFieldInfo(def.nFieldID);
  return pInfo ? pInfo->szName : "field " + std::to_string(def.nFieldID);
}

// The step of one record, the same for every kind with that kind's applier:
// every definition in list order, then one save when there was a definition.
template <typename TRecord, typename TApplier>
bool ApplyDefinitions(TApplier* pApplier, TRecord* pRecord, const char* szKind) {
  if (!pRecord->Image) {
    QM_LOG(0, "A selected %s has no item image and was not updated.", szKind);
    return false;
  }
  const std::string strName = ItemName(*pRecord->Image);
  if (!pApplier) {
    QM_LOG(0, "The %s \"%s\" was not updated: no applier is open.", szKind, strName.c_str());
    return false;
  }
  bool bUpdated = true;
  bool bAnyDefinition = false;
  for (void* p = g_pFieldList->GetFirst(); p; p = g_pFieldList->GetNext()) {
    const auto* pDef = static_cast<FieldUpdateDef*>(p);
    bAnyDefinition = true;
    if (!pApplier->Apply(pRecord->Image, pDef)) {
      bUpdated = false;
      QM_LOG(0, "The %s \"%s\": %s could not be changed.", szKind, strName.c_str(),
             FieldName(*pDef).c_str());
    }
  }
  if (bAnyDefinition && !pApplier->Save(pRecord->Image)) {
    bUpdated = false;
    QM_LOG(0, "The %s \"%s\" could not be saved to Outlook.", szKind, strName.c_str());
  }
  return bUpdated;
}

}  // namespace

TfmProc::TfmProc(QWidget* pParent) : TfmPage(pParent), m_bRunning(false) {
  lblStatus = new QLabel(QStringLiteral("Updating now, please wait ..."), this);
  pbMain = new QProgressBar(this);
  pbMain->setRange(0, 100);
  pbMain->setValue(0);
  pbMain->setTextVisible(true);
  tmUpdate = new QTimer(this);
  tmUpdate->setSingleShot(true);
  tmUpdate->setInterval(kStartDelay);
  connect(tmUpdate, &QTimer::timeout, this, &TfmProc::tmUpdateTimer);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->setContentsMargins(80, 0, 80, 0);
  pLayout->addStretch();
  pLayout->addWidget(lblStatus);
  pLayout->addSpacing(8);
  pLayout->addWidget(pbMain);
  pLayout->addStretch();
}

bool TfmProc::UpdateData(bool bSave) {
  if (!bSave) {
    // Arming again while armed restarts the wait: the run still happens once.
    tmUpdate->start();
    emit RunScheduled();
  }
  return true;
}

void TfmProc::tmUpdateTimer() {
  tmUpdate->stop();
  // Cleared on every way out, an unexpected error included, so the window can
  // still be closed afterwards.
  struct RunningFlag {
    bool& bRunning;
    explicit RunningFlag(bool& bFlag) : bRunning(bFlag) { bRunning = true; }
    ~RunningFlag() { bRunning = false; }
  } running(m_bRunning);
  pbMain->setValue(0);
  const int nCount = g_pRecordList ? static_cast<int>(g_pRecordList->GetCount()) : 0;
  int nNotUpdated = 0;
  if (nCount > 0) {
    const double dStep = 100.0 / nCount;
    int n = 0;
    for (void* pRecord = g_pRecordList->GetFirst(); pRecord;
         pRecord = g_pRecordList->GetNext(), ++n) {
      if (!UpdateRecord(pRecord)) ++nNotUpdated;
      pbMain->setValue(static_cast<int>((n + 1) * dStep));
      Pause(kRecordPause);
    }
  }
  pbMain->setValue(100);
  lblStatus->setText(QStringLiteral("Update finishing ... "));
  Pause(kFinishPause);
  emit RunFinished(nCount, nNotUpdated);
  if (fmMain) fmMain->GoToPage(5);
}

bool TfmProc::UpdateRecord(void* pRecord) {
  if (!g_pFieldList) return false;
  switch (g_Settings.AppFlag) {
    case 1:
      return ApplyDefinitions(g_pAddrApplier, static_cast<AddrRecord*>(pRecord), "contact");
    case 2:
      return ApplyDefinitions(g_pDateApplier, static_cast<DateRecord*>(pRecord), "calendar item");
    case 4:
      return ApplyDefinitions(g_pTaskApplier, static_cast<TaskRecord*>(pRecord), "task");
    case 8:
      return ApplyDefinitions(g_pNoteApplier, static_cast<NoteRecord*>(pRecord), "note");
    default:
      QM_LOG(0, "A record was not updated: the data mode %d is unknown.",
             static_cast<int>(g_Settings.AppFlag));
      return false;
  }
}

void TfmProc::Pause(int nMilliseconds) {
  // A nested loop that only paints and runs posted work: the progress bar and
  // the status move, while clicks and keys wait until the run has ended.
  QEventLoop loop;
  QTimer::singleShot(nMilliseconds, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}
