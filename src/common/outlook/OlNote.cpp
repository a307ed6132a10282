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

// Unlike the other accessors, this one counts as connected only when its
// folder opened.
constexpr OlFolderSpec kNotesFolder = {
    olFolderNotes,
    {
        "Failed to get the name of the folder. hr=0x%x",
        "Got the name of the Notes folder: %s",
        nullptr,
        nullptr,
        "Failed to get the \"Items\" property of the Notes folder. hr=0x%x",
    },
    nullptr,
    nullptr,
    true,
};

}  // namespace

OlNoteUtil::OlNoteUtil(const char* szProfile) : OlFolderUtil(szProfile, kNotesFolder) {}

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
