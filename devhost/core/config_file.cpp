#include "core/config_file.h"

#include <filesystem>
#include <fstream>

namespace devhost {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
}  // namespace

bool ParseQuoted(const std::string& line, std::size_t& pos, std::string& value,
                 std::string& error) {
  if (pos >= line.size() || line[pos] != '"') {
    error = "expected a quoted value";
    return false;
  }
  value.clear();
  for (++pos; pos < line.size(); ++pos) {
    const char c = line[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\') {
      if (pos + 1 >= line.size() || (line[pos + 1] != '"' && line[pos + 1] != '\\')) {
        error = "expected \\\" or \\\\ after a backslash";
        return false;
      }
      value += line[++pos];
    } else {
      value += c;
    }
  }
  error = "expected a closing quote";
  return false;
}

ConfigReadResult ReadConfigFile(const std::string& path) {
  ConfigReadResult result;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    result.exists = false;
    return result;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    result.readable = false;
    result.problems.push_back(path + ": cannot read the configuration file; it is left as it is");
    return result;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::size_t pos = 0;
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos == line.size() || line[pos] == '#') continue;
    const std::string where = path + ":" + std::to_string(number) + ": ";
    const std::size_t nameStart = pos;
    while (pos < line.size() && !IsBlank(line[pos]) && line[pos] != '"') ++pos;
    ConfigEntry entry{line.substr(nameStart, pos - nameStart), {}};
    if (entry.name.empty()) {
      result.problems.push_back(where + "expected a variable name before the value");
      continue;
    }
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    std::string error;
    if (!ParseQuoted(line, pos, entry.value, error)) {
      result.problems.push_back(where + error + " after " + entry.name);
      continue;
    }
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos != line.size()) {
      result.problems.push_back(where + "expected the end of the line after the value");
      continue;
    }
    result.entries.push_back(std::move(entry));
  }
  if (in.bad()) {
    result.readable = false;
    result.problems.push_back(path + ": read error; the file is left as it is");
  }
  return result;
}

std::string QuoteValue(const std::string& value) {
  std::string out = "\"";
  for (char c : value) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

std::string FormatConfig(const std::vector<ConfigEntry>& entries) {
  std::string out;
  for (const auto& entry : entries) out += entry.name + ' ' + QuoteValue(entry.value) + '\n';
  return out;
}

}  // namespace devhost
