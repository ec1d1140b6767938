// The window's keys, read as the command lines a script would give for them.
#pragma once

#include <string>
#include <vector>

namespace devhost {

struct PlaybackState {
  bool paused;
  double time;  // scene seconds shown
};

// The commands for the keys pressed this frame, none while a text field has the keyboard;
// screenshots counts the F12 screenshots taken, for their file names.
std::vector<std::string> KeyCommands(const PlaybackState& playback, int& screenshots);

}  // namespace devhost
