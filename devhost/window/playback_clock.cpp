#include "window/playback_clock.h"

#include <algorithm>
#include <cmath>

namespace devhost {

PlaybackClock::PlaybackClock(double start, double duration, double fps)
    : start_(start), time_(start), duration_(duration), fps_(fps) {}

long long PlaybackClock::Frame() const { return std::llround((time_ - start_) * fps_); }

// As the host computes a frame's time, so that a frame reached here is the trace's to the bit.
double PlaybackClock::FrameTime(long long frame) const {
  return start_ + static_cast<double>(frame) / fps_;
}

double PlaybackClock::Wrap(double t) const {
  if (duration_ <= 0 || t < duration_) return t;
  return std::fmod(t, duration_);
}

void PlaybackClock::Advance(double wallSeconds) {
  if (!paused_) time_ = Wrap(time_ + wallSeconds);
}

void PlaybackClock::Step(int frames) {
  paused_ = true;
  time_ = std::max(0.0, FrameTime(Frame() + frames));
}

void PlaybackClock::Seek(double seconds) {
  time_ = std::max(0.0, duration_ > 0 ? std::min(seconds, duration_) : seconds);
}

void PlaybackClock::SeekFrame(long long frame) { Seek(FrameTime(frame)); }

}  // namespace devhost
