#include <stdlib.h>

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "app/Application.h"
#include "app/Look.h"
#include "app/Main.h"
#include "app/Page.h"
#include "app/Product.h"
#include "bench/ChildProcess.h"
#include "bench/Report.h"
#include "bench/app/AppBench.h"
#include "olstore/olstore.h"
#include "platform/win32.h"

namespace qmbench {

namespace {

// The monotonic clock is one clock for every process of the machine, so a
// time the child takes compares with one the parent took.
int64_t NowNanos() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// Ends the event loop at the first paint of page 0, noting when it came.
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(QWidget* pPage) : m_pPage(pPage) { m_pPage->installEventFilter(this); }
  int64_t Nanos() const { return m_nNanos; }

 protected:
  bool eventFilter(QObject* pObject, QEvent* pEvent) override {
    if (pObject == m_pPage && pEvent->type() == QEvent::Paint && m_nNanos == 0) {
      m_nNanos = NowNanos();
      // After this paint has been delivered: page 0 is on the screen.
      QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    }
    return false;
  }

 private:
  QWidget* m_pPage;
  int64_t m_nNanos = 0;
};

constexpr int kChildTimeoutMs = 60000;

}  // namespace

int RunStartupChild(int argc, char** argv, int64_t nMainNanos) {
  // The program's own start, step by step as its entry runs it.
  TxApplication app(argc, argv);
  app.setApplicationName(QString::fromUtf8(kProductName));
  ApplyLook(app);
  app.setWindowIcon(QIcon(ProductLogo(64)));
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  olstore::RegisterOutlookApplication();

  auto* pMain = new TfmMain;
  TfmPage* pPage = pMain->PageAt(TfmMain::kFirstPage);
  if (!pPage) return 2;
  FirstPaint watch(pPage);
  pMain->show();
  QTimer::singleShot(kChildTimeoutMs, [] { QCoreApplication::exit(3); });
  const int nResult = app.exec();
  if (nResult == 0) {
    std::printf("main_ns %lld\npainted_ns %lld\n", static_cast<long long>(nMainNanos),
                static_cast<long long>(watch.Nanos()));
    std::fflush(stdout);
  }
  delete fmMain;
  CoUninitialize();
  return nResult;
}

bool MeasureStartup(int nRuns, StartupFigures& figures, std::string& strError) {
  namespace fs = std::filesystem;
  std::vector<double> process, inMain;
  // The first start also pulls the libraries into the page cache; it is not counted.
  for (int nRun = -1; nRun < nRuns; ++nRun) {
    char szFolder[] = "/tmp/qmbench-start-XXXXXX";
    if (!mkdtemp(szFolder)) {
      strError = "cannot make a settings folder";
      return false;
    }
    const std::vector<std::string> env = {
        "QT_QPA_PLATFORM=offscreen",
        std::string("XDG_DATA_HOME=") + szFolder,
        std::string("OLSTORE_PATH=") + szFolder + "/store.db",
    };
    ChildResult result;
    const int64_t nStart = NowNanos();
    const bool bRan = RunSelf({"--child-startup"}, env, result, strError);
    std::error_code ec;
    fs::remove_all(szFolder, ec);
    double dMain = 0, dPainted = 0;
    if (!bRan) return false;
    if (result.nExitCode != 0 || !OutputValue(result.strOutput, "main_ns", dMain) ||
        !OutputValue(result.strOutput, "painted_ns", dPainted)) {
      strError = "the start-up child failed (exit code " + std::to_string(result.nExitCode) + ")";
      return false;
    }
    if (nRun < 0) continue;
    process.push_back((dPainted - static_cast<double>(nStart)) / 1e9);
    inMain.push_back((dPainted - dMain) / 1e9);
  }
  figures.nRuns = nRuns;
  figures.dProcess = Median(process);
  figures.dInMain = Median(inMain);
  figures.dBest = process.empty() ? 0 : *std::min_element(process.begin(), process.end());
  return true;
}

}  // namespace qmbench
