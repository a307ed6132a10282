// The four item kinds as the benchmarks see them: the program's accessor,
// image, record and applier of each kind, the store table its items live in,
// the columns a plain SQLite reader fills the same image from, and the
// definitions the apply and save measurements use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/outlook/OlAddr.h"
#include "common/outlook/OlDate.h"
#include "common/outlook/OlNote.h"
#include "common/outlook/OlTask.h"
#include "olstore/Kinds.h"
#include "update/Qmoladdr.h"
#include "update/Qmoldate.h"
#include "update/Qmolnote.h"
#include "update/Qmoltask.h"

namespace qmbench {

// How a column's value lands in the image, mirroring how the accessor reads
// the property of the same name.
enum class SqlValue : uint8_t {
  Text,       // char[]: cut to nReadSize bytes, zero included
  Long,       // int32_t
  Bool,       // one-byte bool
  Flag32,     // int32_t holding 0 or 1
  Date,       // DATE; NULL is Outlook's "no date"
  FirstLine,  // char[]: the first line of the text, as a note's subject is made
};

struct SqlColumn {
  const char* szExpr;  // over the items row `i` and the kind's row `k`
  SqlValue nValue;
  size_t nOffset;  // in the image
  int nReadSize;   // Text, FirstLine: the buffer size the accessor reads with
  int nMark;       // the field's index in FieldMarks, for cut texts
};

// Where an image keeps what the folder walk, not the item, gives it.
struct ImageLayout {
  size_t nSize;
  size_t nFolderName;
  size_t nStoreID;
  size_t nTruncated;
};

// One changed field per item for the save measurement: the definition the
// program applies, and the column a plain SQLite save writes instead.
struct SaveChange {
  FieldUpdateDef Def;
  const char* szColumn;
  bool bText;  // else an integer column holding Def.nValue
};

struct AddrKind {
  using Accessor = OlAddrUtil;
  using Image = AddrImage;
  using Record = AddrRecord;
  using Applier = CxQMOLAddrUtil;
  static constexpr const char* kName = "Contacts";
  static constexpr const char* kKey = "contacts";
  static constexpr olstore::ItemKind kStoreKind = olstore::ItemKind::Contact;
  static std::span<const SqlColumn> Columns();
  static std::vector<FieldUpdateDef> Definitions();
  static SaveChange Change(int nPass);
};

struct DateKind {
  using Accessor = OlDateUtil;
  using Image = DateImage;
  using Record = DateRecord;
  using Applier = CxQMOLDateUtil;
  static constexpr const char* kName = "Calendar";
  static constexpr const char* kKey = "calendar";
  static constexpr olstore::ItemKind kStoreKind = olstore::ItemKind::Appointment;
  static std::span<const SqlColumn> Columns();
  static std::vector<FieldUpdateDef> Definitions();
  static SaveChange Change(int nPass);
};

struct TaskKind {
  using Accessor = OlTaskUtil;
  using Image = TaskImage;
  using Record = TaskRecord;
  using Applier = CxQMOLTaskUtil;
  static constexpr const char* kName = "Tasks";
  static constexpr const char* kKey = "tasks";
  static constexpr olstore::ItemKind kStoreKind = olstore::ItemKind::Task;
  static std::span<const SqlColumn> Columns();
  static std::vector<FieldUpdateDef> Definitions();
  static SaveChange Change(int nPass);
};

struct NoteKind {
  using Accessor = OlNoteUtil;
  using Image = NoteImage;
  using Record = NoteRecord;
  using Applier = CxQMOLNoteUtil;
  static constexpr const char* kName = "Notes";
  static constexpr const char* kKey = "notes";
  static constexpr olstore::ItemKind kStoreKind = olstore::ItemKind::Note;
  static std::span<const SqlColumn> Columns();
  static std::vector<FieldUpdateDef> Definitions();
  static SaveChange Change(int nPass);
};

template <typename Image>
constexpr ImageLayout LayoutOf() {
  return {sizeof(Image), offsetof(Image, FolderName), offsetof(Image, StoreID),
          offsetof(Image, Truncated)};
}

// Calls fn with a value of the kind whose key is strKey; false for no kind.
template <typename Fn>
bool WithKind(const std::string& strKey, Fn&& fn) {
  if (strKey == AddrKind::kKey) fn(AddrKind{});
  else if (strKey == DateKind::kKey) fn(DateKind{});
  else if (strKey == TaskKind::kKey) fn(TaskKind{});
  else if (strKey == NoteKind::kKey) fn(NoteKind{});
  else return false;
  return true;
}

}  // namespace qmbench
