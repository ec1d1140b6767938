// Another program run with its standard input fed through a pipe, its standard output thrown
// away and its standard error kept, the last lines only, for saying why it failed.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace devhost {

class PipedProcess {
 public:
  // Starts program, looked up on the PATH. Throws std::runtime_error if it cannot be started.
  PipedProcess(const std::string& program, const std::vector<std::string>& args);
  // Kills the program if it still runs, and waits for it.
  ~PipedProcess();
  PipedProcess(const PipedProcess&) = delete;
  PipedProcess& operator=(const PipedProcess&) = delete;

  // Writes all of data; false once the program no longer reads its input (it closed it or
  // ended). Safe against SIGPIPE on any thread.
  bool Write(const void* data, std::size_t size);
  // Stops the program at once (SIGKILL) if it still runs; a Write blocked on it returns false.
  void Kill();
  // Closes its input and waits for it to end. Empty when it exited with 0, otherwise how it
  // ended ("exit code 1", "killed by signal 9").
  std::string Finish();
  // Its last lines on standard error, complete once Finish has returned.
  std::vector<std::string> ErrorLines();

 private:
  void ReadErrors(int fd);
  std::string Wait();

  pid_t pid_ = -1;
  int input_ = -1;
  std::mutex mutex_;
  std::deque<std::string> errorLines_;
  std::thread errorReader_;
};

}  // namespace devhost
