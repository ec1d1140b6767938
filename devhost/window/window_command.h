// What a line typed into the window's console line (or read from its script) asks for: one of the
// window's own commands, or else a host console line.
#pragma once

#include <string>
#include <vector>

#include "core/console_help.h"

namespace devhost {

struct WindowCommand {
  enum class Kind {
    Console,
    Pause,
    Play,
    Step,
    Seek,
    SeekFrame,
    ToggleSettings,
    Screenshot,
    Inspect,
    Trace,
    Wait,
    Quit
  };
  Kind kind = Kind::Console;
  double number = 0;  // Step, SeekFrame: frames; Seek: seconds
  std::string text;   // Console: the line; Screenshot, Trace: the file; Wait: the text awaited
};

// Throws ConsoleError saying what the command expected.
WindowCommand ParseWindowCommand(const std::string& line);
// A line for each form of each command.
const HelpSection& WindowCommandHelp();

}  // namespace devhost
