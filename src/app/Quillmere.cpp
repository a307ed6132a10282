// The program's entry: the application object, the main window and the
// message loop, with the last line of defence around them.
#include <exception>

#include "app/Application.h"
#include "app/Look.h"
#include "app/Main.h"
#include "app/Product.h"
#include "common/misc/CxDebugUtil.h"
#include "platform/win32.h"

#ifndef _WIN32
#include "olstore/olstore.h"
#endif

int main(int argc, char** argv) {
  TxApplication app(argc, argv);
  app.setApplicationName(QString::fromUtf8(kProductName));
  app.setStyleSheet(AppStyleSheet());
  app.setWindowIcon(QIcon(ProductLogo(64)));

  // Outlook is reached through COM on this one thread. Without Windows the
  // local Outlook store answers to Outlook's name; if it cannot register, page
  // 1 says "Not Found." and the wizard cannot go past it.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
#ifndef _WIN32
  const bool bStoreRegistered = olstore::RegisterOutlookApplication();
#endif

  try {
    (new TfmMain)->show();
#ifndef _WIN32
    // Logged once the main window has pointed the log at the data folder.
    if (!bStoreRegistered)
      QM_LOG(0, "The local Outlook store could not be registered: %s",
             olstore::LastError().c_str());
#endif
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
