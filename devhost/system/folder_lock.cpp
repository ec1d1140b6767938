#include "system/folder_lock.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#endif

namespace devhost {

#if defined(_WIN32)
// Windows has no lock on a folder; saves there are not serialised.
FolderLock::FolderLock(const std::string&) {}
FolderLock::~FolderLock() {}
#else
FolderLock::FolderLock(const std::string& folder) {
  fd_ = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0)
    throw std::runtime_error(folder +
                             ": cannot open the folder to lock it: " + std::strerror(errno));
  // Another writer holds it only for one save: a stop request waits for it too, so that the
  // save it asks for still happens.
  while (flock(fd_, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    const int error = errno;
    close(fd_);
    throw std::runtime_error(folder + ": cannot lock the folder: " + std::strerror(error));
  }
}

FolderLock::~FolderLock() { close(fd_); }
#endif

}  // namespace devhost
