// The scene time a window shows: it runs with the wall clock while playing and loops at the
// scene's end; stepping pauses and moves by whole frames; seeking jumps.
#pragma once

namespace devhost {

class PlaybackClock {
 public:
  // A duration of 0 or less plays on without looping.
  PlaybackClock(double start, double duration, double fps);

  double Time() const { return time_; }
  bool Paused() const { return paused_; }

  // Wall-clock seconds since the last frame; nothing moves while paused.
  void Advance(double wallSeconds);
  void SetPaused(bool paused) { paused_ = paused; }
  // Pauses, then moves by frames / fps, never before 0.
  void Step(int frames);
  // To seconds, within 0 and the duration.
  void Seek(double seconds);

 private:
  double Wrap(double t) const;

  double time_;
  double duration_;
  double fps_;
  bool paused_ = false;
};

}  // namespace devhost
