#include "core/atomic_file.h"

#include <fcntl.h>

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>
#include <stdexcept>

namespace devhost {

namespace {
[[noreturn]] void Fail(const std::string& path, const char* what, int error) {
  throw std::runtime_error(path + ": cannot " + what + ": " + std::strerror(error));
}

#if defined(_WIN32)
// Binary mode, or the C runtime would write every newline as CR LF.
int OpenTemporary(const std::string& path) {
  return _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
               _S_IREAD | _S_IWRITE);
}
long long WriteSome(int fd, const char* data, std::size_t size) {
  const unsigned chunk = size > 0x40000000u ? 0x40000000u : static_cast<unsigned>(size);
  return _write(fd, data, chunk);
}
int OpenFinished(const std::string& path) { return _open(path.c_str(), _O_WRONLY | _O_BINARY); }
int SyncFile(int fd) { return _commit(fd); }
int CloseFile(int fd) { return _close(fd); }
int RemoveFile(const char* path) { return _unlink(path); }
int ProcessId() { return _getpid(); }
bool ProcessRunning(long long pid) {
  if (pid > static_cast<long long>(std::numeric_limits<DWORD>::max())) return false;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return GetLastError() != ERROR_INVALID_PARAMETER;
  DWORD code = 0;
  const bool running = GetExitCodeProcess(process, &code) == 0 || code == STILL_ACTIVE;
  CloseHandle(process);
  return running;
}
// rename() refuses an existing target on Windows; this replaces it in one step.
int ReplaceFile(const std::string& from, const std::string& to) {
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return 0;
  errno = EACCES;
  return -1;
}
// Windows has no directory handle to sync: MOVEFILE_WRITE_THROUGH made the rename durable.
void SyncDirectory(const std::string&) {}
#else
int OpenTemporary(const std::string& path) {
  return open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}
long long WriteSome(int fd, const char* data, std::size_t size) { return write(fd, data, size); }
int OpenFinished(const std::string& path) { return open(path.c_str(), O_WRONLY | O_CLOEXEC); }
int SyncFile(int fd) { return fsync(fd); }
int CloseFile(int fd) { return close(fd); }
int RemoveFile(const char* path) { return unlink(path); }
int ProcessId() { return getpid(); }
// A process of another user answers EPERM: it runs all the same.
bool ProcessRunning(long long pid) {
  return pid <= std::numeric_limits<pid_t>::max() &&
         (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}
int ReplaceFile(const std::string& from, const std::string& to) {
  return rename(from.c_str(), to.c_str());
}
void SyncDirectory(const std::string& dir) {
  const int dirFd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    fsync(dirFd);
    close(dirFd);
  }
}
#endif
void Replace(const std::string& temporary, const std::string& path) {
  if (ReplaceFile(temporary, path) != 0) {
    const int error = errno;
    RemoveFile(temporary.c_str());
    Fail(path, "replace", error);
  }
  // Make the rename itself durable; a failure here leaves a complete file either way.
  std::string dir = std::filesystem::path(path).parent_path().string();
  if (dir.empty()) dir = ".";
  SyncDirectory(dir);
}

std::string TemporaryPrefix(const std::string& path) { return path + ".tmp."; }
}  // namespace

std::string TemporaryPathBeside(const std::string& path) {
  return TemporaryPrefix(path) + std::to_string(ProcessId());
}

void WriteFileAtomically(const std::string& path, const std::string& contents) {
  const std::string temporary = TemporaryPathBeside(path);
  const int fd = OpenTemporary(temporary);
  if (fd < 0) Fail(temporary, "create", errno);
  std::size_t written = 0;
  while (written < contents.size()) {
    const long long n = WriteSome(fd, contents.data() + written, contents.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      CloseFile(fd);
      RemoveFile(temporary.c_str());
      Fail(temporary, "write", error);
    }
    written += static_cast<std::size_t>(n);
  }
  if (SyncFile(fd) != 0) {
    const int error = errno;
    CloseFile(fd);
    RemoveFile(temporary.c_str());
    Fail(temporary, "sync", error);
  }
  if (CloseFile(fd) != 0) {
    const int error = errno;
    RemoveFile(temporary.c_str());
    Fail(temporary, "close", error);
  }
  Replace(temporary, path);
}

void ReplaceWithFinishedFile(const std::string& temporary, const std::string& path) {
  const int fd = OpenFinished(temporary);
  if (fd < 0 || SyncFile(fd) != 0) {
    const int error = errno;
    if (fd >= 0) CloseFile(fd);
    RemoveFile(temporary.c_str());
    Fail(temporary, "sync", error);
  }
  CloseFile(fd);
  Replace(temporary, path);
}

void RemoveLeftoverTemporaries(const std::string& path) {
  const std::filesystem::path target(path);
  // Native names: another file's name need not convert to a narrow string on Windows.
  using Name = std::filesystem::path::string_type;
  const Name prefix = std::filesystem::path(TemporaryPrefix(target.filename().string())).native();
  std::filesystem::path dir = target.parent_path();
  if (dir.empty()) dir = ".";
  std::error_code ec;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const Name name = it->path().filename().native();
    // Ten digits hold every process id, and no more overflow.
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 10 ||
        name.compare(0, prefix.size(), prefix) != 0)
      continue;
    long long pid = 0;
    bool digits = true;
    for (const auto c : name.substr(prefix.size())) {
      digits = digits && c >= '0' && c <= '9';
      pid = pid * 10 + (c - '0');
    }
    // Best effort: the save itself is done, and a file left now goes at the next one.
    std::error_code ignored;
    if (digits && it->is_regular_file(ignored) && !ProcessRunning(pid))
      std::filesystem::remove(it->path(), ignored);
  }
}

}  // namespace devhost
