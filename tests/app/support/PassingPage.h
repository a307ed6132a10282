// A page window that stands in for a page a test is not about: it takes part
// in the page machine and lets every move pass.
#pragma once

#include "app/Page.h"

class PassingPage : public TfmPage {
 public:
  bool UpdateData(bool /*bSave*/) override { return true; }
};
