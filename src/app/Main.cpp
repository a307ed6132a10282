#include "app/Main.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "app/AccessibleNames.h"
#include "app/Addrdata.h"
#include "app/Apputil.h"
#include "app/ClickLabel.h"
#include "app/Context.h"
#include "app/Datedata.h"
#include "app/Debugger.h"
#include "app/Dump.h"
#include "app/Finish.h"
#include "app/Look.h"
#include "app/Mode.h"
#include "app/Notedata.h"
#include "app/Proc.h"
#include "app/Product.h"
#include "app/ProgramText.h"
#include "app/Source.h"
#include "app/Taskdata.h"
#include "app/UiSeams.h"
#include "app/Updatefield.h"
#include "common/misc/CxDebugUtil.h"
#include "common/misc/CxList.h"
#include "common/misc/WinUtil.h"
#include "common/outlook/OlAddr.h"
#include "common/outlook/OlDate.h"
#include "common/outlook/OlNote.h"
#include "common/outlook/OlTask.h"
#include "update/Qmoladdr.h"
#include "update/Qmoldate.h"
#include "update/Qmolnote.h"
#include "update/Qmoltask.h"

TfmMain* fmMain = nullptr;

namespace {

constexpr int kClientWidth = 794;
constexpr int kClientHeight = 544;

const char* const kStepTexts[] = {
    "Please choose the Outlook data updating mode.",
    "Please set the Outlook access options.",
    "Please set the record field information for updating.",
    "Please select the Outlook records you want to update.",
    "Fields updating is running now ...",
    "Outlook record fields updating finished.",
};

// The page table: the page window at each wizard index. Index 3 is the
// selection page of the current mode (kSelectionPages).
constexpr TfmMain::PageWindow kByMode = TfmMain::pwCount;
const TfmMain::PageWindow kPageTable[] = {
    TfmMain::pwMode, TfmMain::pwSource, TfmMain::pwUpdateField,
    kByMode,         TfmMain::pwProc,   TfmMain::pwFinish,
};

struct SelectionPage {
  int32_t nMode;
  TfmMain::PageWindow nWindow;
};
const SelectionPage kSelectionPages[] = {
    {1, TfmMain::pwAddrData},
    {2, TfmMain::pwDateData},
    {4, TfmMain::pwTaskData},
    {8, TfmMain::pwNoteData},
};

template <typename T>
void FreeObject(T*& pObject) {
  delete pObject;
  pObject = nullptr;
}

// Creates one accessor and reports whether it reached Outlook.
template <typename TAccessor>
bool CreateAccessor(TAccessor*& pAccessor) {
  pAccessor = new (std::nothrow) TAccessor();
  return pAccessor && pAccessor->IsConnected();
}

template <typename TApplier, typename TAccessor>
bool CreateApplier(TApplier*& pApplier, TAccessor* pAccessor) {
  pApplier = new (std::nothrow) TApplier();
  if (!pApplier) return false;
  pApplier->SetAccessor(pAccessor);
  return true;
}

void ReadItems(OlBaseUtil* pAccessor, const std::function<void(size_t)>& fnItemRead) {
  pAccessor->SetIncludeSubfolders(g_Settings.SubFolder);
  // The watcher belongs to the caller, who is told only about this read.
  pAccessor->SetReadWatcher(fnItemRead);
  // A failed read is not an error here: the selection page shows what was
  // read, and why no more when the read stopped early.
  pAccessor->ReadItems();
  pAccessor->SetReadWatcher(nullptr);
}

}  // namespace

TfmMain::TfmMain(QWidget* pParent)
    : QWidget(pParent), m_nCurPage(0), m_pPages{}, m_bReading(false) {
  fmMain = this;
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString::fromUtf8(kProductName));
  BuildWindow();
  FormCreate();
}

TfmMain::~TfmMain() {
  FormDestroy();
  if (fmMain == this) fmMain = nullptr;
}

void TfmMain::BuildWindow() {
  setFixedSize(kClientWidth, kClientHeight);

  auto* pHeader = new QFrame(this);
  SetRole(pHeader, "header");
  pHeader->setFixedHeight(96);
  imgIcon = new TxClickLabel(pHeader);
  imgIcon->setPixmap(ProductLogo(64));
  imgText = new TxClickLabel(pHeader);
  imgText->setPixmap(ProductNamePicture());
  lblStep = new QLabel(pHeader);
  lblStep->setObjectName(QStringLiteral("lblStep"));
  btnHelp = new QPushButton(QStringLiteral("&Help"), pHeader);
  auto* pTitle = new QVBoxLayout;
  pTitle->addWidget(imgText);
  pTitle->addWidget(lblStep);
  auto* pHeaderRow = new QHBoxLayout(pHeader);
  pHeaderRow->setContentsMargins(16, 8, 16, 8);
  pHeaderRow->addWidget(imgIcon);
  pHeaderRow->addSpacing(8);
  pHeaderRow->addLayout(pTitle, 1);
  pHeaderRow->addWidget(btnHelp, 0, Qt::AlignTop);

  pClient = new QFrame(this);
  pClient->setObjectName(QStringLiteral("pClient"));
  // Every page window sits in the same cell; only the one on show is visible.
  auto* pPages = new QGridLayout(pClient);
  pPages->setContentsMargins(0, 0, 0, 0);

  auto* pFooter = new QFrame(this);
  SetRole(pFooter, "footer");
  btnOption = new QPushButton(QStringLiteral("&Options"), pFooter);
  btnPrev = new QPushButton(QStringLiteral("< &Prev"), pFooter);
  btnNext = new QPushButton(QStringLiteral("&Next >"), pFooter);
  btnClose = new QPushButton(QStringLiteral("&Cancel"), pFooter);
  auto* pFooterRow = new QHBoxLayout(pFooter);
  pFooterRow->setContentsMargins(16, 10, 16, 10);
  pFooterRow->addWidget(btnOption);
  pFooterRow->addStretch();
  pFooterRow->addWidget(btnPrev);
  pFooterRow->addWidget(btnNext);
  pFooterRow->addSpacing(12);
  pFooterRow->addWidget(btnClose);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->setContentsMargins(0, 0, 0, 0);
  pLayout->setSpacing(0);
  pLayout->addWidget(pHeader);
  auto* pMiddle = new QVBoxLayout;
  pMiddle->setContentsMargins(10, 10, 10, 10);
  pMiddle->addWidget(pClient);
  pLayout->addLayout(pMiddle, 1);
  pLayout->addWidget(pFooter);

  connect(btnPrev, &QPushButton::clicked, this, &TfmMain::btnPrevClick);
  connect(btnNext, &QPushButton::clicked, this, &TfmMain::btnNextClick);
  connect(btnClose, &QPushButton::clicked, this, &TfmMain::btnCloseClick);
  connect(btnHelp, &QPushButton::clicked, this, &TfmMain::btnHelpClick);
  connect(btnOption, &QPushButton::clicked, this, &TfmMain::btnOptionClick);
  connect(imgIcon, &TxClickLabel::clicked, this, &TfmMain::imgIconClick);
  connect(imgText, &TxClickLabel::clicked, this, &TfmMain::imgIconClick);

  if (QScreen* pScreen = screen()) {
    const QRect desktop = pScreen->availableGeometry();
    move(desktop.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
  }
}

void TfmMain::FormCreate() {
  LoadProgramSettings();

  CreatePages();
  NameControls(this);
  // No context before page 1 is left; frees one a previous window left behind.
  CloseContext();
  m_nCurPage = 0;
  GoToPage(0);
  // What the user asked the shell to open and it could not, the user hears of.
  ReportShellOpenFailures(this);
}

void TfmMain::FormDestroy() {
  if (fmMain == this) ReportShellOpenFailures(nullptr);
  SaveSettings();
  CloseContext();
  DestroyPages();
}

void TfmMain::CreatePages() {
  m_pPages[pwMode] = new TfmMode(pClient);
  m_pPages[pwSource] = new TfmSource(pClient);
  m_pPages[pwUpdateField] = new TfmUpdateField(pClient);
  m_pPages[pwAddrData] = new TfmAddrData(pClient);
  m_pPages[pwDateData] = new TfmDateData(pClient);
  m_pPages[pwTaskData] = new TfmTaskData(pClient);
  m_pPages[pwNoteData] = new TfmNoteData(pClient);
  auto* pProc = new TfmProc(pClient);
  auto* pFinish = new TfmFinish(pClient);
  m_pPages[pwProc] = pProc;
  m_pPages[pwFinish] = pFinish;
  connect(pProc, &TfmProc::RunScheduled, pFinish, &TfmFinish::ClearRunOutcome);
  connect(pProc, &TfmProc::RunFinished, pFinish, &TfmFinish::SetRunOutcome);
  connect(pProc, &TfmProc::RunRefused, pFinish, &TfmFinish::SetRunRefused);
  auto* pPages = static_cast<QGridLayout*>(pClient->layout());
  for (TfmPage* pPage : m_pPages) {
    pPages->addWidget(pPage, 0, 0);
    pPage->hide();
  }
}

void TfmMain::DestroyPages() {
  for (TfmPage*& pPage : m_pPages) FreeObject(pPage);
}

void TfmMain::SetPageWindow(PageWindow nWindow, TfmPage* pPage) {
  if (nWindow < 0 || nWindow >= pwCount || !pPage) return;
  auto* pPages = static_cast<QGridLayout*>(pClient->layout());
  pPages->addWidget(pPage, 0, 0);
  pPage->setVisible(m_pPages[nWindow] && m_pPages[nWindow]->isVisible());
  delete m_pPages[nWindow];
  m_pPages[nWindow] = pPage;
}

TfmPage* TfmMain::PageAt(int nIndex) const {
  if (nIndex < kFirstPage || nIndex > kLastPage) return nullptr;
  PageWindow nWindow = kPageTable[nIndex];
  if (nWindow != kByMode) return m_pPages[nWindow];
  for (const SelectionPage& page : kSelectionPages)
    if (page.nMode == g_Settings.AppFlag) return m_pPages[page.nWindow];
  // An unknown mode has no selection page until the mode page stores one.
  return nullptr;
}

void TfmMain::GoToPage(int nPage) {
  if (nPage < kFirstPage) nPage = kFirstPage;
  if (nPage > kLastPage) nPage = kLastPage;
  try {
    MoveToPage(nPage);
  } catch (...) {
    // The wizard stays where it was: m_nCurPage changes only after the steps.
    ShowErrorReport(this);
  }
}

void TfmMain::MoveToPage(int nPage) {
  if (nPage == kFirstPage) {
    if (TfmPage* pMode = PageAt(kFirstPage)) pMode->UpdateData(false);
  } else if (m_nCurPage < nPage) {
    // The page just before the target, which is not always the one on show.
    TfmPage* pLeave = PageAt(nPage - 1);
    if (pLeave && !pLeave->UpdateData(true)) return;
    if (TfmPage* pEnter = PageAt(nPage)) pEnter->UpdateData(false);
  }
  m_nCurPage = nPage;
  ShowPage();
}

void TfmMain::ShowPage() {
  btnPrev->setEnabled(m_nCurPage > kFirstPage && m_nCurPage < kLastPage);
  btnNext->setEnabled(m_nCurPage < kLastPage);
  btnClose->setText(m_nCurPage == kLastPage ? QStringLiteral("&Finish") : QStringLiteral("&Cancel"));
  btnClose->setAccessibleName(ReadableCaption(btnClose->text()));
  TfmPage* pShow = PageAt(m_nCurPage);
  for (TfmPage* pPage : m_pPages)
    if (pPage && pPage != pShow) pPage->hide();
  if (pShow) pShow->show();
  lblStep->setText(QString::fromUtf8(kStepTexts[m_nCurPage]));
}

bool TfmMain::OpenContext(const std::function<void(size_t)>& fnItemRead) {
  CloseContext();
  // All four kinds share one connection; each must reach Outlook.
  if (!CreateAccessor(g_pOlAddrUtil) || !CreateAccessor(g_pOlDateUtil) ||
      !CreateAccessor(g_pOlTaskUtil) || !CreateAccessor(g_pOlNoteUtil)) {
    CloseContext();
    return false;
  }
  const struct {
    int32_t nMode;
    OlBaseUtil* pAccessor;
  } readers[] = {{1, g_pOlAddrUtil}, {2, g_pOlDateUtil}, {4, g_pOlTaskUtil}, {8, g_pOlNoteUtil}};
  OlBaseUtil* pRead = nullptr;
  for (const auto& reader : readers)
    if (reader.nMode == g_Settings.AppFlag) pRead = reader.pAccessor;
  if (pRead) {
    m_bReading = true;
    const auto reading = qScopeGuard([this] { m_bReading = false; });
    ReadItems(pRead, fnItemRead);
  }
  g_pRecordList = new (std::nothrow) CxList;
  g_pFieldList = new (std::nothrow) CxList;
  // All or nothing: a context without its lists, appliers or profile manager
  // would fail later on a page that cannot say why.
  if (!g_pRecordList || !g_pFieldList || !CreateApplier(g_pAddrApplier, g_pOlAddrUtil) ||
      !CreateApplier(g_pDateApplier, g_pOlDateUtil) ||
      !CreateApplier(g_pTaskApplier, g_pOlTaskUtil) ||
      !CreateApplier(g_pNoteApplier, g_pOlNoteUtil) ||
      !(g_pProfileManager = new (std::nothrow) CxUpdateProfileManager)) {
    CloseContext();
    return false;
  }
  return true;
}

void TfmMain::CloseContext() {
  FreeObject(g_pOlAddrUtil);
  FreeObject(g_pOlDateUtil);
  FreeObject(g_pOlTaskUtil);
  FreeObject(g_pOlNoteUtil);
  if (g_pRecordList) {
    // The records belong to the accessors' containers.
    g_pRecordList->RemoveAll(false);
    FreeObject(g_pRecordList);
  }
  if (g_pFieldList) {
    for (void* pDef = g_pFieldList->GetFirst(); pDef; pDef = g_pFieldList->GetNext()) free(pDef);
    g_pFieldList->RemoveAll(false);
    FreeObject(g_pFieldList);
  }
  FreeObject(g_pAddrApplier);
  FreeObject(g_pDateApplier);
  FreeObject(g_pTaskApplier);
  FreeObject(g_pNoteApplier);
  FreeObject(g_pProfileManager);
}

void TfmMain::InitFieldDefinition(FieldUpdateDef* pDef) {
  if (!pDef) return;
  memset(pDef, 0, sizeof *pDef);
  pDef->nFieldID = -1;
}

const FieldDescriptor* TfmMain::FindFieldInfo(int nFieldID) {
  switch (g_Settings.AppFlag) {
    case 1: return g_pAddrApplier ? CxQMOLAddrUtil::FindField(nFieldID) : nullptr;
    case 2: return g_pDateApplier ? CxQMOLDateUtil::FindField(nFieldID) : nullptr;
    case 4: return g_pTaskApplier ? CxQMOLTaskUtil::FindField(nFieldID) : nullptr;
    case 8: return g_pNoteApplier ? CxQMOLNoteUtil::FindField(nFieldID) : nullptr;
    default: return nullptr;
  }
}

void TfmMain::ShowErrorReport(QWidget* pOwner) {
  TfmDump dialog(pOwner);
  dialog.exec();
}

void TfmMain::ShowDebugOptions() {
  TfmDebug dialog(this);
  dialog.exec();
}

void TfmMain::closeEvent(QCloseEvent* pEvent) {
  const auto* pProc = qobject_cast<const TfmProc*>(m_pPages[pwProc]);
  if (m_bReading || (pProc && pProc->IsRunning())) {
    pEvent->ignore();
    return;
  }
  QWidget::closeEvent(pEvent);
}

void TfmMain::btnPrevClick() { GoToPage(m_nCurPage - 1); }

void TfmMain::btnNextClick() { GoToPage(m_nCurPage + 1); }

void TfmMain::btnCloseClick() { close(); }

void TfmMain::btnHelpClick() {
  // The guide ships next to the executable, wherever the program was started from.
  char szFolder[MAX_PATH] = {};
  GetModuleFolder(nullptr, szFolder);
  const QString strGuide = FromProgramText(szFolder) + FromProgramText(kGuideFileName);
  if (!QFileInfo(strGuide).isFile()) {
    ShowMessageBox(this, QStringLiteral("The user guide was not found at %1.").arg(strGuide),
                   QStringLiteral("Error"), QMessageBox::Information);
    return;
  }
  ShellOpen(ToProgramText(strGuide).constData());
}

void TfmMain::btnOptionClick() { ShowDebugOptions(); }

void TfmMain::imgIconClick() { OpenProductWebPage(); }
