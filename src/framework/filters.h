#pragma once
// Watching messages meant for someone else: a window's messages ahead of its
// own handling (the skinned frame and its form), or every message the loop
// takes ahead of its dispatch (an open menu, a dropped-down list). A filter
// sees the message first and passes it on through `next` before its own work,
// after it or not at all; the newest filter sees it first. The handle that
// adding a filter returns removes it when it goes out of scope.
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace kelmar {

template <typename M>
class TFilterChain {
 public:
  using Next = std::function<void(M&)>;
  using Handler = std::function<void(M&, const Next& next)>;

 private:
  struct Entry {
    Handler handler;
    TFilterChain* chain = nullptr;  // null once removed or once the chain is gone
  };

 public:
  // Owns one filter of a chain; removing it while its message is still on
  // its way is safe.
  class Filter {
   public:
    Filter() = default;
    Filter(Filter&& other) noexcept : entry_(std::move(other.entry_)) {}
    Filter& operator=(Filter&& other) noexcept {
      if (this != &other) {
        Reset();
        entry_ = std::move(other.entry_);
      }
      return *this;
    }
    Filter(const Filter&) = delete;
    Filter& operator=(const Filter&) = delete;
    ~Filter() { Reset(); }

    explicit operator bool() const { return entry_ != nullptr; }
    void Reset() {
      if (!entry_) return;
      if (TFilterChain* chain = entry_->chain) chain->Remove(entry_.get());
      entry_.reset();
    }

   private:
    friend class TFilterChain;
    explicit Filter(std::shared_ptr<Entry> entry) : entry_(std::move(entry)) {}
    std::shared_ptr<Entry> entry_;
  };

  TFilterChain() = default;
  TFilterChain(const TFilterChain&) = delete;
  TFilterChain& operator=(const TFilterChain&) = delete;
  ~TFilterChain() {
    for (auto& entry : entries_) entry->chain = nullptr;
  }

  [[nodiscard]] Filter Add(Handler handler) {
    auto entry = std::make_shared<Entry>(Entry{std::move(handler), this});
    entries_.insert(entries_.begin(), entry);
    return Filter(std::move(entry));
  }

  bool Empty() const { return entries_.empty(); }

  // The message through every filter, then to `last`, the target's own handling.
  void Run(M& m, const Next& last) {
    if (entries_.empty()) {
      last(m);
      return;
    }
    // The filters as they are now: one added on the way waits for the next
    // message, one removed on the way is skipped, and each stays alive
    // until its call has returned.
    const std::vector<std::shared_ptr<Entry>> filters = entries_;
    RunFrom(filters, 0, m, last);
  }

 private:
  void Remove(Entry* entry) {
    entry->chain = nullptr;
    std::erase_if(entries_, [entry](const std::shared_ptr<Entry>& e) { return e.get() == entry; });
  }

  static void RunFrom(const std::vector<std::shared_ptr<Entry>>& filters, size_t i, M& m, const Next& last) {
    while (i < filters.size() && !filters[i]->chain) ++i;
    if (i == filters.size()) {
      last(m);
      return;
    }
    const Next next = [&filters, i, &last](M& passed) { RunFrom(filters, i + 1, passed, last); };
    filters[i]->handler(m, next);
  }

  std::vector<std::shared_ptr<Entry>> entries_;
};

}  // namespace kelmar
