// The main window: the six-step wizard, its page machine and the wizard
// context that ties the pages to Outlook.
#pragma once

#include <QWidget>
#include <cstddef>
#include <functional>

#include "update/Qmcommon.h"

class QLabel;
class QPushButton;
class QFrame;
class TfmPage;
class TxClickLabel;

class TfmMain : public QWidget {
  Q_OBJECT

 public:
  // The nine page windows, in creation order.
  enum PageWindow : int {
    pwMode,
    pwSource,
    pwUpdateField,
    pwAddrData,
    pwDateData,
    pwTaskData,
    pwNoteData,
    pwProc,
    pwFinish,
    pwCount
  };
  static constexpr int kFirstPage = 0;
  static constexpr int kLastPage = 5;

  // Runs FormCreate: settings, debug log, pages, then page 0. The window frees
  // itself when it is closed, running FormDestroy.
  explicit TfmMain(QWidget* pParent = nullptr);
  ~TfmMain() override;

  // The page machine: bounds the target to 0..5, runs the leave-check of the
  // page before a forward target and the target's enter step, then shows it.
  void GoToPage(int nPage);
  // Shows page m_nCurPage and refreshes the buttons and the step text.
  void ShowPage();
  int GetCurPage() const { return m_nCurPage; }

  // The page window at wizard index nIndex (0..5) for the current mode; none at
  // index 3 when the mode has no selection page.
  TfmPage* PageAt(int nIndex) const;
  TfmPage* GetPageWindow(PageWindow nWindow) const {
    return nWindow >= 0 && nWindow < pwCount ? m_pPages[nWindow] : nullptr;
  }
  // Puts pPage (taken over, reparented to pClient) in place of a page window,
  // freeing the one it replaces. Lets a test watch the page machine through
  // pages that record their calls.
  void SetPageWindow(PageWindow nWindow, TfmPage* pPage);

  // The wizard context. OpenContext builds it all or nothing (false: Outlook
  // could not be reached, every context pointer is none), telling fnItemRead
  // (when given) the number of items read so far after each one; CloseContext
  // frees what exists and may be called any number of times.
  bool OpenContext(const std::function<void(size_t nItems)>& fnItemRead = nullptr);
  void CloseContext();
  // Clears a new definition: all zero, no field chosen.
  static void InitFieldDefinition(FieldUpdateDef* pDef);
  // The catalogue entry of a field of the current mode; none without an open
  // context or with a mode that is not 1, 2, 4 or 8.
  static const FieldDescriptor* FindFieldInfo(int nFieldID);

  // The error report dialog, modal over pOwner.
  void ShowErrorReport(QWidget* pOwner);
  // The debug-log options dialog, modal over the main window.
  void ShowDebugOptions();

  // Header
  TxClickLabel* imgIcon;
  TxClickLabel* imgText;
  QLabel* lblStep;
  QPushButton* btnHelp;
  // Middle: parent of every page window
  QFrame* pClient;
  // Bottom
  QPushButton* btnOption;
  QPushButton* btnPrev;
  QPushButton* btnNext;
  QPushButton* btnClose;

 protected:
  // Refuses to close while an update run or a read holds the window, so
  // neither loses the objects it works on.
  void closeEvent(QCloseEvent* pEvent) override;

 private:
  void BuildWindow();
  void FormCreate();
  void FormDestroy();
  void CreatePages();
  void DestroyPages();
  // Steps 3 to 5 of GoToPage, run under the exception guard.
  void MoveToPage(int nPage);

  void btnPrevClick();
  void btnNextClick();
  void btnCloseClick();
  void btnHelpClick();
  void btnOptionClick();
  void imgIconClick();

  int m_nCurPage;
  TfmPage* m_pPages[pwCount];
  bool m_bReading;
};

// The one main window while it exists; none before and after.
extern TfmMain* fmMain;
