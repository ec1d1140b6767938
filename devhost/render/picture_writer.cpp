#include "render/picture_writer.h"

#include "core/atomic_file.h"

namespace devhost {

namespace {
constexpr std::size_t kWaiting = 2;
}

PictureWriter::PictureWriter() : worker_([this] { Work(); }) {}

PictureWriter::~PictureWriter() {
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queue_.empty() && !busy_; });
    stopping_ = true;
  }
  changed_.notify_all();
  worker_.join();
}

void PictureWriter::ThrowIfFailed() {
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void PictureWriter::Write(std::string path, std::shared_ptr<const Image> image) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return queue_.size() < kWaiting || failure_; });
  ThrowIfFailed();
  queue_.emplace_back(std::move(path), std::move(image));
  changed_.notify_all();
}

void PictureWriter::Finish() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return (queue_.empty() && !busy_) || failure_; });
  ThrowIfFailed();
}

void PictureWriter::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return !queue_.empty() || stopping_; });
    if (queue_.empty()) return;
    auto [path, image] = std::move(queue_.front());
    queue_.pop_front();
    busy_ = true;
    lock.unlock();
    std::exception_ptr failure;
    try {
      WriteFileAtomically(path, std::string(encoder_.Encode(*image)));
    } catch (...) {
      failure = std::current_exception();
    }
    image.reset();  // back to its pool before the renderer next asks for memory
    lock.lock();
    busy_ = false;
    if (failure && !failure_) failure_ = failure;
    changed_.notify_all();
  }
}

}  // namespace devhost
