#include "common/outlook/OlNote.h"

#include "common/outlook/OlProperty.h"

namespace {

#define NOTE_TEXT(Field) OL_PROPERTY(NoteImage, NoteField, Field, Text, sizeof(NoteImage::Field))
#define NOTE_VALUE(Field, Value) OL_PROPERTY(NoteImage, NoteField, Field, Value, 0)
#define NOTE_WRITE(Field) OL_WRITE(NoteField, Field, nullptr)

// Read order; every text is read into its whole field.
constexpr OlProperty kNoteProperties[] = {
    NOTE_TEXT(EntryID),
    NOTE_TEXT(Subject),
    NOTE_TEXT(Body),
    NOTE_TEXT(Categories),
    NOTE_VALUE(CreationTime, Date),
    NOTE_VALUE(LastModificationTime, Date),
    NOTE_VALUE(Saved, Bool),
    NOTE_VALUE(Color, Long),
};

// Outlook makes a note's subject from its body, so only these are written.
constexpr OlWriteStep kNoteWrites[] = {
    NOTE_WRITE(Body),
    NOTE_WRITE(Categories),
    NOTE_WRITE(Color),
};

constexpr OlFolderTexts kNoteFolderTexts = {
    "Failed to get the name of the folder. hr=0x%x",
    "Got the name of the Notes folder: %s",
    nullptr,
    nullptr,
    "Failed to get the \"Items\" property of the Notes folder. hr=0x%x",
};

}  // namespace

OlNoteUtil::OlNoteUtil(const char* szProfile)
    : OlBaseUtil(szProfile), m_pFolder(nullptr), m_pContainer(nullptr) {
  OlNoteUtil::Initialize();
}

OlNoteUtil::~OlNoteUtil() { OlNoteUtil::Terminate(); }

bool OlNoteUtil::ReadItems() {
  OlBaseUtil::ReadItems();
  if (!m_pFolder) return false;
  return ReadFolder(m_pFolder->GetInterface(), m_bIncludeSubfolders);
}

void OlNoteUtil::ClearItems() {
  if (m_pContainer) m_pContainer->Clear();
  OlBaseUtil::ClearItems();
}

void OlNoteUtil::Initialize() {
  if (!m_pContainer) m_pContainer = new (std::nothrow) CommNoteMgr;
  m_pFolder = nullptr;
  Connect();
}

void OlNoteUtil::Terminate() {
  ClearItems();
  delete m_pContainer;
  m_pContainer = nullptr;
  Disconnect();
}

// Unlike the other accessors, this one counts as connected only when its
// folder opened.
bool OlNoteUtil::Connect() {
  if (!OlBaseUtil::Connect()) return false;
  if (FAILED(OpenDefaultFolder(olFolderNotes, &m_pFolder))) {
    Disconnect();
    m_bConnected = false;
    return false;
  }
  m_bConnected = true;
  return true;
}

void OlNoteUtil::Disconnect() {
  delete m_pFolder;
  m_pFolder = nullptr;
  OlBaseUtil::Disconnect();
}

bool OlNoteUtil::ReadFolder(IDispatch* pFolder, bool bSubfolders) {
  if (!pFolder || !m_pContainer) return false;
  return WalkFolder(pFolder, bSubfolders, kNoteFolderTexts,
                    [this](IDispatch* pItem, const char* szFolder, const char* szStore) {
                      OlReadAndKeep<NoteImage>(
                          m_pContainer, pItem, szFolder, szStore,
                          [this](IDispatch* p, NoteImage* pImage) { return ReadNote(p, pImage); });
                    });
}

bool OlNoteUtil::ReadNote(IDispatch* pItem, NoteImage* pImage) {
  if (!pItem || !pImage) return false;
  CDispCmd item(pItem);
  OlReadProperties(item, kNoteProperties, pImage, &pImage->Truncated, &pImage->Unread);
  return true;
}

void OlNoteUtil::GetSavedFields(const NoteImage* pImage, FieldMarks* pSaved) const {
  OlSavedFields(kNoteWrites, pImage, pImage->Changed, this, pSaved);
}

bool OlNoteUtil::SaveItem(const NoteImage* pImage) {
  return SaveImage(pImage,
                   [this](IDispatch* pItem, const NoteImage* p) { return WriteNote(pItem, p); });
}

bool OlNoteUtil::WriteNote(IDispatch* pItem, const NoteImage* pImage) {
  if (!pItem || !pImage) return false;
  CDispCmd item(pItem);
  return WriteAndSave(item, kNoteProperties, kNoteWrites, pImage, pImage->Changed,
                      pImage->Truncated);
}
