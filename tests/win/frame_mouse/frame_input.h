#pragma once
// Real mouse input for the frame tests: gestures are sent from a second
// thread while this one handles the windows' messages, the system's
// move/size loop included, as with a user's hand on the mouse.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "base/geometry.h"
#include "framework/graphics.h"
#include "win/pump.h"

namespace kelmar::test {

struct MouseStep {
  enum Kind { Move, Down, Up } kind;
  Point at;
};

inline void SendMouse(MouseStep s) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  // Normalized so that the system's x * width / 65536 gives the pixel back.
  in.mi.dx = (s.at.x * 65536 + w - 1) / w;
  in.mi.dy = (s.at.y * 65536 + h - 1) / h;
  in.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE |
                  (s.kind == MouseStep::Down ? MOUSEEVENTF_LEFTDOWN : s.kind == MouseStep::Up ? MOUSEEVENTF_LEFTUP : 0);
  SendInput(1, &in, sizeof(in));
}

// Waits until the thread that takes the mouse now (the one holding the
// capture, else the active window's) has taken what was sent: a message sent
// to one of its windows is handled only when the thread looks for messages
// again, the second one after it has handled the input queued before it.
inline void WaitUntilInputTaken() {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  HWND target = GetGUIThreadInfo(0, &info) ? (info.hwndCapture ? info.hwndCapture : info.hwndActive) : nullptr;
  if (!target) target = GetForegroundWindow();
  for (int i = 0; i < 2 && target; ++i) SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
}

inline bool CursorAt(Point p) {
  POINT at{};
  return GetCursorPos(&at) && at.x == p.x && at.y == p.y;
}

// Sends the steps at the pace of a hand on the mouse, one each 30 ms at
// most (the display's own round trip for a pointer move takes that long
// under Wine), each once the one before was taken, handling messages
// meanwhile and until nothing but timers waits.
inline void Gesture(const std::vector<MouseStep>& steps) {
  std::atomic<bool> done{false};
  std::thread sender([&] {
    auto next = std::chrono::steady_clock::now();
    for (const MouseStep& s : steps) {
      std::this_thread::sleep_until(next);
      next = std::chrono::steady_clock::now() + std::chrono::milliseconds(30);
      SendMouse(s);
      WaitUntilInputTaken();
      // A late pointer event of the display can put the cursor back where an
      // earlier step left it: the move is made again until it stays.
      for (int again = 0; s.kind == MouseStep::Move && again < 5 && !CursorAt(s.at); ++again) {
        SendMouse(s);
        WaitUntilInputTaken();
      }
    }
    done = true;
  });
  PumpUntil([&] { return done.load(); }, 60000);
  sender.join();
  PumpUntilQuiet();
}

inline std::vector<MouseStep> DragSteps(Point from, Point to, int moves = 10) {
  std::vector<MouseStep> s{{MouseStep::Move, from}, {MouseStep::Down, from}};
  for (int i = 1; i <= moves; ++i)
    s.push_back({MouseStep::Move, {from.x + (to.x - from.x) * i / moves, from.y + (to.y - from.y) * i / moves}});
  s.push_back({MouseStep::Up, to});
  return s;
}

inline void Drag(Point from, Point to) { Gesture(DragSteps(from, to)); }
inline void Click(Point p) { Gesture({{MouseStep::Move, p}, {MouseStep::Down, p}, {MouseStep::Up, p}}); }
inline void DoubleClick(Point p) {
  Gesture({{MouseStep::Move, p}, {MouseStep::Down, p}, {MouseStep::Up, p}, {MouseStep::Down, p}, {MouseStep::Up, p}});
}

// A point in window coordinates on the screen.
inline Point OnScreen(HWND hwnd, Point p) {
  const Rect b = WindowBounds(hwnd);
  return {b.left + p.x, b.top + p.y};
}

inline int NcHitTest(HWND hwnd, Point windowPoint) {
  const Point s = OnScreen(hwnd, windowPoint);
  return int(SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y)));
}

inline Rect WorkArea() {
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return FromRECT(r);
}

}  // namespace kelmar::test
