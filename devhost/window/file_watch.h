// Tells when a file has been replaced and has since stopped changing. A build writes a module over
// a while; one caught half-written would only be refused, so the watch waits until the file has
// kept one size and modification time for the settle time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace devhost {

class FileWatch {
 public:
  // The file as it is now counts as seen; times are wall-clock seconds.
  FileWatch(std::string path, double settleSeconds);

  // Polled every frame: true once for each replacement, when it has settled. A missing file is
  // waited for, as a build may remove it before writing it anew.
  bool Replaced(double now);
  const std::string& Path() const { return path_; }

 private:
  struct Stamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type time;
    bool operator==(const Stamp&) const = default;
  };
  Stamp Read() const;

  std::string path_;
  double settle_;
  Stamp reported_;  // the file as last reported (or as at the start)
  Stamp seen_;      // as last polled
  double seenSince_ = 0;
};

}  // namespace devhost
