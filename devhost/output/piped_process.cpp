#include "output/piped_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace devhost {

namespace {

constexpr std::size_t kKeptLines = 5;

[[noreturn]] void Fail(const std::string& what, int error) {
  throw std::runtime_error(what + ": " + std::strerror(error));
}

// Closes both ends on destruction unless taken.
struct Pipe {
  int read = -1, write = -1;
  Pipe() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) Fail("cannot make a pipe", errno);
    read = fds[0];
    write = fds[1];
  }
  ~Pipe() {
    if (read >= 0) close(read);
    if (write >= 0) close(write);
  }
  static int Take(int& fd) { return std::exchange(fd, -1); }
};

// The child's side of the start, between fork and exec: only calls that are safe in a child of a
// threaded process. It ends with the program running, or writes errno to report and exits.
[[noreturn]] void StartChild(pid_t parent, int input, int errors, int report, char* const* argv) {
  // Ended with its parent, however that ends, so a killed host leaves no encoder behind.
  if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(127);
  // SIGPIPE as the program expects it and nothing blocked, whatever the starting thread had.
  sigset_t none;
  sigemptyset(&none);
  signal(SIGPIPE, SIG_DFL);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (devNull >= 0 && dup2(input, STDIN_FILENO) >= 0 && dup2(devNull, STDOUT_FILENO) >= 0 &&
      dup2(errors, STDERR_FILENO) >= 0)
    execvp(argv[0], argv);
  const int error = errno;
  while (write(report, &error, sizeof error) < 0 && errno == EINTR) {
  }
  _exit(127);
}

}  // namespace

PipedProcess::PipedProcess(const std::string& program, const std::vector<std::string>& args) {
  Pipe input, errors, report;
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  const pid_t parent = getpid();
  pid_ = fork();
  if (pid_ < 0) Fail("cannot start " + program, errno);
  if (pid_ == 0) StartChild(parent, input.read, errors.write, report.write, argv.data());

  // The report pipe's write end closes on exec: nothing to read means the program runs.
  close(Pipe::Take(report.write));
  int error = 0;
  ssize_t n;
  while ((n = read(report.read, &error, sizeof error)) < 0 && errno == EINTR) {
  }
  if (n > 0) {
    Wait();
    Fail("cannot start " + program, error);
  }
  input_ = Pipe::Take(input.write);
  errorReader_ = std::thread([this, fd = Pipe::Take(errors.read)] { ReadErrors(fd); });
}

PipedProcess::~PipedProcess() {
  Kill();
  Finish();
}

void PipedProcess::Kill() {
  if (pid_ > 0) kill(pid_, SIGKILL);
}

void PipedProcess::ReadErrors(int fd) {
  std::string partial;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    partial.append(buffer, static_cast<std::size_t>(n));
    std::lock_guard lock(mutex_);
    for (std::size_t end; (end = partial.find('\n')) != std::string::npos;) {
      errorLines_.push_back(partial.substr(0, end));
      partial.erase(0, end + 1);
      if (errorLines_.size() > kKeptLines) errorLines_.pop_front();
    }
  }
  close(fd);
  std::lock_guard lock(mutex_);
  if (!partial.empty()) errorLines_.push_back(partial);
  if (errorLines_.size() > kKeptLines) errorLines_.pop_front();
}

bool PipedProcess::Write(const void* data, std::size_t size) {
  // A write to a pipe nobody reads raises SIGPIPE on this thread: blocked here, and taken back
  // afterwards unless it was already pending, so EPIPE is the only sign.
  sigset_t pipeSignal, previousMask, pending;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  sigpending(&pending);
  const bool wasPending = sigismember(&pending, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeSignal, &previousMask);
  const auto* bytes = static_cast<const char*>(data);
  bool open = true;
  while (size > 0) {
    const ssize_t n = write(input_, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      open = false;
      break;
    }
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  if (!open && !wasPending) {
    const timespec now{0, 0};
    while (sigtimedwait(&pipeSignal, nullptr, &now) < 0 && errno == EINTR) {
    }
  }
  pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
  return open;
}

std::string PipedProcess::Finish() {
  if (input_ >= 0) close(Pipe::Take(input_));
  if (errorReader_.joinable()) errorReader_.join();
  return pid_ > 0 ? Wait() : std::string();
}

std::string PipedProcess::Wait() {
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  if (WIFEXITED(status))
    return WEXITSTATUS(status) == 0 ? "" : "exit code " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status));
  return "ended with status " + std::to_string(status);
}

std::vector<std::string> PipedProcess::ErrorLines() {
  std::lock_guard lock(mutex_);
  return {errorLines_.begin(), errorLines_.end()};
}

}  // namespace devhost
