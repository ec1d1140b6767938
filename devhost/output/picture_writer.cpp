#include "output/picture_writer.h"

#include <algorithm>
#include <utility>

#include "system/atomic_file.h"

namespace devhost {

PictureWriter::PictureWriter() {
  const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
  for (unsigned i = 0; i < threads; ++i) encoders_.push_back(std::make_unique<PngEncoder>());
  for (const auto& encoder : encoders_)
    workers_.emplace_back([this, &encoder = *encoder] { Work(encoder); });
}

PictureWriter::~PictureWriter() {
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return Idle(); });
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void PictureWriter::ThrowIfFailed() {
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void PictureWriter::Write(std::string path, std::shared_ptr<const Image> image) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return queue_.size() < workers_.size() || failure_; });
  ThrowIfFailed();
  queue_.push_back({std::move(path), std::move(image)});
  changed_.notify_all();
}

void PictureWriter::Finish() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return Idle() || failure_; });
  ThrowIfFailed();
}

std::deque<PictureWriter::Job>::iterator PictureWriter::NextJob() {
  return std::find_if(queue_.begin(), queue_.end(), [this](const Job& job) {
    return std::find(writing_.begin(), writing_.end(), job.path) == writing_.end();
  });
}

void PictureWriter::Work(PngEncoder& encoder) {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return NextJob() != queue_.end() || stopping_; });
    const auto next = NextJob();
    if (next == queue_.end()) return;
    Job job = std::move(*next);
    queue_.erase(next);
    writing_.push_back(job.path);
    lock.unlock();
    std::exception_ptr failure;
    try {
      WriteFileAtomically(job.path, std::string(encoder.Encode(*job.image)));
    } catch (...) {
      failure = std::current_exception();
    }
    job.image.reset();  // back to its pool before the renderer next asks for memory
    lock.lock();
    writing_.erase(std::find(writing_.begin(), writing_.end(), job.path));
    if (failure && !failure_) failure_ = failure;
    changed_.notify_all();
  }
}

}  // namespace devhost
