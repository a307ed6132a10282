// The part of a wizard context the definitions page and the editor see: the
// mode, the definitions list, the appliers (whose construction completes the
// catalogues) and the profile manager; all put back as they were on leaving.
#pragma once

#include <cstdint>

struct FieldUpdateDef;

class FieldContext {
 public:
  explicit FieldContext(int32_t nMode);
  ~FieldContext();
  FieldContext(const FieldContext&) = delete;
  FieldContext& operator=(const FieldContext&) = delete;

  // Puts a copy of def into the list, allocated as the page allocates it.
  FieldUpdateDef* Define(const FieldUpdateDef& def);
  // Puts an otherwise empty definition of the field into the list.
  FieldUpdateDef* Define(int32_t nFieldID);

 private:
  int32_t m_nOldMode;
};
