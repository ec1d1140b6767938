// Configuration files: any bytes restore every readable line, report every other one, and the file
// written back holds every value, readable and whole.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <string_view>

#include "../fuzz_host.h"
#include "core/config_file.h"

namespace {

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "config fuzz: %s\n", what);
  std::abort();
}

const std::string& ScratchPath() {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("veyrant-config-fuzz-" + std::to_string(getpid())))
          .string();
  return path;
}

// Lines as the reader splits them that hold more than blanks or a comment.
std::size_t LinesWithContent(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::size_t first = text.find_first_not_of(" \t\r", start);
    if (first < end && text[first] != '#') ++count;
    start = end + 1;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  devhost::Host& host = veyrant_fuzz::FuzzHost();
  veyrant_fuzz::ResetVariables(host);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string& path = ScratchPath();
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(text.data(), std::streamsize(size));

  const devhost::ConfigReadResult read = devhost::ReadConfigFile(path);
  const std::vector<std::string> problems = host.RestoreConfig(path);
  if (problems != read.problems) Broken("the host reported other problems than the reader");
  if (read.entries.size() + problems.size() != LinesWithContent(text))
    Broken("a line was neither restored nor reported");

  // The last value of each name wins, registered or kept for another plugin.
  std::map<std::string, std::string> expected;
  for (const auto& entry : read.entries) expected[entry.name] = entry.value;
  for (const auto& cvar : host.Store().All()) {
    const auto it = expected.find(cvar->name);
    if (it != expected.end() && it->second != cvar->value) Broken("a restored value differs");
    if (cvar->saved) expected[cvar->name] = cvar->value;
  }
  host.RenderFrames(1);

  host.SaveConfig();
  const devhost::ConfigReadResult saved = devhost::ReadConfigFile(path);
  if (!saved.problems.empty()) Broken("the written file has unreadable lines");
  std::map<std::string, std::string> written;
  for (const auto& entry : saved.entries) written[entry.name] = entry.value;
  if (written != expected) Broken("the written file lost or changed a value");
  return 0;
}
