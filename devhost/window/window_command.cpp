#include "window/window_command.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "core/host.h"
#include "sdk/number_text.h"

namespace devhost {

namespace {

using Kind = WindowCommand::Kind;

struct Form {
  Kind kind;
  HelpEntry help;
};

const std::vector<Form>& Forms() {
  static const std::vector<Form> forms = {
      {Kind::Pause, {"pause", "stop the clock"}},
      {Kind::Play, {"play", "start it again"}},
      {Kind::Step, {"step [N]", "pause and move N frames (default 1; negative goes back)"}},
      {Kind::Seek, {"seek SECONDS", "jump to that scene time, within 0 and the scene's duration"}},
      {Kind::SeekFrame, {"seek frame N", "jump to frame N, numbered as the trace numbers frames"}},
      {Kind::ToggleSettings, {"settings", "show or hide the plugin's settings window"}},
      {Kind::Screenshot, {"screenshot FILE", "write this frame, as shown, as a PNG"}},
      {Kind::Inspect,
       {"inspect", "pause and tell, for each pixel clicked, what drew it; again to stop"}},
      {Kind::Trace,
       {"trace FILE", "write the frame shown's records, with their places, as a trace"}},
      {Kind::Wait,
       {"wait TEXT",
        "script only: go on once the line before or a later one logs a line holding TEXT (30 s "
        "at most)"}},
      {Kind::Quit, {"quit", "close the window"}},
  };
  return forms;
}

double Number(const std::string& command, const std::string& text, const char* expected) {
  const std::optional<double> value = FiniteNumber(text);
  if (!value) throw ConsoleError(command + ": expected " + expected + ", got '" + text + "'");
  return *value;
}

double Frames(const std::string& command, const std::string& text) {
  const char* expected = "a whole number of frames";
  const double frames = Number(command, text, expected);
  if (frames != std::trunc(frames) || std::fabs(frames) > 1e6)
    throw ConsoleError(command + ": expected " + expected + ", got '" + text + "'");
  return frames;
}

}  // namespace

WindowCommand ParseWindowCommand(const std::string& line) {
  std::istringstream words(line);
  std::string word, argument, extra;
  words >> word >> argument;
  const auto form = std::find_if(Forms().begin(), Forms().end(), [&word](const Form& f) {
    return UsageWords(f.help.usage).at(0) == word;
  });
  if (form == Forms().end()) return {Kind::Console, 0, line};
  if (form->kind == Kind::Wait) {
    // The rest of the line, inner spaces and all.
    const char* blanks = " \t\r";
    const std::size_t begin = line.find_first_not_of(blanks, line.find(word) + word.size());
    if (begin == std::string::npos) throw ConsoleError("wait: expected TEXT");
    return {Kind::Wait, 0, line.substr(begin, line.find_last_not_of(blanks) + 1 - begin)};
  }
  WindowCommand command{form->kind, 0, {}};
  if (form->kind == Kind::Seek && argument == "frame") {
    std::string frame;
    words >> frame;
    if (frame.empty()) throw ConsoleError("seek frame: expected N");
    command = {Kind::SeekFrame, Frames("seek frame", frame), {}};
    word = "seek frame";
    argument.clear();
  }
  words >> extra;
  if (!extra.empty()) throw ConsoleError(word + ": unexpected '" + extra + "'");
  switch (command.kind) {
    case Kind::Step:
      command.number = argument.empty() ? 1 : Frames(word, argument);
      return command;
    case Kind::Seek:
      if (argument.empty()) throw ConsoleError("seek: expected SECONDS or frame N");
      command.number = Number(word, argument, "a number of seconds");
      return command;
    case Kind::SeekFrame:
      return command;
    case Kind::Screenshot:
    case Kind::Trace:
      if (argument.empty()) throw ConsoleError(word + ": expected FILE");
      command.text = argument;
      return command;
    default:
      if (!argument.empty()) throw ConsoleError(word + ": takes no value, got '" + argument + "'");
      return command;
  }
}

// Bounded as an exec file is: a script is console lines too.
const HelpSection& WindowCommandHelp() {
  static const HelpSection help = [] {
    HelpSection section{"window commands",
                        {},
                        true,
                        "a window command; only the window's console line and its --script "
                        "take it"};
    for (const Form& form : Forms()) section.entries.push_back(form.help);
    return section;
  }();
  return help;
}

}  // namespace devhost
