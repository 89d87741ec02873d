// The real program under the mouse: its close button acts on release over
// the button only, and then the program ends.
#include <windows.h>

#include <gtest/gtest.h>

#include "frame_input.h"
#include "win/real_program.h"

namespace kelmar::test {
namespace {

TEST(Program, CloseButtonEndsTheProgramOnlyWhenReleasedOverIt) {
  PROCESS_INFORMATION pi{};
  HWND window = StartProgram(KELMAR_EXE, pi);
  ASSERT_NE(window, nullptr);
  WaitForInputIdle(pi.hProcess, 5000);
  Sleep(300);
  // The close button: 43 × 17 at the caption's right end, x 654..697, y 1..18.
  const Point close = OnScreen(window, {675, 9});
  const Point off = OnScreen(window, {400, 150});
  Gesture({{MouseStep::Move, close}, {MouseStep::Down, close}, {MouseStep::Move, off}, {MouseStep::Up, off}}, 40);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 500), WAIT_TIMEOUT);
  Gesture({{MouseStep::Move, close}, {MouseStep::Down, close}, {MouseStep::Up, close}}, 40);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
  if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

}  // namespace
}  // namespace kelmar::test
