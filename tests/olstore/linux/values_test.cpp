// The store's own UTF-8 decoder, which the Linux build uses: a sequence that
// is no character becomes one replacement character, however long it is
// (Windows' conversion, which the Windows build uses, may give one per byte).
#include <gtest/gtest.h>

#include <string>

#include "olstore/Text.h"

namespace olstore {
namespace {

TEST(StoreText, ADamagedSequenceBecomesOneReplacementCharacter) {
  struct Case {
    std::string utf8;
    OleString utf16;
  } cases[] = {
      {"\xC0\xAF", OLESTR("\uFFFD")},      // overlong form
      {"\xED\xA0\x80", OLESTR("\uFFFD")},  // an encoded surrogate
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
}

}  // namespace
}  // namespace olstore
