#include "update/Qmolnote.h"

#include "common/outlook/OlNote.h"

namespace {

#define SLOT(Member) QM_FIELD_SLOT(NoteImage, NoteField, Member)

// The note fields a user can update, in the order the editor lists them.
// clang-format off
constinit FieldEntry g_NoteFields[] = {
    MakeFieldEntry(3, ftEnumeration, "Color", nullptr, 4, SLOT(Color)),
    MakeFieldEntry(5, ftString, "Note", nullptr, 20480, SLOT(Body)),
};
// clang-format on

#undef SLOT

// Texts in alphabetical order, so the values are not ascending.
constexpr FieldEnumeration kColorEnum{
    5, {0, 1, 2, 4, 3}, {"Blue", "Green", "Pink", "White", "Yellow"}};
constexpr FieldEnumBinding kNoteEnums[] = {{3, &kColorEnum}};

constinit const CxFieldCatalogue g_NoteCatalogue(g_NoteFields);

}  // namespace

CxQMOLNoteUtil::CxQMOLNoteUtil() { g_NoteCatalogue.WriteEnumerations(kNoteEnums); }

const CxFieldCatalogue& CxQMOLNoteUtil::Catalogue() { return g_NoteCatalogue; }
