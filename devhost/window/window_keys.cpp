#include "window/window_keys.h"

#include <GLFW/glfw3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/value_syntax.h"

namespace devhost {

namespace {

struct Key {
  std::vector<int> codes;  // GLFW's, in the order help names them; none: the console line's own
  HelpEntry help;
  const char* hint = nullptr;  // in the status line
  bool whileTyping = false;    // the F keys act while a text field has the keyboard
  bool repeats = false;        // a held key acts again at the system's repeat rate
  // The command for codes[which].
  std::string (*command)(std::size_t which, const PlaybackState&, int& screenshots) = nullptr;
};

const std::vector<Key>& Keys() {
  static const std::vector<Key> keys = {
      {{GLFW_KEY_SPACE},
       {"Space", "play or pause"},
       "play/pause",
       false,
       false,
       [](std::size_t, const PlaybackState& p, int&) -> std::string {
         return p.paused ? "play" : "pause";
       }},
      {{GLFW_KEY_RIGHT, GLFW_KEY_LEFT},
       {"Right, Left", "step a frame forward or back; held, again and again"},
       "step",
       false,
       true,
       [](std::size_t which, const PlaybackState&, int&) -> std::string {
         return which == 0 ? "step 1" : "step -1";
       }},
      {{GLFW_KEY_PAGE_UP, GLFW_KEY_PAGE_DOWN},
       {"Page Up, Page Down", "a second (the scene's rate of frames) forward or back"},
       "+-1 s",
       false,
       false,
       [](std::size_t which, const PlaybackState& p, int&) {
         const long long second = std::llround(p.fps);
         return "seek frame " + std::to_string(p.frame + (which == 0 ? second : -second));
       }},
      {{GLFW_KEY_HOME},
       {"Home", "back to the scene's start"},
       "start",
       false,
       false,
       [](std::size_t, const PlaybackState&, int&) -> std::string { return "seek 0"; }},
      {{GLFW_KEY_F1},
       {"F1", "show or hide the plugin's settings window"},
       "settings",
       true,
       false,
       [](std::size_t, const PlaybackState&, int&) -> std::string { return "settings"; }},
      {{GLFW_KEY_F2},
       {"F2", "pause and inspect: click a pixel to see the calls that drew it; again to stop"},
       "inspect",
       true,
       false,
       [](std::size_t, const PlaybackState&, int&) -> std::string { return "inspect"; }},
      {{GLFW_KEY_F5},
       {"F5", "reload the first plugin from its module file"},
       "reload",
       true,
       false,
       [](std::size_t, const PlaybackState& p, int&) -> std::string {
         if (p.plugin.empty()) return {};
         return "plugin reload " + (FitsBare(p.plugin) ? p.plugin : QuoteValue(p.plugin));
       }},
      {{GLFW_KEY_F12},
       {"F12", "write this frame, as shown, as screenshot-NNN.png"},
       "screenshot",
       true,
       false,
       [](std::size_t, const PlaybackState&, int& screenshots) {
         char line[48];
         std::snprintf(line, sizeof line, "screenshot screenshot-%03d.png", ++screenshots);
         return std::string(line);
       }},
      {{GLFW_KEY_ESCAPE},
       {"Esc", "quit; in the console line, leave it (what it holds stays)"},
       "quit",
       false,
       false,
       [](std::size_t, const PlaybackState&, int&) -> std::string { return "quit"; }},
      {{}, {"Enter", "to the console line; there, run the line"}},
      {{}, {"Tab", "in the console line: complete a command, variable or plugin name"}},
      {{}, {"Up, Down", "in the console line: the lines typed before, kept across runs"}},
  };
  return keys;
}

// The name of codes[which]: "Left" of "Right, Left".
std::string KeyName(const Key& key, std::size_t which) {
  std::string names = key.help.usage;
  for (; which > 0; --which) names.erase(0, names.find(", ") + 2);
  return names.substr(0, names.find(", "));
}

}  // namespace

const HelpSection& KeyHelp() {
  static const HelpSection help = [] {
    HelpSection section{"keys", {}, false};
    for (const Key& key : Keys()) section.entries.push_back(key.help);
    return section;
  }();
  return help;
}

const std::string& KeyHints() {
  static const std::string hints = [] {
    std::string text;
    for (const Key& key : Keys())
      if (key.hint != nullptr) text += "[" + key.help.usage + "] " + key.hint + "  ";
    return text + "type help: every command and key";
  }();
  return hints;
}

std::vector<KeyCommand> KeyCommands(const std::vector<KeyPress>& presses,
                                    const PlaybackState& playback, bool typing, int& screenshots) {
  std::vector<KeyCommand> commands;
  for (const KeyPress& press : presses)
    for (const Key& key : Keys()) {
      const auto code = std::find(key.codes.begin(), key.codes.end(), press.key);
      if (code == key.codes.end() || (typing && !key.whileTyping) || (press.repeat && !key.repeats))
        continue;
      const auto which = static_cast<std::size_t>(code - key.codes.begin());
      std::string line = key.command(which, playback, screenshots);
      if (!line.empty()) commands.push_back({std::move(line), KeyName(key, which)});
    }
  return commands;
}

}  // namespace devhost
