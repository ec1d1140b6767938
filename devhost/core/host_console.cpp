// The host's console language: variables set, printed and listed, plugins loaded, unloaded and
// reloaded, files of console lines run, and help.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>

#include "core/console_lines_file.h"
#include "core/host.h"
#include "core/nearest_name.h"
#include "core/value_syntax.h"

namespace devhost {

namespace {

// Splits off the first word; rest is what follows it, trimmed.
std::string FirstWord(const std::string& text, std::string& rest) {
  std::size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  rest = Trim(text.substr(end));
  return text.substr(0, end);
}

// One value, bare or quoted; nothing may follow.
std::string OneValue(const std::string& name, const std::string& text) {
  std::string value, error;
  std::size_t pos = 0;
  if (!ReadValue(text, pos, value, error)) throw ConsoleError(name + ": " + error);
  const std::string rest = Trim(text.substr(pos));
  if (!rest.empty()) throw ConsoleError(name + ": expected one value, got more: " + rest);
  return value;
}

// The saved configuration holds one variable a line and has no escape for a line break, so a value
// with one could not be written back whole.
const std::string& OneLine(const std::string& name, const std::string& value) {
  if (value.find('\n') != std::string::npos)
    throw ConsoleError(name + ": a value may not hold a line break");
  return value;
}

// "`plugin load PATH`, `plugin unload PLUGIN` or `plugin reload PLUGIN`", from help.
std::string UsagesOf(const std::string& word, const std::vector<HelpSection>& help) {
  std::vector<std::string> usages;
  for (const HelpSection& section : help)
    for (const HelpEntry& entry : section.entries)
      if (UsageWords(entry.usage).at(0) == word) usages.push_back('`' + entry.usage + '`');
  std::string text;
  for (std::size_t i = 0; i < usages.size(); ++i)
    text += (i == 0 ? "" : i + 1 == usages.size() ? " or " : ", ") + usages[i];
  return text;
}

bool Holds(const std::string& name, const std::string& text) {
  const auto same = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  };
  return std::search(name.begin(), name.end(), text.begin(), text.end(), same) != name.end();
}

void AppendColumn(std::string& line, const std::string& text, std::size_t width) {
  line += text;
  line.append(width - text.size() + 2, ' ');
}

// One variable a line, sorted by name, in columns: name, value, default, description.
std::string VariableList(const std::vector<std::unique_ptr<Cvar>>& all, const std::string& text) {
  std::vector<const Cvar*> listed;
  for (const auto& cvar : all)
    if (Holds(cvar->name, text)) listed.push_back(cvar.get());
  if (listed.empty()) return "cvarlist: no variable's name holds " + QuoteValue(text) + '\n';
  std::sort(listed.begin(), listed.end(), [](auto* a, auto* b) { return a->name < b->name; });
  std::size_t name = 0, value = 0, byDefault = 0;
  for (const Cvar* cvar : listed) {
    name = std::max(name, cvar->name.size());
    value = std::max(value, QuoteValue(cvar->value).size());
    byDefault = std::max(byDefault, QuoteValue(cvar->defaultValue).size() + 8);
  }
  std::string out;
  for (const Cvar* cvar : listed) {
    std::string line;
    AppendColumn(line, cvar->name, name);
    AppendColumn(line, QuoteValue(cvar->value), value);
    AppendColumn(line, "default " + QuoteValue(cvar->defaultValue), byDefault);
    line += cvar->description;
    out += Trim(line) + '\n';
  }
  return out;
}

}  // namespace

std::optional<std::string> ExecFileOf(const std::string& line) {
  std::string rest;
  if (FirstWord(Trim(line), rest) != "exec" || rest.empty()) return {};
  try {
    return OneValue("exec", rest);
  } catch (const ConsoleError&) {
    return {};
  }
}

std::string Host::Console(const std::string& input) {
  const std::string line = Trim(input);
  if (line.empty() || line.front() == '#') return {};
  std::string rest;
  const std::string word = FirstWord(line, rest);
  if (word == "plugin") {
    std::string argument;
    const std::string action = FirstWord(rest, argument);
    if (action == "load" && !argument.empty()) {
      try {
        return "loaded " + LoadPlugin(OneValue("plugin load", argument)).name + "\n";
      } catch (const LoadError& e) {
        throw ConsoleError(std::string("plugin load: ") + e.what());
      }
    }
    if (action == "unload" && !argument.empty()) {
      UnloadPlugin(OneValue("plugin unload", argument));
      return {};
    }
    if (action == "reload" && !argument.empty()) {
      try {
        return "reloaded " + ReloadPlugin(OneValue("plugin reload", argument)).path + "\n";
      } catch (const LoadError& e) {
        throw ConsoleError(std::string("plugin reload: ") + e.what());
      }
    }
    throw ConsoleError("plugin: expected " + UsagesOf("plugin", help_));
  }
  if (word == "exec") {
    if (rest.empty()) throw ConsoleError("exec: expected a file name");
    return Exec(OneValue("exec", rest));
  }
  if (word == "help") {
    if (!rest.empty()) throw ConsoleError("help: takes no value, got '" + rest + "'");
    return HelpText(help_);
  }
  if (word == "cvarlist")
    return VariableList(store_.All(), rest.empty() ? rest : OneValue(word, rest));
  Cvar* cvar = store_.Find(word);
  if (cvar == nullptr) throw ConsoleError(Unknown(word));
  if (rest.empty()) return cvar->name + ' ' + QuoteValue(cvar->value) + '\n';
  store_.Set(*cvar, OneLine(word, OneValue(word, rest)));
  return {};
}

std::string Host::Exec(const std::string& path) {
  const std::vector<std::string> lines = ReadConsoleLines(path, "file of console lines", "exec");
  // A file that runs itself, directly or through others, would recurse until the stack overflows.
  std::error_code ec;
  const std::string identity = std::filesystem::weakly_canonical(path, ec).string();
  if (std::find(execChain_.begin(), execChain_.end(), identity) != execChain_.end())
    throw ConsoleError("exec: " + path + " is already running (a file may not run itself)");
  execChain_.push_back(identity);
  std::string output;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    try {
      output += Console(lines[i]);
    } catch (const ConsoleError& e) {
      execChain_.pop_back();
      throw ConsoleError(path + ":" + std::to_string(i + 1) + ": " + e.what());
    }
  }
  execChain_.pop_back();
  return output;
}

void Host::SetVariable(const std::string& name, const std::string& value) {
  Cvar* cvar = store_.Find(name);
  if (cvar == nullptr)
    throw ConsoleError("unknown variable " + name + DidYouMean(name, VariableNames()));
  store_.Set(*cvar, OneLine(name, value));
}

std::vector<std::string> Host::VariableNames() const {
  std::vector<std::string> names;
  for (const auto& cvar : store_.All()) names.push_back(cvar->name);
  return names;
}

// A word of a command taken only elsewhere says where; any other, the nearest known word.
std::string Host::Unknown(const std::string& word) const {
  for (const HelpSection& section : help_) {
    const std::vector<std::string> words = CommandWords({section});
    if (!section.onlyIn.empty() && std::find(words.begin(), words.end(), word) != words.end())
      return word + ": " + section.onlyIn;
  }
  std::vector<std::string> known = CommandWords(help_);
  for (auto& name : VariableNames()) known.push_back(std::move(name));
  return "unknown command or variable: " + word + DidYouMean(word, known);
}

}  // namespace devhost
