#include "system/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

#include "system/folder_of.h"
#include "system/interrupted_calls.h"
#include "system/process.h"

namespace devhost {

namespace {
[[noreturn]] void Fail(const std::string& path, const char* what, int error) {
  throw std::runtime_error(path + ": cannot " + what + ": " + std::strerror(error));
}

// A file name's longest length, and room after the prefix for any process id.
constexpr std::size_t kNameMax = 255, kIdDigits = 10;

#if defined(_WIN32)
// Binary mode, or the C runtime would write every newline as CR LF.
int OpenTemporary(const std::string& path) {
  return _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
               _S_IREAD | _S_IWRITE);
}
int OpenFinished(const std::string& path) { return _open(path.c_str(), _O_RDWR | _O_BINARY); }
long long ReadSome(int fd, char* data, std::size_t size) {
  return _read(fd, data, static_cast<unsigned>(size));
}
int SyncFile(int fd) { return _commit(fd); }
int CloseFile(int fd) { return _close(fd); }
int RemoveFile(const char* path) { return _unlink(path); }
// rename() refuses an existing target on Windows; this replaces it in one step.
int ReplaceFile(const std::string& from, const std::string& to) {
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return 0;
  errno = EACCES;
  return -1;
}
// Windows has no directory handle to sync: MOVEFILE_WRITE_THROUGH made the rename durable.
void SyncDirectory(const std::string&) {}
// Names people give on Windows are files or folders, and modes are not kept there.
bool WrittenDirectly(const std::string&) { return false; }
int OpenDirectly(const std::string&) { return -1; }
int KeepAttributes(int, const std::string&) { return 0; }
#else
int OpenTemporary(const std::string& path) {
  return open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}
int OpenFinished(const std::string& path) { return open(path.c_str(), O_RDWR | O_CLOEXEC); }
long long ReadSome(int fd, char* data, std::size_t size) { return read(fd, data, size); }
int SyncFile(int fd) { return fsync(fd); }
int CloseFile(int fd) { return close(fd); }
int RemoveFile(const char* path) { return unlink(path); }
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
// What is not a regular file or a folder (a device, a FIFO, a terminal) cannot be renamed over;
// nor can the file standard output or error is (/dev/stdout, /proc/self/fd/1), which would go on
// writing to the file renamed away.
bool WrittenDirectly(const std::string& path) {
  struct stat st, open;
  if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  if (!S_ISREG(st.st_mode)) return true;
  for (const int fd : {STDOUT_FILENO, STDERR_FILENO})
    if (fstat(fd, &open) == 0 && open.st_dev == st.st_dev && open.st_ino == st.st_ino) return true;
  return false;
}
// Opening a FIFO waits for its reader; a stop request ends the wait.
int OpenDirectly(const std::string& path) {
  int fd;
  while ((fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY)) < 0 && InterruptedToRetry()) {
  }
  return fd;
}
// The replaced file's owner (for root) and mode, so that a private file stays private. The owner
// first: changing it may clear the set-id bits.
int KeepAttributes(int fd, const std::string& target) {
  struct stat st;
  if (stat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  if (geteuid() == 0 && fchown(fd, st.st_uid, st.st_gid) != 0) return -1;
  return fchmod(fd, st.st_mode & 07777);
}
#endif

std::string TemporaryNamePrefix(const std::string& fileName) {
  std::string name = fileName;
  const std::string suffix = ".tmp.";
  if (name.size() + suffix.size() + kIdDigits > kNameMax) {
    name.resize(kNameMax - suffix.size() - kIdDigits);
    // Not in the middle of a UTF-8 character.
    while (!name.empty() && (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80)
      name.pop_back();
    if (!name.empty() && (static_cast<unsigned char>(name.back()) & 0x80) != 0) name.pop_back();
  }
  return name + suffix;
}

void Replace(const std::string& temporary, const std::string& target, const std::string& path) {
  if (ReplaceFile(temporary, target) != 0) Fail(path, "replace", errno);
  // Make the rename itself durable; a failure here leaves a complete file either way.
  SyncDirectory(FolderOf(target).string());
}
}  // namespace

std::string FollowLinks(const std::string& path) {
  std::filesystem::path current(path);
  std::error_code ec;
  // As the system does, give up on a loop after 40 links.
  for (int links = 0; links < 40 && std::filesystem::is_symlink(current, ec); ++links) {
    const std::filesystem::path target = std::filesystem::read_symlink(current, ec);
    if (ec) break;
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return current.string();
}

std::string TemporaryPrefixFor(const std::string& path) {
  // A device's or FIFO's folder is not ours to fill: the temporary file goes beside the name given.
  const std::filesystem::path target(WrittenDirectly(path) ? path : FollowLinks(path));
  return (target.parent_path() / TemporaryNamePrefix(target.filename().string())).string();
}

std::string TemporaryPathFor(const std::string& path) {
  return TemporaryPrefixFor(path) + std::to_string(ProcessId());
}

OutputFile::OutputFile(std::string path) : path_(std::move(path)), target_(FollowLinks(path_)) {
  if (WrittenDirectly(path_)) {
    fd_ = OpenDirectly(path_);
    if (fd_ < 0) Fail(path_, "open", errno);
    return;
  }
  std::error_code ec;
  // A folder would only be found at the rename, after all the work.
  if (std::filesystem::is_directory(target_, ec)) Fail(path_, "replace", EISDIR);
  const std::string temporary = TemporaryPathFor(path_);
  fd_ = OpenTemporary(temporary);
  if (fd_ < 0) Fail(path_, "write into its folder", errno);
  temporary_ = temporary;
  if (KeepAttributes(fd_, target_) != 0) Fail(path_, "keep the mode and owner", errno);
}

OutputFile::~OutputFile() {
  if (fd_ >= 0) CloseFile(fd_);
  if (!temporary_.empty()) RemoveFile(temporary_.c_str());
}

void OutputFile::Write(std::string_view data) {
  if (const int error = WriteWhole(fd_, data)) Fail(path_, "write", error);
}

void OutputFile::Commit() {
  if (!temporary_.empty() && SyncFile(fd_) != 0) Fail(path_, "sync", errno);
  const int fd = std::exchange(fd_, -1);
  if (CloseFile(fd) != 0) Fail(path_, "close", errno);
  if (temporary_.empty()) return;
  Replace(temporary_, target_, path_);
  temporary_.clear();
}

void WriteFileAtomically(const std::string& path, const std::string& contents) {
  OutputFile file(path);
  file.Write(contents);
  file.Commit();
}

void ReplaceWithFinishedFile(const std::string& temporary, const std::string& path) {
  struct Removed {
    const std::string& path;
    ~Removed() { RemoveFile(path.c_str()); }
  } removed{temporary};
  const int fd = OpenFinished(temporary);
  if (fd < 0) Fail(path, "open the finished file", errno);
  struct Closed {
    int fd;
    ~Closed() { CloseFile(fd); }
  } closed{fd};
  if (WrittenDirectly(path)) {
    OutputFile out(path);
    char buffer[1 << 16];
    for (long long n; (n = ReadSome(fd, buffer, sizeof buffer)) != 0;) {
      if (n < 0 && InterruptedToRetry()) continue;
      if (n < 0) Fail(path, "read the finished file", errno);
      out.Write({buffer, static_cast<std::size_t>(n)});
    }
    out.Commit();
    return;
  }
  const std::string target = FollowLinks(path);
  if (KeepAttributes(fd, target) != 0) Fail(path, "keep the mode and owner", errno);
  if (SyncFile(fd) != 0) Fail(path, "sync", errno);
  Replace(temporary, target, path);
}

}  // namespace devhost
