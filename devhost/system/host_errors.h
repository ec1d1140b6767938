// Every failure the host reports, in one family. Each kind says what went wrong in its message and
// carries the exit code a run that it ends exits with: 2 when what a person wrote is wrong (the
// command line, a console or script line, a settings-page action), 3 when the plugin faulted, 1
// when the work itself failed.
#pragma once

#include <stdexcept>
#include <string>

namespace devhost {

// The program's exit codes, which --help lists.
namespace exit_code {
constexpr int kDone = 0;          // --compare: the builds gave the same records
constexpr int kFailed = 1;        // the work failed; --compare: the builds differ
constexpr int kWrongInput = 2;    // what a person wrote is wrong
constexpr int kFaulted = 3;       // the plugin faulted
constexpr int kSignalBase = 128;  // plus the signal that stopped the run
}  // namespace exit_code

struct HostError : std::runtime_error {
  HostError(const std::string& message, int code) : std::runtime_error(message), exitCode(code) {}
  int exitCode;
};

// A kind of failure, and the exit code it ends a run with.
template <int ExitCode>
struct HostErrorOfCode : HostError {
  explicit HostErrorOfCode(const std::string& message) : HostError(message, ExitCode) {}
};

// What a person wrote is wrong: an option, or options that do not go together.
struct UsageError : HostErrorOfCode<exit_code::kWrongInput> {
  using HostErrorOfCode::HostErrorOfCode;
};
// A console, exec or script line.
struct ConsoleError : HostErrorOfCode<exit_code::kWrongInput> {
  using HostErrorOfCode::HostErrorOfCode;
};
// A settings-page action that names nothing on the page or cannot be done there.
struct DriverError : HostErrorOfCode<exit_code::kWrongInput> {
  using HostErrorOfCode::HostErrorOfCode;
};

// A plugin faulted (see core/plugin_door.h); the message is the report, already told.
struct PluginFaulted : HostErrorOfCode<exit_code::kFaulted> {
  using HostErrorOfCode::HostErrorOfCode;
};

// A plugin module that cannot be loaded, naming the file.
struct LoadError : HostErrorOfCode<exit_code::kFailed> {
  using HostErrorOfCode::HostErrorOfCode;
};
// A scene file that cannot be read or says something wrong, naming the field.
struct SceneError : HostErrorOfCode<exit_code::kFailed> {
  using HostErrorOfCode::HostErrorOfCode;
};
// An input file that is not a readable regular file within its limit.
struct InputFileError : HostErrorOfCode<exit_code::kFailed> {
  using HostErrorOfCode::HostErrorOfCode;
};
// The typeface the host draws text in.
struct FontError : HostErrorOfCode<exit_code::kFailed> {
  using HostErrorOfCode::HostErrorOfCode;
};
// A plugin without a settings page, asked for it.
struct SettingsPageError : HostErrorOfCode<exit_code::kFailed> {
  using HostErrorOfCode::HostErrorOfCode;
};
// A step of the rendering path: no OpenGL context, a framebuffer, a picture or a video.
struct RenderError : HostErrorOfCode<exit_code::kFailed> {
  using HostErrorOfCode::HostErrorOfCode;
};

}  // namespace devhost
