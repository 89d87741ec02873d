// Windows programs here link with -municode, so the entry point is wmain,
// which gtest_main does not provide.
#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
