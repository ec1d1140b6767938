// Configuration files: any bytes restore every readable line and report every other one. After one
// variable changes, the file written back keeps every line as written and in place but that
// variable's last entry, reads with the same problems and holds every value. A broken property
// throws, which is a crash.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

#include "../fuzz_host.h"
#include "core/config_file.h"

namespace {
void Check(bool property, const char* broken) {
  if (!property) throw std::logic_error(broken);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using Kind = devhost::ConfigLine::Kind;
  devhost::Host& host = veyrant_fuzz::FuzzHost();
  static const std::string path =
      std::filesystem::temp_directory_path() / ("veyrant-config-fuzz-" + std::to_string(getpid()));
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::ofstream(path, std::ios::binary) << text;

  const devhost::ConfigReadResult read = devhost::ReadConfigFile(path);
  Check(host.RestoreConfig(path) == read.problems, "the host and the reader differ");
  std::vector<std::string> original;
  std::size_t withContent = 0;  // lines that hold more than blanks or a comment
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line); original.push_back(line)) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    withContent += first != std::string::npos && line[first] != '#';
  }
  // The last entry of each name wins; a saved variable is written unless only unreadable lines
  // name it.
  std::map<std::string, std::string> expected, written;
  std::set<std::string> named;
  for (const auto& line : read.lines) {
    named.insert(line.name);
    if (line.kind == Kind::Entry) expected[line.name] = line.value;
    withContent -= line.kind == Kind::Entry;
  }
  Check(withContent == read.problems.size(), "a line was neither restored nor reported");

  // One variable changes, to the input's first line: any form, quoted or not.
  const devhost::Cvar& changed = *host.Store().All()[size % host.Store().All().size()];
  host.SetVariable(changed.name, original.empty() ? "" : original.front());
  for (const auto& cvar : host.Store().All()) {
    const auto entry = expected.find(cvar->name);
    Check(entry == expected.end() || cvar.get() == &changed || entry->second == cvar->value,
          "a restored value differs");
    if (cvar->saved && (entry != expected.end() || !named.contains(cvar->name)))
      expected[cvar->name] = cvar->value;
  }
  host.SaveConfig();
  const devhost::ConfigReadResult saved = devhost::ReadConfigFile(path);
  Check(saved.problems == read.problems, "the written file reads otherwise");
  Check(saved.lines.size() >= original.size(), "the written file lost a line");
  std::size_t rewritten = 0;
  for (std::size_t i = 0; i < original.size(); ++i)
    Check(saved.lines[i].text == original[i] ||
              (++rewritten == 1 && read.lines[i].kind == Kind::Entry &&
               read.lines[i].name == changed.name),
          "a line the run did not change was rewritten");
  for (const auto& line : saved.lines)
    if (line.kind == Kind::Entry) written[line.name] = line.value;
  Check(written == expected, "the written file lost or changed a value");
  return 0;
}
