// One item kind on one store: the program's read, apply and save paths timed
// side by side with the plain SQLite baselines. Everything runs while an
// OutlookOnStore points Outlook at the store; Disconnect (or the end of the
// run) must come before it ends.
#pragma once

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/ItemKinds.h"
#include "bench/Report.h"
#include "bench/SqlBaseline.h"

namespace qmbench {

struct ReadFigures {
  int64_t nItems = 0;          // records the accessor read
  int64_t nBaselineItems = 0;  // images the baseline read
  int64_t nMismatched = 0;     // items whose two images differ
  std::string strFirstMismatch;
  Elapsed Product;  // medians
  Elapsed Baseline;
};

struct ApplyFigures {
  int64_t nItems = 0;
  int nDefinitions = 0;
  int64_t nRefused = 0;  // Apply calls that answered false (cut texts, by rule)
  Elapsed Time;
};

struct SaveFigures {
  int64_t nItems = 0;
  int64_t nProductFailed = 0;
  int64_t nBaselineFailed = 0;
  // The fewest items found holding a side's value right after its pass.
  int64_t nProductWritten = 0;
  int64_t nBaselineWritten = 0;
  Elapsed Product;
  Elapsed Baseline;
};

template <typename K>
class KindRun {
 public:
  using Image = typename K::Image;
  using Record = typename K::Record;

  KindRun() = default;
  ~KindRun() { Disconnect(); }
  KindRun(const KindRun&) = delete;
  KindRun& operator=(const KindRun&) = delete;

  // Builds the kind's accessor as the wizard does, set to walk subfolders.
  bool Connect(std::string& strError) {
    m_pAccessor = std::make_unique<typename K::Accessor>();
    if (!m_pAccessor->IsConnected() || !m_pAccessor->GetContainer()) {
      strError = std::string("the ") + K::kName + " accessor could not connect to the store";
      m_pAccessor.reset();
      return false;
    }
    m_pAccessor->SetIncludeSubfolders(true);
    m_Applier.SetAccessor(m_pAccessor.get());
    return true;
  }

  void Disconnect() {
    m_Applier.SetAccessor(nullptr);
    m_pAccessor.reset();
  }

  typename K::Accessor* Accessor() const { return m_pAccessor.get(); }

  // The accessor's ReadItems, nReps times, each on an empty container; with
  // bBaseline, the baseline's read before each of them. With bWarmUp a first
  // pass of each is not counted, so the timed passes find their memory mapped
  // already and time the reading rather than the system's page faults. The
  // last read stays in the container and is checked field for field against
  // the baseline.
  bool MeasureRead(const std::string& strStore, int nReps, bool bBaseline, bool bWarmUp,
                   ReadFigures& figures, std::string& strError) {
    SqlConnection db;
    if (bBaseline && !db.Open(strStore, false, strError)) return false;
    // Prepared once, as the store prepares its statements once per connection.
    std::unique_ptr<SqlItemReader> pReader;
    if (bBaseline) {
      pReader = std::make_unique<SqlItemReader>(db.Handle(), K::kStoreKind, K::Columns(),
                                                LayoutOf<Image>());
      if (!pReader->Ok()) {
        strError = "the baseline could not prepare its read: " + db.Error();
        return false;
      }
    }
    std::vector<Elapsed> product, baseline;
    for (int nRep = bWarmUp ? -1 : 0; nRep < nReps; ++nRep) {
      if (bBaseline) {
        std::vector<unsigned char*> kept;
        const Stopwatch watch;
        // The baseline keeps what it read, as the container does.
        figures.nBaselineItems = pReader->Read([&kept](const unsigned char* pImage) {
          auto* pCopy = static_cast<unsigned char*>(malloc(sizeof(Image)));
          memcpy(pCopy, pImage, sizeof(Image));
          kept.push_back(pCopy);
        });
        if (nRep >= 0) baseline.push_back(watch.Read());
        for (unsigned char* p : kept) free(p);
        if (figures.nBaselineItems < 0) {
          strError = "the baseline could not read the store: " + db.Error();
          return false;
        }
      }
      m_pAccessor->ClearItems();
      const Stopwatch watch;
      const bool bRead = m_pAccessor->ReadItems();
      if (nRep >= 0) product.push_back(watch.Read());
      if (!bRead) {
        strError = std::string("ReadItems failed for ") + K::kName;
        return false;
      }
    }
    figures.nItems = CountRecords();
    figures.Product = Median(product);
    figures.Baseline = Median(baseline);
    if (bBaseline) Compare(*pReader, figures);
    return true;
  }

  // Every definition on every image read, in list order, as the update run
  // applies them.
  ApplyFigures MeasureApply() {
    ApplyFigures figures;
    const std::vector<FieldUpdateDef> definitions = K::Definitions();
    figures.nDefinitions = static_cast<int>(definitions.size());
    auto* pContainer = m_pAccessor->GetContainer();
    const Stopwatch watch;
    for (Record* pRecord = pContainer->First(); pRecord; pRecord = pContainer->Next()) {
      for (const FieldUpdateDef& def : definitions) figures.nRefused += !m_Applier.Apply(pRecord->Image, &def);
      ++figures.nItems;
    }
    figures.Time = watch.Read();
    return figures;
  }

  // nReps passes, each changing one field per item: the program saves item by
  // item through the applier (so through the accessor's SaveItem, one store
  // transaction each), the baseline writes the same column of the same rows,
  // one transaction each. The two take turns at going first, every pass
  // writes values the one before did not, and after each side's pass the
  // store is checked to hold that side's value on every item. Ends the
  // connection.
  bool MeasureSave(const std::string& strStore, int nReps, bool bBaseline, SaveFigures& figures,
                   std::string& strError) {
    std::vector<std::string> entryIDs;
    auto* pContainer = m_pAccessor->GetContainer();
    for (Record* pRecord = pContainer->First(); pRecord; pRecord = pContainer->Next())
      entryIDs.push_back(pRecord->Image->EntryID);
    figures.nItems = static_cast<int64_t>(entryIDs.size());
    figures.nProductWritten = figures.nBaselineWritten = figures.nItems;

    SqlConnection db;
    if (!db.Open(strStore, true, strError)) return false;
    SqlItemSaver saver(db.Handle(), K::kStoreKind, K::Change(1).szColumn);
    if (!saver.Ok()) {
      strError = "the baseline could not prepare its save: " + db.Error();
      return false;
    }
    auto countHolding = [&](const SaveChange& change) {
      int64_t nHolding = 0;
      for (const std::string& strEntryID : entryIDs) nHolding += saver.Holds(strEntryID, change);
      return nHolding;
    };
    auto saveProduct = [&](const SaveChange& change) {
      for (Record* pRecord = pContainer->First(); pRecord; pRecord = pContainer->Next()) {
        // Only this pass's change is marked, whatever was applied before.
        memset(&pRecord->Image->Changed, 0, sizeof pRecord->Image->Changed);
        if (!m_Applier.Apply(pRecord->Image, &change.Def)) ++figures.nProductFailed;
      }
      const Stopwatch watch;
      for (Record* pRecord = pContainer->First(); pRecord; pRecord = pContainer->Next())
        figures.nProductFailed += !m_Applier.Save(pRecord->Image);
      const Elapsed elapsed = watch.Read();
      figures.nProductWritten = std::min(figures.nProductWritten, countHolding(change));
      return elapsed;
    };
    auto saveBaseline = [&](const SaveChange& change) {
      const Stopwatch watch;
      for (const std::string& strEntryID : entryIDs)
        figures.nBaselineFailed += !saver.Save(strEntryID, change);
      const Elapsed elapsed = watch.Read();
      figures.nBaselineWritten = std::min(figures.nBaselineWritten, countHolding(change));
      return elapsed;
    };

    std::vector<Elapsed> product, baseline;
    for (int nPass = 0; nPass < nReps; ++nPass) {
      const SaveChange own = K::Change(2 * nPass + 1);
      const SaveChange plain = K::Change(2 * nPass + 2);
      if (!bBaseline) {
        product.push_back(saveProduct(own));
      } else if (nPass % 2 == 0) {
        product.push_back(saveProduct(own));
        baseline.push_back(saveBaseline(plain));
      } else {
        baseline.push_back(saveBaseline(plain));
        product.push_back(saveProduct(own));
      }
    }
    figures.Product = Median(product);
    figures.Baseline = Median(baseline);
    Disconnect();
    return true;
  }

  int64_t CountRecords() const {
    int64_t n = 0;
    auto* pContainer = m_pAccessor->GetContainer();
    for (Record* p = pContainer->First(); p; p = pContainer->Next()) ++n;
    return n;
  }

 private:
  // The name of the column an image offset belongs to, for the report.
  static std::string ColumnAt(size_t nOffset) {
    const SqlColumn* pBest = nullptr;
    for (const SqlColumn& column : K::Columns())
      if (column.nOffset <= nOffset && (!pBest || column.nOffset > pBest->nOffset)) pBest = &column;
    return pBest ? pBest->szExpr : "(image start)";
  }

  void Compare(SqlItemReader& reader, ReadFigures& figures) {
    auto* pContainer = m_pAccessor->GetContainer();
    Record* pRecord = pContainer->First();
    reader.Read([&](const unsigned char* pImage) {
      const auto* pOwn = pRecord ? reinterpret_cast<const unsigned char*>(pRecord->Image) : nullptr;
      if (!pOwn) {
        ++figures.nMismatched;
        return;
      }
      if (memcmp(pOwn, pImage, sizeof(Image)) != 0) {
        if (figures.nMismatched++ == 0) {
          size_t nAt = 0;
          while (pOwn[nAt] == pImage[nAt]) ++nAt;
          figures.strFirstMismatch = ColumnAt(nAt) + " of " + pRecord->Image->EntryID;
        }
      }
      pRecord = pContainer->Next();
    });
    if (pRecord) figures.nMismatched += figures.nItems - figures.nBaselineItems;
  }

  std::unique_ptr<typename K::Accessor> m_pAccessor;
  typename K::Applier m_Applier;
};

}  // namespace qmbench
