#include "core/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace devhost {

namespace {
[[noreturn]] void Fail(const std::string& path, const char* what, int error) {
  throw std::runtime_error(path + ": cannot " + what + ": " + std::strerror(error));
}
}  // namespace

void WriteFileAtomically(const std::string& path, const std::string& contents) {
  const std::string temporary = path + ".tmp." + std::to_string(getpid());
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) Fail(temporary, "create", errno);
  std::size_t written = 0;
  while (written < contents.size()) {
    const ssize_t n = write(fd, contents.data() + written, contents.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      close(fd);
      unlink(temporary.c_str());
      Fail(temporary, "write", error);
    }
    written += static_cast<std::size_t>(n);
  }
  if (fsync(fd) != 0) {
    const int error = errno;
    close(fd);
    unlink(temporary.c_str());
    Fail(temporary, "sync", error);
  }
  if (close(fd) != 0) {
    const int error = errno;
    unlink(temporary.c_str());
    Fail(temporary, "close", error);
  }
  if (rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    unlink(temporary.c_str());
    Fail(path, "replace", error);
  }
  // Make the rename itself durable; a failure here leaves a complete file either way.
  std::string dir = std::filesystem::path(path).parent_path().string();
  if (dir.empty()) dir = ".";
  const int dirFd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    fsync(dirFd);
    close(dirFd);
  }
}

}  // namespace devhost
