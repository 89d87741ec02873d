// What a command, a loop filter or a timer throws ends in the application's error
// box, and the program goes on answering.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "app_fixture.h"
#include "framework/timer.h"
#include "win/mouse_input.h"
#include "win/pump.h"

namespace kelmar::test {
namespace {

// Watches for this process's message boxes from a second thread, records
// each one's caption and text, and presses its OK button.
class ErrorBoxes {
 public:
  ErrorBoxes() : thread_([this] { Watch(); }) {}
  ~ErrorBoxes() {
    stop_ = true;
    thread_.join();
  }
  std::vector<std::pair<std::wstring, std::wstring>> Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }

 private:
  void Watch() {
    const auto stopped = [this] { return stop_.load(); };
    while (!stop_) {
      HWND box = nullptr;
      if (!WaitFor([&] { return stopped() || (box = VisibleWindowOf(GetCurrentProcessId(), L"#32770")); }, 60000, 10) ||
          !box)
        continue;
      wchar_t caption[64] = {}, text[256] = {};
      GetWindowTextW(box, caption, 64);
      GetDlgItemTextW(box, 0xFFFF, text, 256);  // the box's text control
      {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.emplace_back(caption, text);
      }
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      WaitFor([&] { return stopped() || !IsWindow(box); }, 60000, 10);
    }
  }
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::pair<std::wstring, std::wstring>> seen_;
  std::thread thread_;
};

TEST_F(FormTest, ThrowsFromAMenuCommandAndATimerReachTheErrorBoxAndTheProgramGoesOn) {
  Application().OnException = nullptr;  // the real box
  ErrorBoxes boxes;
  // A system menu entry whose command fails; the skinned menu runs it from
  // the loop's key filter.
  auto* item = new TMenuItem("Fails", L"Fails");
  item->OnClick = [] { throw std::runtime_error("the command failed"); };
  form->PopupMenu1->Items()->Add(item);
  SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
  PostMessageW(form->Handle(), WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(form->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(PumpUntil([&] { return boxes.Seen().size() == 1; }, 5000));
  EXPECT_EQ(boxes.Seen()[0], std::make_pair(std::wstring(L"Kelmar"), std::wstring(L"the command failed")));

  // A timer that throws something that is no std::exception, once; it
  // keeps ticking afterwards.
  int ticks = 0;
  auto* timer = new TTimer(form, "fails", 10);
  timer->OnTimer = [&] {
    if (++ticks == 1) throw 42;
  };
  timer->SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return boxes.Seen().size() == 2 && ticks >= 3; }, 5000));
  delete timer;
  EXPECT_EQ(boxes.Seen()[1].second, L"An unknown error occurred.");

  // The program answers: Save all on the empty list says there is nothing.
  Click(form->BTNSaveAll);
  ASSERT_FALSE(services.Of("MessageBox").empty());
  EXPECT_EQ(services.Of("MessageBox").back().text, L"请解出图标!");
}

}  // namespace
}  // namespace kelmar::test
