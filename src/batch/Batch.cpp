// quillmere-batch: the wizard's field updates from a command line, for
// scripts and large folders.
#include <cstdio>
#include <string>
#include <vector>

#include "app/Apputil.h"
#include "batch/CxBatchArgs.h"
#include "batch/CxBatchTool.h"
#include "common/misc/CxDebugUtil.h"
#include "platform/win32.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  CxBatchArgs parsed;
  std::string strError;
  if (!ParseBatchArgs(args, &parsed, &strError)) {
    fprintf(stderr, "quillmere-batch: %s (quillmere-batch --help says more)\n", strError.c_str());
    return beUsage;
  }
  if (parsed.bHelp) {
    fputs(GetBatchHelp(parsed.nCommand), stdout);
    return beDone;
  }
  // The wizard's settings and log, and Outlook on this one thread; where no
  // Outlook is installed the local one answers to its name.
  LoadProgramSettings();
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  char szReason[256] = {};
  if (!PalStartLocalOutlook(szReason, sizeof szReason))
    QM_LOG(0, "The local Outlook store could not be registered: %s", szReason);
  const int nExit = CxBatchTool(stdout, stderr, stdin).Execute(parsed);
  CoUninitialize();
  return nExit;
}
