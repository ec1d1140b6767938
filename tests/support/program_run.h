// Runs the pryndal-devhost program as people do, for tests of its output and exit codes.
#pragma once

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

#include <array>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace veyrant_test {

struct ProgramRun {
  int status;
  std::vector<std::string> lines;  // standard output, then standard error
};

#if defined(_WIN32)
// cmd.exe runs the command: backslashes, or it reads the path's slashes as switches. Text mode
// turns the program's CR LF error lines back into LF ones.
inline FILE* OpenPipe(const std::string& command) { return _popen(command.c_str(), "rt"); }
inline int ExitCode(FILE* pipe) { return _pclose(pipe); }
inline std::string DevhostPath() {
  return std::filesystem::path(VEYRANT_DEVHOST_PATH).make_preferred().string();
}
#else
inline FILE* OpenPipe(const std::string& command) { return popen(command.c_str(), "r"); }
inline int ExitCode(FILE* pipe) {
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
inline std::string DevhostPath() { return VEYRANT_DEVHOST_PATH; }
#endif

// Runs a shell command and keeps what it prints, line by line.
inline ProgramRun Run(const std::string& command) {
  FILE* pipe = OpenPipe(command);
  ProgramRun run{-1, {}};
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer;
  std::string out;
  while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
    out.append(buffer.data(), n);
  run.status = ExitCode(pipe);
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) run.lines.push_back(line);
  return run;
}

// Quote arguments with double quotes: both sh and cmd.exe read them.
inline ProgramRun Devhost(const std::string& arguments) {
  return Run(DevhostPath() + " " + arguments + " 2>&1");
}

}  // namespace veyrant_test
