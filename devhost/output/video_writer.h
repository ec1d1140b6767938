// --video: the frames encoded by the ffmpeg program, fed raw RGBA on its standard input from a
// thread of its own, so that encoding overlaps rendering. The video is written to a temporary file
// beside its name and renamed when ffmpeg has finished it, so nothing half-written ever stands
// under that name.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "output/piped_process.h"
#include "output/video_format.h"
#include "render/image.h"

namespace devhost {

// Refuses, before anything is rendered, a video that cannot be made here: no ffmpeg or ffprobe
// program on the PATH. Throws std::runtime_error saying so.
void RequireVideoPrograms();

class VideoWriter {
 public:
  // Starts ffmpeg on frames of size at fps. Throws std::runtime_error if it cannot be started.
  VideoWriter(std::string path, const VideoFormat& format, Vector2 size, double fps);
  // Without a successful Finish: stops ffmpeg and removes the temporary file.
  ~VideoWriter();
  VideoWriter(const VideoWriter&) = delete;
  VideoWriter& operator=(const VideoWriter&) = delete;

  // Queues the next frame; at most two wait. Throws std::runtime_error with ffmpeg's last error
  // lines once it has failed.
  void Write(std::shared_ptr<const Image> image);
  // Waits for ffmpeg to finish the file and renames it into place; throws as Write does.
  void Finish();

 private:
  void Work();
  void StopWorker();
  // Throws std::runtime_error unless ffprobe reads every frame back from the finished file.
  void CheckComplete();
  // ending: how ffmpeg ended, when already known.
  [[noreturn]] void ThrowFailure(std::string ending = {});

  std::string path_, temporary_;
  PipedProcess ffmpeg_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::shared_ptr<const Image>> queue_;
  bool busy_ = false;
  bool inputClosed_ = false;  // ffmpeg stopped reading
  bool stopping_ = false;
  bool finished_ = false;
  long long frames_ = 0;
  std::thread worker_;
};

}  // namespace devhost
