// The program's entry: the application object, the main window and the
// message loop, with the last line of defence around them.
#include <exception>

#include "app/Application.h"
#include "app/Look.h"
#include "app/Main.h"
#include "app/Product.h"
#include "common/misc/CxDebugUtil.h"
#include "platform/win32.h"

int main(int argc, char** argv) {
  TxApplication app(argc, argv);
  app.setApplicationName(QString::fromUtf8(kProductName));
  ApplyLook(app);
  app.setWindowIcon(QIcon(ProductLogo(64)));

  // Outlook is reached through COM on this one thread. Where no Outlook is
  // installed a local one answers to Outlook's name; if it cannot start, page
  // 1 says "Not Found." and the wizard cannot go past it.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  char szReason[256] = {};
  const bool bLocalStarted = PalStartLocalOutlook(szReason, sizeof szReason);

  try {
    (new TfmMain)->show();
    // Logged once the main window has pointed the log at the data folder.
    if (!bLocalStarted) QM_LOG(0, "The local Outlook store could not be registered: %s", szReason);
    app.exec();
  } catch (const std::exception& e) {
    ShowExceptionMessage(QString::fromUtf8(e.what()));
    if (fmMain) fmMain->ShowErrorReport(fmMain);
  } catch (...) {
    if (fmMain) fmMain->ShowErrorReport(fmMain);
    ShowExceptionMessage(QString());
  }
  // The window frees itself when closed; one that is still there (the loop
  // ended by an error) saves the settings and closes the context now.
  delete fmMain;
  CoUninitialize();
  return 0;
}
