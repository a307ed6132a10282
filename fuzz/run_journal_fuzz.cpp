// The run journal on arbitrary bytes: the file is opened as the journal, and
// when it is accepted every run is listed, found and read with all its items
// and values, as the past runs' window and an undo read them. A file that is
// no journal is refused with a reason.
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "update/CxRunJournal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = FuzzPath("journal.db");
  RemoveFuzzFile(path);
  WriteFuzzFile(path, data, size);

  CxRunJournal journal;
  std::string error;
  if (!journal.Open(path, &error)) {
    FUZZ_CHECK(!error.empty() && !journal.IsOpen());
    return 0;
  }
  std::string listError;
  for (const CxJournalRun& run : journal.ListRuns(&listError)) {
    CxJournalRun found;
    FUZZ_CHECK(journal.FindRun(run.nID, &found) && found.nID == run.nID);
    std::vector<CxJournalItem> items;
    std::string loadError;
    if (!journal.LoadItems(run.nID, &items, &loadError)) {
      FUZZ_CHECK(!loadError.empty());
      continue;
    }
    for (const CxJournalItem& item : items) {
      for (const CxJournalChange& change : item.Changes) {
        for (const CxJournalValue* pValue : {&change.Old, &change.New}) {
          // Shown in the undo preview, and put back by an undo when its type
          // is one the journal keeps.
          (void)pValue->Text();
          VARIANT value;
          if (SUCCEEDED(pValue->ToVariant(&value))) VariantClear(&value);
        }
      }
    }
  }
  return 0;
}
