#include "window/playback_clock.h"

#include <algorithm>
#include <cmath>

namespace devhost {

PlaybackClock::PlaybackClock(double start, double duration, double fps)
    : time_(start), duration_(duration), fps_(fps) {}

double PlaybackClock::Wrap(double t) const {
  if (duration_ <= 0 || t < duration_) return t;
  return std::fmod(t, duration_);
}

void PlaybackClock::Advance(double wallSeconds) {
  if (!paused_) time_ = Wrap(time_ + wallSeconds);
}

void PlaybackClock::Step(int frames) {
  paused_ = true;
  time_ = std::max(0.0, time_ + frames / fps_);
}

void PlaybackClock::Seek(double seconds) {
  time_ = std::max(0.0, duration_ > 0 ? std::min(seconds, duration_) : seconds);
}

}  // namespace devhost
