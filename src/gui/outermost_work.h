// Scopes that nest on one thread (waits that handle messages, boxes running their own loop), and
// work that must not run inside any of them: it is put off until the outermost one ends.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "gui/guard.h"

namespace gui {

class OutermostWork {
 public:
  // `where` names the put-off work in a report of what it threw.
  explicit OutermostWork(const char* where) : where_(where) {}
  OutermostWork(const OutermostWork&) = delete;
  OutermostWork& operator=(const OutermostWork&) = delete;

  void Enter() { ++depth_; }
  // The outermost scope's end runs the work put off meanwhile, in the order it came.
  void Leave() {
    if (--depth_ > 0) return;
    std::vector<std::function<void()>> work;
    work.swap(waiting_);
    for (auto& step : work) Guarded(where_, [&] { step(); });
  }
  bool Inside() const { return depth_ > 0; }
  // At once when no scope lives.
  void After(std::function<void()> work) {
    if (depth_ == 0) {
      Guarded(where_, [&] { work(); });
      return;
    }
    waiting_.push_back(std::move(work));
  }

 private:
  const char* where_;
  int depth_ = 0;
  std::vector<std::function<void()>> waiting_;
};

}  // namespace gui
