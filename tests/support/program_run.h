// Runs the pryndal-devhost program as people do, for tests of its output and exit codes.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace veyrant_test {

struct ProgramRun {
  int status;
  std::vector<std::string> lines;  // standard output, then standard error
};

inline ProgramRun Devhost(const std::string& arguments) {
  const std::string command = std::string(VEYRANT_DEVHOST_PATH) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ProgramRun run{-1, {}};
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer;
  std::string out;
  while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
    out.append(buffer.data(), n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) run.lines.push_back(line);
  return run;
}

}  // namespace veyrant_test
