#include "core/console_lines_file.h"

#include <sstream>

#include "system/host_errors.h"
#include "system/input_file.h"

namespace devhost {

std::vector<std::string> ReadConsoleLines(const std::string& path, const char* what,
                                          const std::string& caller) {
  std::istringstream in;
  try {
    in.str(ReadInputFile(path, {what, 16 * kMiB}));
  } catch (const InputFileError& e) {
    throw ConsoleError(caller + ": " + e.what());
  }
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace devhost
