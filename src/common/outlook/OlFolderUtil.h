// OlFolderUtil: what the four accessors share. Each reaches one of Outlook's
// default folders, reads its items (and, when asked, its subfolders' items)
// into a container of records, one image and record per item, and clears and
// releases them again; only reading one item is the kind's own.
#pragma once

#include <cstdint>
#include <new>

#include "common/misc/CxDebugUtil.h"
#include "common/outlook/OlComm.h"

// How a kind's accessor reaches and walks its folder.
struct OlFolderSpec {
  int32_t nDefaultFolder;  // Outlook's olDefaultFolders value
  OlFolderTexts Texts;     // what the walk logs
  // Logged when the folder does not open (level 0, with the status) and when
  // it opened (level 2); null: not logged.
  const char* szOpenFailed;
  const char* szOpened;
  // The accessor counts as connected only when its folder opened, rather than
  // as soon as Outlook answered.
  bool bConnectedOnlyWithFolder;
};

template <typename TImage, typename TContainer>
class OlFolderUtil : public OlBaseUtil {
 public:
  ~OlFolderUtil() override { OlFolderUtil::Terminate(); }

  bool ReadItems() override {
    OlBaseUtil::ReadItems();
    if (!m_pFolder) return false;
    return ReadFolder(m_pFolder->GetInterface(), m_bIncludeSubfolders);
  }

  void ClearItems() override {
    if (m_pContainer) m_pContainer->Clear();
    OlBaseUtil::ClearItems();
  }

  void Initialize() override {
    if (!m_pContainer) m_pContainer = new (std::nothrow) TContainer;
    m_pFolder = nullptr;
    Connect();
  }

  void Terminate() override {
    ClearItems();
    delete m_pContainer;
    m_pContainer = nullptr;
    Disconnect();
  }

  bool Connect() override {
    if (!OlBaseUtil::Connect()) return false;
    const HRESULT hr = OpenDefaultFolder(m_Spec.nDefaultFolder, &m_pFolder);
    if (FAILED(hr)) {
      if (m_Spec.szOpenFailed) QM_LOG(0, m_Spec.szOpenFailed, static_cast<unsigned>(hr));
      Disconnect();
      if (m_Spec.bConnectedOnlyWithFolder) m_bConnected = false;
      return false;
    }
    if (m_Spec.szOpened) QM_LOG(2, "%s", m_Spec.szOpened);
    if (m_Spec.bConnectedOnlyWithFolder) m_bConnected = true;
    return true;
  }

  void Disconnect() override {
    delete m_pFolder;
    m_pFolder = nullptr;
    OlBaseUtil::Disconnect();
  }

  TContainer* GetContainer() const { return m_pContainer; }

  // Reads the folder's items (and with bSubfolders its subfolders') into the
  // container.
  bool ReadFolder(IDispatch* pFolder, bool bSubfolders) {
    if (!pFolder || !m_pContainer) return false;
    return WalkFolder(pFolder, bSubfolders, m_Spec.Texts,
                      [this](IDispatch* pItem, const char* szFolder, const char* szStore) {
                        OlReadAndKeep<TImage>(
                            m_pContainer, pItem, szFolder, szStore,
                            [this](IDispatch* p, TImage* pImage) { return ReadOne(p, pImage); });
                      });
  }

 protected:
  // spec must outlive the accessor (the kinds keep theirs as constants).
  OlFolderUtil(const char* szProfile, const OlFolderSpec& spec)
      : OlBaseUtil(szProfile), m_Spec(spec) {
    OlFolderUtil::Initialize();
  }

  // Reads one item into its image: the kind's own read.
  virtual bool ReadOne(IDispatch* pItem, TImage* pImage) = 0;

 private:
  const OlFolderSpec& m_Spec;
  CDispCmd* m_pFolder = nullptr;
  TContainer* m_pContainer = nullptr;
};
