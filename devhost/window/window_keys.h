// The window's keys: what each does, for help and the console's status line, and the command
// lines a script would give for the keys pressed.
#pragma once

#include <string>
#include <vector>

#include "core/console_help.h"
#include "window/key_events.h"

namespace devhost {

struct PlaybackState {
  bool paused;
  long long frame;     // the scene frame shown, as the trace numbers frames
  double fps;          // the scene's
  std::string plugin;  // the first loaded plugin's name; empty when none is
};

struct KeyCommand {
  std::string line;  // "step 1"
  std::string key;   // "Right", as help names it
};

// Every key, the console line's own (Enter, Tab, Up and Down) included.
const HelpSection& KeyHelp();
// "[Space] play/pause  [Right, Left] step ..." for the console's status line.
const std::string& KeyHints();

// The commands for the presses, in order. While a text field has the keyboard (typing) only the
// F keys act. screenshots counts the F12 screenshots taken, for their file names.
std::vector<KeyCommand> KeyCommands(const std::vector<KeyPress>& presses,
                                    const PlaybackState& playback, bool typing, int& screenshots);

}  // namespace devhost
