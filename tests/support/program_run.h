// Runs the pryndal-devhost program as people do, for tests of its output and exit codes.
#pragma once

#include <array>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include "support/child_process.h"
#endif

namespace veyrant_test {

struct ProgramRun {
  int status;
  std::vector<std::string> lines;  // standard output, then standard error
};

inline ProgramRun Finished(int status, const std::string& out) {
  ProgramRun run{status, {}};
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) run.lines.push_back(line);
  return run;
}

#if defined(_WIN32)
// cmd.exe runs the command: backslashes, or it reads the path's slashes as switches. Text mode
// turns the program's CR LF error lines back into LF ones.
inline std::string DevhostPath() {
  return std::filesystem::path(VEYRANT_DEVHOST_PATH).make_preferred().string();
}

// Runs a command and keeps what it prints, line by line.
inline ProgramRun Run(const std::string& command) {
  FILE* pipe = _popen(command.c_str(), "rt");
  if (pipe == nullptr) return {-1, {}};
  std::array<char, 4096> buffer;
  std::string out;
  while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
    out.append(buffer.data(), n);
  const int status = _pclose(pipe);
  return Finished(status, out);
}
#else
inline std::string DevhostPath() { return VEYRANT_DEVHOST_PATH; }

// Runs a command and keeps what it prints, line by line.
inline ProgramRun Run(const std::string& command) {
  const ShellRun shell = RunShell("exec " + command);
  return Finished(WIFEXITED(shell.status) ? WEXITSTATUS(shell.status) : -1, shell.output);
}
#endif

// Quote arguments with double quotes: both sh and cmd.exe read them.
inline ProgramRun Devhost(const std::string& arguments) {
  return Run(DevhostPath() + " " + arguments + " 2>&1");
}

}  // namespace veyrant_test
