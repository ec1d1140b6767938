#include "app/progress_line.h"

#include <unistd.h>

#include <cstdio>

namespace devhost {

namespace {
constexpr auto kRedrawEvery = std::chrono::milliseconds(250);
constexpr char kClear[] = "\r\033[K";  // to the line's start, then erase to its end
}  // namespace

ProgressLine::ProgressLine(std::int64_t total)
    : shown_(isatty(STDERR_FILENO) == 1), total_(total) {}

ProgressLine::~ProgressLine() {
  if (drawn_) std::fputs(kClear, stderr);
}

void ProgressLine::FrameDone() {
  ++done_;
  const Clock::time_point now = Clock::now();
  if (!shown_ || now < nextDraw_) return;
  nextDraw_ = now + kRedrawEvery;
  // The rate since the last line: the first frames pay for start-up and say little about the
  // rest.
  const double seconds = std::chrono::duration<double>(now - lastDraw_).count();
  const double perSecond = seconds > 0 ? static_cast<double>(done_ - doneAtLastDraw_) / seconds : 0;
  lastDraw_ = now;
  doneAtLastDraw_ = done_;
  const long long left =
      perSecond > 0 ? static_cast<long long>(static_cast<double>(total_ - done_) / perSecond + 0.5)
                    : 0;
  std::fprintf(stderr, "%sframe %lld of %lld, %.1f frames/s, %lld:%02lld left", kClear,
               static_cast<long long>(done_), static_cast<long long>(total_), perSecond, left / 60,
               left % 60);
  std::fflush(stderr);
  drawn_ = true;
}

}  // namespace devhost
