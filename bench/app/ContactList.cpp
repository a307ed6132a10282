#include <stdlib.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTreeView>
#include <vector>

#include "app/Addrdata.h"
#include "app/Context.h"
#include "app/Look.h"
#include "bench/Report.h"
#include "bench/app/AppBench.h"
#include "common/outlook/OlAddr.h"

namespace qmbench {

namespace {

// Notes the first paint of one widget.
class PaintWatch : public QObject {
 public:
  explicit PaintWatch(QWidget* pWidget) : m_pWidget(pWidget) { m_pWidget->installEventFilter(this); }
  ~PaintWatch() override { m_pWidget->removeEventFilter(this); }
  bool Painted() const { return m_bPainted; }

 protected:
  bool eventFilter(QObject* pObject, QEvent* pEvent) override {
    if (pObject == m_pWidget && pEvent->type() == QEvent::Paint) m_bPainted = true;
    return false;
  }

 private:
  QWidget* m_pWidget;
  bool m_bPainted = false;
};

// Runs the event loop until the widget has painted, for at most a minute.
bool WaitForPaint(const PaintWatch& watch) {
  QElapsedTimer timer;
  timer.start();
  while (!watch.Painted() && timer.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 50);
  return watch.Painted();
}

}  // namespace

OffscreenGui::OffscreenGui() {
  static int argc = 1;
  static char szName[] = "qmbench";
  static char* argv[] = {szName, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  m_pApp = std::make_unique<QApplication>(argc, argv);
  ApplyLook(*m_pApp);
}

OffscreenGui::~OffscreenGui() = default;

bool MeasureContactList(OlAddrUtil* pAccessor, int nReps, ListFigures& figures,
                        std::string& strError) {
  OlAddrUtil* pWizardAccessor = g_pOlAddrUtil;
  g_pOlAddrUtil = pAccessor;
  std::vector<Elapsed> fills;
  std::vector<double> shown;
  {
    TfmAddrData page;
    // About the wizard's page area, so the view lays out as it would there.
    page.resize(780, 420);
    for (int nRep = 0; nRep < nReps; ++nRep) {
      page.hide();
      const Stopwatch watch;
      page.UpdateData(false);
      fills.push_back(watch.Read());
      PaintWatch paint(page.lvAddrData->viewport());
      page.show();
      if (!WaitForPaint(paint)) {
        strError = "the contact list was never painted";
        break;
      }
      shown.push_back(watch.Read().dWall);
    }
    figures.nRows = page.lvAddrData->model()->rowCount();
  }
  g_pOlAddrUtil = pWizardAccessor;
  figures.Fill = Median(fills);
  figures.dShown = Median(shown);
  return strError.empty();
}

}  // namespace qmbench
