// The host's saved configuration: one variable a line, `name "value"`, with \" and \\ escapes.
#pragma once

#include <string>
#include <vector>

namespace devhost {

struct ConfigEntry {
  std::string name;
  std::string value;
};

struct ConfigReadResult {
  bool readable = true;  // false when the file exists but cannot be read
  bool exists = true;
  std::vector<ConfigEntry> entries;
  std::vector<std::string> problems;  // "FILE:LINE: what was expected"
};

// Bad lines are reported and skipped; blank lines and lines starting with '#' are ignored.
ConfigReadResult ReadConfigFile(const std::string& path);
// One quoted value, as the file and the console write it.
std::string QuoteValue(const std::string& value);
std::string FormatConfig(const std::vector<ConfigEntry>& entries);

// Reads a quoted value starting at line[pos], leaving pos just past the closing quote; on failure
// sets error to what was expected.
bool ParseQuoted(const std::string& line, std::size_t& pos, std::string& value, std::string& error);

}  // namespace devhost
