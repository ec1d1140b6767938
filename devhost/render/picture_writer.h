// Writes a sequence of pictures as PNG files on a thread of its own, so that encoding the last
// frame overlaps rendering the next. At most two pictures wait; a failed write is rethrown by the
// next call.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "render/image.h"
#include "render/png_file.h"

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
  void Work();
  void ThrowIfFailed();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::pair<std::string, std::shared_ptr<const Image>>> queue_;
  bool busy_ = false;
  bool stopping_ = false;
  std::exception_ptr failure_;
  PngEncoder encoder_;  // the worker's alone
  std::thread worker_;
};

}  // namespace devhost
