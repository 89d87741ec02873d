// The Windows builds link with -municode, so the entry point is wmain; the
// GoogleTest main (a narrow main) is then never used.
#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
