#include "window/window_command.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

#include "core/host.h"
#include "sdk/number_text.h"

namespace devhost {

namespace {

double Number(const std::string& command, const std::string& text, const char* expected) {
  const std::optional<double> value = FiniteNumber(text);
  if (!value) throw ConsoleError(command + ": expected " + expected + ", got '" + text + "'");
  return *value;
}

}  // namespace

WindowCommand ParseWindowCommand(const std::string& line) {
  using Kind = WindowCommand::Kind;
  static const std::map<std::string, Kind> kWords = {{"pause", Kind::Pause},
                                                     {"play", Kind::Play},
                                                     {"step", Kind::Step},
                                                     {"seek", Kind::Seek},
                                                     {"settings", Kind::ToggleSettings},
                                                     {"screenshot", Kind::Screenshot},
                                                     {"wait", Kind::Wait},
                                                     {"quit", Kind::Quit}};
  std::istringstream words(line);
  std::string word, argument, extra;
  words >> word >> argument >> extra;
  const auto found = kWords.find(word);
  if (found == kWords.end()) return {Kind::Console, 0, line};
  if (found->second == Kind::Wait) {
    // The rest of the line, inner spaces and all.
    const char* blanks = " \t\r";
    const std::size_t begin = line.find_first_not_of(blanks, line.find(word) + word.size());
    if (begin == std::string::npos) throw ConsoleError("wait: expected TEXT");
    return {Kind::Wait, 0, line.substr(begin, line.find_last_not_of(blanks) + 1 - begin)};
  }
  if (!extra.empty()) throw ConsoleError(word + ": unexpected '" + extra + "'");
  switch (found->second) {
    case Kind::Step: {
      if (argument.empty()) return {Kind::Step, 1, {}};
      const double frames = Number(word, argument, "a whole number of frames");
      if (frames != std::trunc(frames) || std::fabs(frames) > 1e6)
        throw ConsoleError("step: expected a whole number of frames, got '" + argument + "'");
      return {Kind::Step, frames, {}};
    }
    case Kind::Seek:
      if (argument.empty()) throw ConsoleError("seek: expected SECONDS");
      return {Kind::Seek, Number(word, argument, "a number of seconds"), {}};
    case Kind::Screenshot:
      if (argument.empty()) throw ConsoleError("screenshot: expected FILE");
      return {Kind::Screenshot, 0, argument};
    default:
      if (!argument.empty()) throw ConsoleError(word + ": takes no value, got '" + argument + "'");
      return {found->second, 0, {}};
  }
}

}  // namespace devhost
