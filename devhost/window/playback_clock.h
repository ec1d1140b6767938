// The scene time a window shows: it runs with the wall clock while playing and loops at the
// scene's end; stepping pauses and moves by whole frames; seeking jumps. Frames are numbered as the
// trace numbers them: frame k shows the start time plus k / fps.
#pragma once

namespace devhost {

class PlaybackClock {
 public:
  // A duration of 0 or less plays on without looping.
  PlaybackClock(double start, double duration, double fps);

  double Time() const { return time_; }
  bool Paused() const { return paused_; }
  // The frame nearest the time shown (negative before the start time).
  long long Frame() const;

  // Wall-clock seconds since the last frame; nothing moves while paused.
  void Advance(double wallSeconds);
  void SetPaused(bool paused) { paused_ = paused; }
  // Pauses, then moves to the frame frames on from the one shown, never before 0 s.
  void Step(int frames);
  // To seconds, or to a frame's time, within 0 and the duration.
  void Seek(double seconds);
  void SeekFrame(long long frame);

 private:
  double Wrap(double t) const;
  double FrameTime(long long frame) const;

  double start_;
  double time_;
  double duration_;
  double fps_;
  bool paused_ = false;
};

}  // namespace devhost
