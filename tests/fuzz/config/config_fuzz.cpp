// Configuration files: any bytes restore every readable line, report every other one, and the file
// written back holds every value, readable and whole. A broken property throws, which is a crash.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "../fuzz_host.h"
#include "core/config_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  devhost::Host& host = veyrant_fuzz::FuzzHost();
  static const std::string path =
      std::filesystem::temp_directory_path() / ("veyrant-config-fuzz-" + std::to_string(getpid()));
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::ofstream(path, std::ios::binary) << text;

  const devhost::ConfigReadResult read = devhost::ReadConfigFile(path);
  const auto problems = host.RestoreConfig(path);
  if (problems != read.problems) throw std::logic_error("the host and the reader differ");
  std::size_t withContent = 0;  // lines that hold more than blanks or a comment
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    withContent += first != std::string::npos && line[first] != '#';
  }
  if (read.entries.size() + problems.size() != withContent)
    throw std::logic_error("a line was neither restored nor reported");

  // The last value of each name wins, restored into the store or kept for another plugin.
  std::map<std::string, std::string> expected, written;
  for (const auto& entry : read.entries) expected[entry.name] = entry.value;
  for (const auto& cvar : host.Store().All()) {
    if (expected.contains(cvar->name) && expected[cvar->name] != cvar->value)
      throw std::logic_error("a restored value differs");
    if (cvar->saved) expected[cvar->name] = cvar->value;
  }
  host.SaveConfig();
  const devhost::ConfigReadResult saved = devhost::ReadConfigFile(path);
  if (!saved.problems.empty()) throw std::logic_error("the written file has unreadable lines");
  for (const auto& entry : saved.entries) written[entry.name] = entry.value;
  if (written != expected) throw std::logic_error("the written file lost or changed a value");
  return 0;
}
