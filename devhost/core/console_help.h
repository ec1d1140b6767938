// What the console takes, as help shows it: a line for each form of each command, and for each
// key of the window. The same lines give Tab completion its words and "did you mean" its names,
// so a command is described once. In a usage, lower-case words are written as they stand and
// upper-case ones stand for a value: VARIABLE for a variable's name, PLUGIN for a loaded plugin's;
// [X] may be left out.
#pragma once

#include <string>
#include <vector>

namespace devhost {

struct HelpEntry {
  std::string usage;  // "plugin reload PLUGIN", "step [N]", or a key: "Page Up, Page Down"
  std::string meaning;
};

struct HelpSection {
  std::string title;  // "console lines"
  std::vector<HelpEntry> entries;
  bool commands = true;  // false for keys, whose usages are no command words
  // Where the commands are taken, when not everywhere the console is: "only the window's console
  // line and its --script take it".
  std::string onlyIn = {};
};

inline constexpr char kVariableValue[] = "VARIABLE";
inline constexpr char kPluginValue[] = "PLUGIN";

// The host's own console lines, taken wherever console lines are (--exec, exec files, the window).
const HelpSection& ConsoleLineHelp();

// Each section's title, then an entry a line, usage and meaning in columns.
std::string HelpText(const std::vector<HelpSection>& sections);
// A usage's words, brackets taken off: "step [N]" gives "step", "N".
std::vector<std::string> UsageWords(const std::string& usage);
// A usage word written as it stands ("seek", "frame"), not a value to fill in.
bool IsLiteralWord(const std::string& word);
// The words the commands' usages start with, once each, in order.
std::vector<std::string> CommandWords(const std::vector<HelpSection>& sections);

}  // namespace devhost
