// pryndal-devhost's command line. Options live in one table, so a new option is one more entry.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/console_help.h"
#include "host/value_types.h"
#include "system/host_errors.h"

// The plugin module loaded when --plugin is not given, looked for beside the program.
#if defined(_WIN32)
#define DEVHOST_DEFAULT_PLUGIN "Veyrant.dll"
#else
#define DEVHOST_DEFAULT_PLUGIN "Veyrant.so"
#endif

namespace devhost {

// --set and --exec, kept in the order given.
struct StartupAction {
  enum class Kind { Set, Exec };
  Kind kind;
  std::string name;  // Set
  std::string text;  // Set: the value; Exec: the console line
};

// --click, --drag and --type: what to do on the settings page, kept in the order given.
struct SettingsAction {
  enum class Kind { Click, Drag, Type };
  Kind kind;
  std::string label;
  std::string text;  // Type: what to type
  double value = 0;  // Drag: where to
};

struct CommandLine {
  std::optional<std::string> pluginPath;   // default: DEVHOST_DEFAULT_PLUGIN beside the program
  std::optional<std::string> scenePath;    // default: the built-in demo
  std::optional<std::string> comparePath;  // a second build, played the same run and compared
  Vector2 canvasSize{1920, 1080};
  std::vector<StartupAction> actions;
  double time = 0;
  std::int64_t frames = 1;
  std::optional<std::string> configPath;
  std::optional<std::string> pngPath;     // the last frame's picture
  std::optional<std::string> pngDir;      // every frame's picture, DIR/frame-00000.png ...
  std::optional<std::string> videoPath;   // every frame encoded by ffmpeg, .mp4, .webm or .mov
  std::optional<Vector2> explainPixel;    // what drew this pixel of the last frame
  bool transparent = false;               // pictures without the backdrop, alpha kept
  bool settings = false;                  // the settings window drawn into the pictures or window
  bool window = false;                    // play in a window instead of a fixed number of frames
  std::optional<std::string> scriptPath;  // window commands run one per frame
  bool watch = false;                     // reload the plugin in the window when its file changes
  std::optional<std::string> tracePath;   // "-" for standard output
  bool sources = false;                   // each traced call of the plugin with its place
  std::vector<SettingsAction> settingsActions;
  std::optional<std::int64_t> settingsFrames;  // default: as many as the actions take
  double pluginTimeout = 10;                   // seconds a call into the plugin may take; 0: any
  bool help = false;
  bool version = false;
};

// Throws UsageError saying which option and what is wrong with it, or which options do not go
// together.
CommandLine ParseCommandLine(const std::vector<std::string>& args);
// The options, then what the console takes (and the window, in a build that has one).
std::string UsageText(const std::vector<HelpSection>& windowHelp);
std::string VersionText();

}  // namespace devhost
