#include "window/file_watch.h"

#include <utility>

namespace devhost {

FileWatch::FileWatch(std::string path, double settleSeconds)
    : path_(std::move(path)), settle_(settleSeconds), reported_(Read()), seen_(reported_) {}

bool FileWatch::Replaced(double now) {
  const Stamp current = Read();
  if (current != seen_) {
    seen_ = current;
    seenSince_ = now;
    return false;
  }
  if (!current.exists || current == reported_ || now - seenSince_ < settle_) return false;
  reported_ = current;
  return true;
}

FileWatch::Stamp FileWatch::Read() const {
  std::error_code ec;
  Stamp stamp;
  stamp.size = std::filesystem::file_size(path_, ec);
  if (ec) return {};
  stamp.time = std::filesystem::last_write_time(path_, ec);
  if (ec) return {};
  stamp.exists = true;
  return stamp;
}

}  // namespace devhost
