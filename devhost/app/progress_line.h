// One line on standard error while a run writes frames: frames done of the total, frames per
// second and the time left, redrawn a few times a second and cleared at the end, also when the run
// fails. Only when standard error is a terminal, so logs and captured output stay clean.
#pragma once

#include <chrono>
#include <cstdint>

namespace devhost {

class ProgressLine {
 public:
  explicit ProgressLine(std::int64_t total);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void FrameDone();

 private:
  using Clock = std::chrono::steady_clock;

  const bool shown_;
  const std::int64_t total_;
  std::int64_t done_ = 0;
  std::int64_t doneAtLastDraw_ = 0;
  Clock::time_point lastDraw_ = Clock::now();
  Clock::time_point nextDraw_ = lastDraw_;  // the first frame draws the line at once
  bool drawn_ = false;
};

}  // namespace devhost
