// Writes a sequence of pictures as PNG files on threads of their own, so that encoding pictures
// overlaps rendering the next: one per core, up to four (a frame takes the renderer a fraction of
// what its encoding takes). As many pictures wait as there are threads; a failed write is rethrown
// by the next call.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "output/png_file.h"
#include "render/image.h"

namespace devhost {

class PictureWriter {
 public:
  PictureWriter();
  // Waits for what is queued; errors are lost here, so call Finish to see them.
  ~PictureWriter();
  PictureWriter(const PictureWriter&) = delete;
  PictureWriter& operator=(const PictureWriter&) = delete;

  // The picture is held until it is written; its other holders must leave it as it is.
  void Write(std::string path, std::shared_ptr<const Image> image);
  // Waits until every picture is written; throws the first failure.
  void Finish();

 private:
  struct Job {
    std::string path;
    std::shared_ptr<const Image> image;
  };

  void Work(PngEncoder& encoder);
  bool Idle() const { return queue_.empty() && writing_.empty(); }
  // The first waiting job whose file no other thread is writing: two writes of one file at once
  // would share its temporary file.
  std::deque<Job>::iterator NextJob();
  void ThrowIfFailed();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Job> queue_;
  std::vector<std::string> writing_;  // the files being written now
  bool stopping_ = false;
  std::exception_ptr failure_;
  std::vector<std::unique_ptr<PngEncoder>> encoders_;  // one for each worker
  std::vector<std::thread> workers_;
};

}  // namespace devhost
