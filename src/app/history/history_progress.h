// The progress bar and the hourglass of the history commands' long walks, shown through
// the sink and taken down however the walk ends.
#pragma once

#include "app/history/history_sink.h"

namespace app {

// ProgressBar1 over a long walk of the rows: shown above 200 rows, one step every 100 rows.
class ProgressSteps {
 public:
  ProgressSteps(HistorySink& sink, int rows) : sink_(sink), active_(rows > kThreshold) {
    if (active_) sink_.progressShow(rows / kRowsPerStep + 1);
  }
  ~ProgressSteps() {
    if (!active_) return;
    try {
      sink_.progressHide();
    } catch (...) {
      // Leaving because of an earlier failure: that one is reported, not this.
    }
  }
  ProgressSteps(const ProgressSteps&) = delete;
  ProgressSteps& operator=(const ProgressSteps&) = delete;

  void row() {
    if (active_ && ++walked_ % kRowsPerStep == 0) sink_.progressStep();
  }

 private:
  static constexpr int kThreshold = 200;
  static constexpr int kRowsPerStep = 100;
  HistorySink& sink_;
  bool active_;
  int walked_ = 0;
};

class Hourglass {
 public:
  explicit Hourglass(HistorySink& sink) : sink_(sink) { sink_.setHourglass(true); }
  ~Hourglass() {
    try {
      sink_.setHourglass(false);
    } catch (...) {
    }
  }
  Hourglass(const Hourglass&) = delete;
  Hourglass& operator=(const Hourglass&) = delete;

 private:
  HistorySink& sink_;
};

}  // namespace app
