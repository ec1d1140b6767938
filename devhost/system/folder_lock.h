// One writer at a time in a folder: an exclusive flock on the folder itself, which needs no file
// of its own (none left behind, none at a fixed name in /tmp) and stays the same folder while the
// files in it are renamed over.
#pragma once

#include <string>

namespace devhost {

class FolderLock {
 public:
  // Waits for the lock. Throws std::runtime_error naming the folder if it cannot be opened.
  explicit FolderLock(const std::string& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace devhost
