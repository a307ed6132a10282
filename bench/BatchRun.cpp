#include "bench/BatchRun.h"

#include <stdlib.h>

#include <filesystem>
#include <vector>

#include "bench/ChildProcess.h"
#include "bench/ItemKinds.h"
#include "bench/SqlBaseline.h"

namespace qmbench {

namespace fs = std::filesystem;

namespace {

// The tool is built next to this program.
std::string BatchProgram() {
  std::error_code ec;
  return (fs::read_symlink("/proc/self/exe", ec).parent_path() / "quillmere-batch").string();
}

// A folder removed with everything in it when it ends.
class TempFolder {
 public:
  explicit TempFolder(const std::string& strParent) {
    std::string strTemplate = strParent + "/qmbench-batch-XXXXXX";
    if (mkdtemp(strTemplate.data())) m_strPath = strTemplate;
  }
  ~TempFolder() {
    std::error_code ec;
    if (!m_strPath.empty()) fs::remove_all(m_strPath, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return m_strPath; }

 private:
  std::string m_strPath;
};

int64_t CountJobTitles(sqlite3* pDb, const std::string& strTitle) {
  SqlStatement count(pDb, "SELECT count(*) FROM contacts WHERE JobTitle = ?1");
  if (!count.Ok()) return -1;
  sqlite3_bind_text(count.Get(), 1, strTitle.c_str(), -1, SQLITE_TRANSIENT);
  const int64_t n = count.Step() ? sqlite3_column_int64(count.Get(), 0) : -1;
  count.Reset();
  return n;
}

bool RunBatch(const std::string& strStore, const std::string& strDataFolder,
              const std::string& strTitle, Elapsed& elapsed, std::string& strError) {
  ChildResult result;
  const Clock::time_point start = Clock::now();
  if (!RunProgram(
          BatchProgram(),
          {"run", "--kind", "contacts", "--subfolders", "--set", "Job Title", strTitle, "--yes"},
          {"OLSTORE_PATH=" + strStore, "XDG_DATA_HOME=" + strDataFolder}, result, strError))
    return false;
  elapsed.dWall = SecondsSince(start);
  elapsed.dCpu = result.dCpu;
  if (result.nExitCode != 0) {
    strError =
        "the batch tool ended with " + std::to_string(result.nExitCode) + ": " + result.strOutput;
    return false;
  }
  return true;
}

// The plain read of every contact's image, then the new title written to each
// found by its entry ID, one transaction each.
bool RunBaseline(sqlite3* pDb, int nPass, BatchFigures& figures, Elapsed& read, Elapsed& save,
                 std::string& strError) {
  std::vector<std::string> entryIDs;
  const Stopwatch readWatch;
  SqlItemReader reader(pDb, AddrKind::kStoreKind, AddrKind::Columns(), LayoutOf<AddrImage>());
  const int64_t nRead = reader.Read([&entryIDs](const unsigned char* pImage) {
    entryIDs.emplace_back(reinterpret_cast<const AddrImage*>(pImage)->EntryID);
  });
  read = readWatch.Read();
  if (nRead < 0) {
    strError = "the baseline could not read the contacts";
    return false;
  }
  const SaveChange change = AddrKind::Change(nPass);
  const Stopwatch saveWatch;
  SqlItemSaver saver(pDb, AddrKind::kStoreKind, change.szColumn);
  if (!saver.Ok()) {
    strError = "the baseline could not prepare its save";
    return false;
  }
  for (const std::string& strEntryID : entryIDs)
    if (!saver.Save(strEntryID, change)) {
      strError = "the baseline could not save " + strEntryID;
      return false;
    }
  save = saveWatch.Read();
  figures.nItems = nRead;
  return true;
}

}  // namespace

bool MeasureBatch(const std::string& strStore, const std::string& strWorkFolder, int nReps,
                  BatchFigures& figures, std::string& strError) {
  if (!fs::exists(BatchProgram())) {
    strError = "the batch tool is not built next to qmbench: " + BatchProgram();
    return false;
  }
  const TempFolder data(strWorkFolder);
  if (data.Path().empty()) {
    strError = "cannot make a data folder in " + strWorkFolder;
    return false;
  }
  SqlConnection db;
  if (!db.Open(strStore, true, strError)) return false;
  std::vector<Elapsed> batch, read, save;
  figures.nWritten = -1;
  for (int nPass = 0; nPass < nReps; ++nPass) {
    const std::string strTitle = "Batch buyer " + std::to_string(nPass + 1);
    Elapsed batchTime, readTime, saveTime;
    // Counted before the baseline writes its own title over the tool's.
    auto runBatch = [&] {
      if (!RunBatch(strStore, data.Path(), strTitle, batchTime, strError)) return false;
      const int64_t nWritten = CountJobTitles(db.Handle(), strTitle);
      if (figures.nWritten < 0 || nWritten < figures.nWritten) figures.nWritten = nWritten;
      return true;
    };
    const bool bBatchFirst = nPass % 2 == 0;
    if (bBatchFirst && !runBatch()) return false;
    if (!RunBaseline(db.Handle(), nPass + 1, figures, readTime, saveTime, strError)) return false;
    if (!bBatchFirst && !runBatch()) return false;
    batch.push_back(batchTime);
    read.push_back(readTime);
    save.push_back(saveTime);
  }
  figures.Batch = Median(batch);
  figures.BaselineRead = Median(read);
  figures.BaselineSave = Median(save);
  return true;
}

}  // namespace qmbench
