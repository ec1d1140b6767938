// The host's console language: variables set and printed, plugins loaded, unloaded and reloaded,
// files of console lines run.
#include <algorithm>
#include <filesystem>
#include <sstream>

#include "core/host.h"
#include "core/value_syntax.h"
#include "system/input_file.h"

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
    throw ConsoleError(
        "plugin: expected `plugin load PATH`, `plugin unload NAME` or `plugin reload NAME`");
  }
  if (word == "exec") {
    if (rest.empty()) throw ConsoleError("exec: expected a file name");
    return Exec(OneValue("exec", rest));
  }
  Cvar* cvar = store_.Find(word);
  if (cvar == nullptr) throw ConsoleError("unknown command or variable: " + word);
  if (rest.empty()) return cvar->name + ' ' + QuoteValue(cvar->value) + '\n';
  store_.Set(*cvar, OneLine(word, OneValue(word, rest)));
  return {};
}

std::string Host::Exec(const std::string& path) {
  std::string text;
  try {
    text = ReadInputFile(path, {"file of console lines", "cannot read " + path, kExecLimit});
  } catch (const InputFileError& e) {
    throw ConsoleError(std::string("exec: ") + e.what());
  }
  std::istringstream in(text);
  // A file that runs itself, directly or through others, would recurse until the stack overflows.
  std::error_code ec;
  const std::string identity = std::filesystem::weakly_canonical(path, ec).string();
  if (std::find(execChain_.begin(), execChain_.end(), identity) != execChain_.end())
    throw ConsoleError("exec: " + path + " is already running (a file may not run itself)");
  execChain_.push_back(identity);
  std::string output, line;
  for (int number = 1; std::getline(in, line); ++number) {
    try {
      output += Console(line);
    } catch (const ConsoleError& e) {
      execChain_.pop_back();
      throw ConsoleError(path + ":" + std::to_string(number) + ": " + e.what());
    }
  }
  execChain_.pop_back();
  return output;
}

void Host::SetVariable(const std::string& name, const std::string& value) {
  Cvar* cvar = store_.Find(name);
  if (cvar == nullptr) throw ConsoleError("unknown variable: " + name);
  store_.Set(*cvar, OneLine(name, value));
}

}  // namespace devhost
