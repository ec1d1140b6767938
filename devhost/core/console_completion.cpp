#include "core/console_completion.h"

#include <algorithm>

#include "core/host.h"
#include "core/value_syntax.h"

namespace devhost {

namespace {

// The words typed before the last one, and the start of the last one.
struct TypedWords {
  std::vector<std::string> done;
  std::string last;
  std::size_t lastBegin = 0;
};

TypedWords Split(const std::string& typed) {
  TypedWords words;
  std::size_t pos = SkipBlanks(typed, 0);
  while (pos < typed.size()) {
    std::size_t end = pos;
    while (end < typed.size() && !IsBlank(typed[end])) ++end;
    if (end == typed.size()) {
      words.last = typed.substr(pos);
      words.lastBegin = pos;
      return words;
    }
    words.done.push_back(typed.substr(pos, end - pos));
    pos = SkipBlanks(typed, end);
  }
  words.lastBegin = typed.size();
  return words;
}

// What a usage word stands for, given the names the host knows.
std::vector<std::string> NamesFor(const Host& host, const std::string& word) {
  if (word == kVariableValue) return host.VariableNames();
  if (word == kPluginValue) {
    std::vector<std::string> names;
    for (const auto& plugin : host.Plugins()) names.push_back(plugin->name);
    return names;
  }
  if (IsLiteralWord(word)) return {word};
  return {};
}

// A typed word stands where a usage word does: the same word, or any value.
bool Fits(const std::string& usageWord, const std::string& typed) {
  return usageWord == typed || !IsLiteralWord(usageWord);
}

}  // namespace

Completion CompleteLine(const Host& host, const std::string& typed) {
  const TypedWords words = Split(typed);
  std::vector<std::string> choices;
  for (const HelpSection& section : host.Help()) {
    if (!section.commands) continue;
    for (const HelpEntry& entry : section.entries) {
      const std::vector<std::string> usage = UsageWords(entry.usage);
      const std::size_t at = words.done.size();
      if (usage.size() <= at) continue;
      bool fits = true;
      for (std::size_t i = 0; i < at && fits; ++i) fits = Fits(usage[i], words.done[i]);
      if (!fits) continue;
      for (auto& name : NamesFor(host, usage[at]))
        if (name.starts_with(words.last)) choices.push_back(std::move(name));
    }
  }
  std::sort(choices.begin(), choices.end());
  choices.erase(std::unique(choices.begin(), choices.end()), choices.end());
  Completion completion{typed, {}};
  if (choices.empty()) return completion;
  if (choices.size() == 1) {
    completion.line = typed.substr(0, words.lastBegin) + choices[0] + ' ';
    return completion;
  }
  // Sorted, so the first and the last differ soonest.
  const auto [first, last] = std::mismatch(choices.front().begin(), choices.front().end(),
                                           choices.back().begin(), choices.back().end());
  completion.line = typed.substr(0, words.lastBegin) + std::string(choices.front().begin(), first);
  completion.choices = std::move(choices);
  return completion;
}

}  // namespace devhost
