#include "core/config_file.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "core/value_syntax.h"
#include "system/input_file.h"

namespace devhost {

namespace {

// Fills in what the line holds; returns false with what was expected for a line it cannot use.
bool ReadLine(ConfigLine& line, std::string& error) {
  const std::string& text = line.text;
  std::size_t pos = SkipBlanks(text, 0);
  if (pos == text.size() || text[pos] == '#') return true;
  const std::size_t nameStart = pos;
  while (pos < text.size() && !IsBlank(text[pos]) && text[pos] != '"') ++pos;
  line.name = text.substr(nameStart, pos - nameStart);
  if (line.name.empty()) {
    error = "expected a variable name before the value";
    return false;
  }
  pos = SkipBlanks(text, pos);
  line.valueBegin = pos;
  if (pos == text.size()) {
    error = "expected a value after " + line.name;
    return false;
  }
  line.quoted = text[pos] == '"';
  if (!ReadValue(text, pos, line.value, error)) {
    error += " after " + line.name;
    return false;
  }
  line.valueEnd = pos;
  if (SkipBlanks(text, pos) != text.size()) {
    error = "expected the end of the line after the value";
    return false;
  }
  line.kind = ConfigLine::Kind::Entry;
  return true;
}

// A value written back in the form its line had, when that form can hold it.
std::string WrittenValue(const std::string& value, bool quoted) {
  return quoted || !FitsBare(value) ? QuoteValue(value) : value;
}
}  // namespace

ConfigReadResult ReadConfigFile(const std::string& path) {
  ConfigReadResult result;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return result;
  std::string text;
  try {
    text = ReadInputFile(path, {"configuration file", kConfigLimit,
                                "a configuration file is written back, and a FIFO cannot be"});
  } catch (const InputFileError& e) {
    result.readable = false;
    result.problems.push_back(std::string(e.what()) + "; it is left as it is");
    return result;
  }
  std::size_t start = 0;
  for (int number = 1; start < text.size(); ++number) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    ConfigLine& line = result.lines.emplace_back();
    line.text = text.substr(start, end - start);
    start = end + 1;
    std::string error;
    if (!ReadLine(line, error)) {
      line.kind = ConfigLine::Kind::Unreadable;
      result.problems.push_back(path + ":" + std::to_string(number) + ": " + error);
    }
  }
  return result;
}

std::string WriteBackConfig(const std::vector<ConfigLine>& lines, std::vector<SavedValue> values) {
  std::vector<std::string> texts;
  std::map<std::string, std::size_t> lastEntry;
  std::set<std::string> named;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    texts.push_back(lines[i].text);
    named.insert(lines[i].name);
    if (lines[i].kind == ConfigLine::Kind::Entry) lastEntry[lines[i].name] = i;
  }
  std::sort(values.begin(), values.end(),
            [](const SavedValue& a, const SavedValue& b) { return a.name < b.name; });
  std::string appended;
  for (const auto& saved : values) {
    if (const auto entry = lastEntry.find(saved.name); entry != lastEntry.end()) {
      const ConfigLine& line = lines[entry->second];
      if (saved.changed && saved.value != line.value)
        texts[entry->second] = line.text.substr(0, line.valueBegin) +
                               WrittenValue(saved.value, line.quoted) +
                               line.text.substr(line.valueEnd);
    } else if (!named.contains(saved.name)) {
      appended += saved.name + ' ' + QuoteValue(saved.value) + '\n';
    }
  }
  std::string out;
  for (const auto& text : texts) out += text + '\n';
  return out + appended;
}

}  // namespace devhost
