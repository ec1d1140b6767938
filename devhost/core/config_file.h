// The host's saved configuration: one variable a line, `name "value"` with \" and \\ escapes, or
// `name value` with a one-word value, as the console takes them. Every line is kept as written,
// so that writing the file back changes nothing but the values the run changed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace devhost {

// One line as written, without its line break, and what the reader made of it.
struct ConfigLine {
  enum class Kind { Note, Entry, Unreadable };  // a note is a blank line or a comment
  Kind kind = Kind::Note;
  std::string text;
  std::string name;   // the variable an entry or an unreadable line names; empty if none
  std::string value;  // an entry's value
  bool quoted = false;
  std::size_t valueBegin = 0;  // an entry's value as written: text[valueBegin, valueEnd)
  std::size_t valueEnd = 0;
};

struct ConfigReadResult {
  bool readable = true;  // false when the file exists but cannot be read
  std::vector<ConfigLine> lines;
  std::vector<std::string> problems;  // "FILE:LINE: what was expected"
};

// A variable to write back; changed when the run gave it another value than it started with.
struct SavedValue {
  std::string name;
  std::string value;
  bool changed = false;
};

// Lines that cannot be read are reported and kept; the last entry of a name holds its value. A
// file above kConfigLimit bytes, a folder and a FIFO are reported as unreadable.
ConfigReadResult ReadConfigFile(const std::string& path);
constexpr std::uintmax_t kConfigLimit = 16ull * 1024 * 1024;

// The file's text with the values written in. A changed value replaces the value of the last entry
// naming it, in place and in the form it was written in; unchanged ones leave the file's value. A
// name no line names is appended, sorted by name. A name only unreadable lines name is not written:
// a line added now would shadow the person's line once it is mended.
std::string WriteBackConfig(const std::vector<ConfigLine>& lines, std::vector<SavedValue> values);

}  // namespace devhost
