// The pryndal-devhost program run as people run it, on the module under test. On Linux it runs
// in the test's own folder, so file names in the arguments are relative to it, with a $TMPDIR of
// its own beside it, and ends with the test.
#pragma once

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_folder.h"
#if !defined(_WIN32)
#include "support/child_process.h"
#endif

namespace veyrant_test {

struct ProgramRun {
  int exitCode;                    // -1 when it did not end by exiting
  std::vector<std::string> lines;  // standard output, then standard error
  std::string errors;              // standard error
};

inline void AppendLines(std::vector<std::string>& lines, const std::string& text) {
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
}

#if defined(_WIN32)
// Quote arguments with double quotes, which cmd.exe reads too. Backslashes, or cmd.exe reads the
// path's slashes as switches; text mode turns the program's CR LF lines back into LF ones.
// Standard error comes with standard output.
// Under Wine, _popen now and then fails to start cmd.exe (seen once, in a fresh prefix with the
// suite running in parallel): a run that printed nothing and has no exit code is made again.
inline ProgramRun Devhost(const std::string& arguments) {
  const std::string command =
      std::filesystem::path(VEYRANT_DEVHOST_PATH).make_preferred().string() + " " + arguments +
      " 2>&1";
  ProgramRun run{-1, {}, "cmd.exe did not start"};
  for (int attempt = 0; attempt < 3 && run.exitCode == -1 && run.lines.empty(); ++attempt) {
    FILE* pipe = _popen(command.c_str(), "rt");
    if (pipe == nullptr) continue;
    std::array<char, 4096> buffer;
    std::string out;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
      out.append(buffer.data(), n);
    run = {_pclose(pipe), {}, out};
    AppendLines(run.lines, out);
  }
  return run;
}
#else
// The command as a shell fragment for the test's folder; environment is NAME=VALUE words or
// -u NAME for env. The window's history goes to a folder beside the test's (".state"), never to
// the home's.
// clang 14's LeakSanitizer crashes in its scan of thread-local storage at exit once Mesa's threads
// have run ("Tracer caught signal 11"), so the sanitizer build checks the program for memory errors
// only; the in-process tests check leaks.
inline std::string DevhostCommand(const std::string& arguments,
                                  const std::string& environment = "") {
  return "env " + environment + " XDG_STATE_HOME='" + TestFolder(".state").string() + "' TMPDIR='" +
         TestTmpdir().string() +
         "' ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" '" VEYRANT_DEVHOST_PATH
         "' --plugin '" VEYRANT_MODULE_PATH "' " +
         arguments;
}

// Quote arguments with double quotes; a later --plugin replaces the module under test.
inline ProgramRun Devhost(const std::string& arguments, const std::string& environment = "") {
  const std::filesystem::path folder = TestFolder();
  const ShellRun shell = RunShell("cd '" + folder.string() + "' && exec " +
                                  DevhostCommand(arguments, environment) + " 2>stderr.txt");
  ProgramRun run{WIFEXITED(shell.status) ? WEXITSTATUS(shell.status) : -1,
                 {},
                 ReadFile(folder / "stderr.txt")};
  AppendLines(run.lines, shell.output);
  AppendLines(run.lines, run.errors);
  return run;
}
#endif

}  // namespace veyrant_test
