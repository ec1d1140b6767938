// Tab in the window's console line: the word being typed completed from what may stand there, as
// help's usages say: command words, variable names, a command's next word (plugin's actions,
// `seek frame`), a loaded plugin's name.
#pragma once

#include <string>
#include <vector>

namespace devhost {

class Host;

struct Completion {
  std::string line;                  // the text with its last word completed as far as it goes
  std::vector<std::string> choices;  // when several names fit, each of them, sorted
};

// typed: the line up to the cursor. One name that fits completes, with a blank after it; several
// complete their common start.
Completion CompleteLine(const Host& host, const std::string& typed);

}  // namespace devhost
