#pragma once
// The application object: title, forms in creation order, the message loop,
// the default exception handler and the cursor table.
#include <windows.h>

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/filters.h"

namespace kelmar {

class TClock;
class TForm;
class THintHandler;

using TLoopFilters = TFilterChain<MSG>;
using TLoopFilter = TLoopFilters::Filter;

class TApplication {
 public:
  TApplication();
  ~TApplication();

  const std::wstring& Title() const { return title_; }
  void SetTitle(const std::wstring& title) { title_ = title; }
  HICON Icon() const;

  TForm* MainForm() const { return main_form_; }
  const std::vector<TForm*>& Forms() const { return forms_; }
  // The first form created becomes the main form.
  template <typename F, typename... Args>
  F* CreateForm(Args&&... args) {
    F* form = new F(std::forward<Args>(args)...);
    form->Loaded();
    return form;
  }

  // Runs the message loop until the main form is closed.
  void Run();
  // Handles every message that is waiting, then returns.
  void ProcessMessages();
  void Terminate() { PostQuitMessage(0); }

  // What reaches the loop is shown in an error message box and the program
  // goes on. Tests replace the handler to record it.
  void HandleException(const std::exception& e);
  std::function<void(const std::exception&)> OnException;
  // For a catch (...) block: the exception in flight goes to HandleException,
  // one that is no std::exception with a general text. Throws nothing.
  void HandleCurrentException() noexcept;

  // Cursor numbers used by controls (for example 26000, the link hand).
  void SetCursor(int id, HCURSOR cursor) { cursors_[id] = cursor; }
  HCURSOR GetCursor(int id) const;

  // Filters that see every message the loop takes ahead of its dispatch (an
  // open menu takes the keys), for as long as the returned filter is kept.
  // Not passing the message on swallows it.
  [[nodiscard]] TLoopFilter AddLoopFilter(TLoopFilters::Handler filter) { return loop_filters_.Add(std::move(filter)); }

  // Every time-based behaviour of the program runs on this clock (TTimer,
  // hint pauses, type-ahead). The system's unless a test installs another.
  TClock& Clock() { return *clock_; }
  // Moves the running timers to `clock` (null: the system's clock again);
  // the caller keeps it alive while installed.
  void SetClock(TClock* clock);

  // The hints of the application's forms (framework/hints.h): the loop
  // shows them every message it takes. Made on first use, freed with the
  // main form.
  THintHandler& Hints();

 private:
  friend class TForm;
  void AddForm(TForm* form);
  void RemoveForm(TForm* form);
  bool Dispatch(MSG& msg);
  void DispatchTaken(MSG& msg);
  void DispatchPassed(MSG& msg);

  std::wstring title_;
  TForm* main_form_ = nullptr;
  std::vector<TForm*> forms_;
  std::map<int, HCURSOR> cursors_;
  TLoopFilters loop_filters_;
  TClock* clock_;
  std::unique_ptr<THintHandler> hints_;
  bool terminated_ = false;
};

TApplication& Application();

}  // namespace kelmar
