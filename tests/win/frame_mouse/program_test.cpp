// The real program under the mouse: its close button acts on release over
// the button only, and then the program ends.
#include <windows.h>

#include <gtest/gtest.h>

#include "frame_input.h"
#include "win/real_program.h"

namespace kelmar::test {
namespace {

TEST(Program, CloseButtonEndsTheProgramOnlyWhenReleasedOverIt) {
  RunningProgram program;
  const HWND window = program.window;
  ASSERT_NE(window, nullptr);
  WaitForInputIdle(program.process.hProcess, 5000);
  // The close button: 43 × 17 at the caption's right end, x 654..697, y 1..18.
  const Point close = OnScreen(window, {675, 9});
  const Point off = OnScreen(window, {400, 150});
  Gesture({{MouseStep::Move, close}, {MouseStep::Down, close}, {MouseStep::Move, off}, {MouseStep::Up, off}});
  // The release was taken (the gesture waits for that); a close would have
  // destroyed the window while handling it.
  WaitUntilInputTaken();
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(WaitForSingleObject(program.process.hProcess, 0), WAIT_TIMEOUT);
  Gesture({{MouseStep::Move, close}, {MouseStep::Down, close}, {MouseStep::Up, close}});
  EXPECT_EQ(WaitForSingleObject(program.process.hProcess, 10000), WAIT_OBJECT_0);
}

}  // namespace
}  // namespace kelmar::test
