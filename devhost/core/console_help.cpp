#include "core/console_help.h"

#include <algorithm>
#include <cctype>

#include "system/words.h"

namespace devhost {

namespace {

constexpr std::size_t kUsageColumn = 24;

}  // namespace

bool IsLiteralWord(const std::string& word) {
  return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
    return std::islower(static_cast<unsigned char>(c)) || c == '_';
  });
}

const HelpSection& ConsoleLineHelp() {
  static const HelpSection help{
      "console lines",
      {{"help", "these lines: the console's lines, the window's commands and keys"},
       {"cvarlist [TEXT]",
        "every variable whose name holds TEXT: its value, default and description"},
       {std::string(kVariableValue), "print the variable's value"},
       {std::string(kVariableValue) + " VALUE",
        "set it: one word, or \"quoted\" with \\\" and \\\\ as escapes"},
       {"exec FILE", "run FILE's console lines, one a line"},
       {"plugin load PATH", "load the plugin module at PATH"},
       {"plugin unload " + std::string(kPluginValue), "unload that plugin"},
       {"plugin reload " + std::string(kPluginValue),
        "load its module file anew, keeping the variables' values"},
       {"# TEXT", "a comment: does nothing"}}};
  return help;
}

std::string HelpText(const std::vector<HelpSection>& sections) {
  std::string text;
  for (const HelpSection& section : sections) {
    text += section.title + ":\n";
    for (const HelpEntry& entry : section.entries) {
      std::string line = "  " + entry.usage;
      line.resize(std::max(line.size() + 2, kUsageColumn), ' ');
      text += line + entry.meaning + '\n';
    }
  }
  return text;
}

std::vector<std::string> UsageWords(const std::string& usage) {
  std::vector<std::string> words = Words(usage);
  for (std::string& word : words)
    if (word.size() > 2 && word.front() == '[' && word.back() == ']')
      word = word.substr(1, word.size() - 2);
  return words;
}

std::vector<std::string> CommandWords(const std::vector<HelpSection>& sections) {
  std::vector<std::string> words;
  for (const HelpSection& section : sections) {
    if (!section.commands) continue;
    for (const HelpEntry& entry : section.entries) {
      const std::vector<std::string> usage = UsageWords(entry.usage);
      if (!usage.empty() && IsLiteralWord(usage[0]) &&
          std::find(words.begin(), words.end(), usage[0]) == words.end())
        words.push_back(usage[0]);
    }
  }
  return words;
}

}  // namespace devhost
