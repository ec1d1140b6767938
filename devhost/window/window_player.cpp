#include "window/window_player.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <sstream>
#include <thread>
#include <vector>

#include "core/host.h"
#include "output/png_file.h"
#include "render/frame_composer.h"
#include "system/input_file.h"
#include "ui/settings_window.h"
#include "window/console_log.h"
#include "window/console_window.h"
#include "window/display_window.h"
#include "window/file_watch.h"
#include "window/playback_clock.h"
#include "window/window_command.h"
#include "window/window_keys.h"

namespace devhost {

namespace {

// How long a replaced module must keep still before it is loaded, and how long a script's wait
// may take.
constexpr double kSettleSeconds = 0.3;
constexpr double kWaitSeconds = 30;

// Bounded as an exec file is: a script is console lines too.
std::vector<std::string> ReadScript(const std::string& path) {
  std::istringstream in;
  try {
    in.str(ReadInputFile(path, {"script", "cannot read " + path, kExecLimit}));
  } catch (const InputFileError& e) {
    throw ConsoleError(std::string("--script: ") + e.what());
  }
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class WindowPlayer {
 public:
  WindowPlayer(Host& host, Vector2 size, bool showSettings, bool watch)
      : host_(host),
        size_(size),
        composer_(size, 1.0 / host.CurrentScene().fps),
        window_(size, "pryndal-devhost", composer_.Ui().Context()),
        clock_(host.NextFrameTime(), host.CurrentScene().duration, host.CurrentScene().fps),
        showSettings_(showSettings) {
    if (watch && !host.Plugins().empty())
      watch_.emplace(host.Plugins().front()->path, kSettleSeconds);
    // A plugin that faults costs its drawing, not the window: the message goes to the log too,
    // and the next build (or `plugin reload`) takes its place.
    PluginDoor& door = host.Door();
    door.KeepRunningAfterFaults(true);
    previousListener_ = door.SetFaultListener([this](const PluginFaultReport& report) {
      if (previousListener_) previousListener_(report);
      std::istringstream lines(report.Message());
      for (std::string line; std::getline(lines, line);) log_.Add(line);
    });
  }
  ~WindowPlayer() {
    host_.Door().SetFaultListener(std::move(previousListener_));
    host_.Door().KeepRunningAfterFaults(false);
  }
  WindowPlayer(const WindowPlayer&) = delete;
  WindowPlayer& operator=(const WindowPlayer&) = delete;

  void Play(const std::optional<std::string>& scriptPath) {
    const std::vector<std::string> script =
        scriptPath ? ReadScript(*scriptPath) : std::vector<std::string>();
    std::size_t nextScriptLine = 0;
    double last = window_.Now();
    while (!quit_ && !window_.CloseRequested()) {
      const double frameStart = window_.Now();
      window_.BeginFrame();
      clock_.Advance(frameStart - last);
      last = frameStart;
      if (watch_ && watch_->Replaced(frameStart)) ReloadWatched();
      try {
        if (!log_.Waiting(frameStart) && nextScriptLine < script.size())
          Run(script[nextScriptLine++], frameStart);
      } catch (const ConsoleError& e) {
        // The line just run, or the wait still going on.
        throw ConsoleError(*scriptPath + ":" + std::to_string(nextScriptLine) + ": " + e.what());
      }
      while (!typed_.empty()) {
        const std::string line = typed_.front();
        typed_.pop_front();
        log_.Add("> " + line);
        try {
          if (ParseWindowCommand(line).kind == WindowCommand::Kind::Wait)
            throw ConsoleError("wait: only a --script waits");
          Run(line, frameStart);
        } catch (const ConsoleError& e) {
          log_.Add(std::string("error: ") + e.what());
        }
      }
      if (quit_) break;
      window_.Draw(composer_.Compose(host_, clock_.Time(), {}, [this] { DrawHostWindows(); }));
      if (screenshot_) {
        WritePng(*screenshot_, window_.Capture());
        log_.Add("wrote " + *screenshot_);
        screenshot_.reset();
      }
      window_.Show();
      // Real time at the scene's rate even where the display does not pace the swap.
      const double rest = 1.0 / host_.CurrentScene().fps - (window_.Now() - frameStart);
      if (rest > 0) std::this_thread::sleep_for(std::chrono::duration<double>(rest));
    }
  }

 private:
  // The module's file was replaced: the same as typing `plugin reload`, without the echo.
  void ReloadWatched() {
    const auto& plugins = host_.Plugins();
    const auto plugin = std::find_if(plugins.begin(), plugins.end(),
                                     [this](const auto& p) { return p->path == watch_->Path(); });
    if (plugin == plugins.end()) {
      log_.Add("watch: " + watch_->Path() + " changed; no plugin is loaded from it");
      return;
    }
    try {
      log_.Add("reloaded " + host_.ReloadPlugin((*plugin)->name).path);
    } catch (const LoadError& e) {
      log_.Add(std::string("error: plugin reload: ") + e.what());
    }
  }

  void Run(const std::string& line, double now) {
    const WindowCommand command = ParseWindowCommand(line);
    switch (command.kind) {
      case WindowCommand::Kind::Console:
        if (const std::string out = host_.Console(command.text); !out.empty()) log_.Add(out);
        break;
      case WindowCommand::Kind::Pause:
        clock_.SetPaused(true);
        break;
      case WindowCommand::Kind::Play:
        clock_.SetPaused(false);
        break;
      case WindowCommand::Kind::Step:
        clock_.Step(static_cast<int>(command.number));
        break;
      case WindowCommand::Kind::Seek:
        clock_.Seek(command.number);
        break;
      case WindowCommand::Kind::ToggleSettings:
        showSettings_ = !showSettings_;
        break;
      case WindowCommand::Kind::Screenshot:
        screenshot_ = command.text;
        break;
      case WindowCommand::Kind::Wait:
        log_.StartWait(command.text, now, kWaitSeconds);
        break;
      case WindowCommand::Kind::Quit:
        quit_ = true;
        break;
    }
  }

  // Made afresh each frame: the console may have unloaded the plugin since the last.
  void DrawSettings() {
    if (!showSettings_) return;
    if (host_.Plugins().empty()) {
      log_.Add("settings: no plugin is loaded");
      showSettings_ = false;
      return;
    }
    try {
      SettingsWindow(composer_.Ui(), *host_.Plugins().front()).Draw();
    } catch (const SettingsPageError& e) {
      log_.Add(std::string("settings: ") + e.what());
      showSettings_ = false;
    }
  }

  void DrawHostWindows() {
    for (auto& line : KeyCommands({clock_.Paused(), clock_.Time()}, screenshots_))
      typed_.push_back(std::move(line));
    DrawSettings();
    const ConsoleStatus status{clock_.Time(), host_.CurrentScene().duration,
                               static_cast<long long>(host_.FramesRendered()), clock_.Paused()};
    if (auto line = console_.Draw(size_, status, log_)) typed_.push_back(std::move(*line));
  }

  Host& host_;
  Vector2 size_;
  FrameComposer composer_;
  DisplayWindow window_;
  PlaybackClock clock_;
  ConsoleLog log_;
  ConsoleWindow console_;
  std::optional<FileWatch> watch_;
  PluginDoor::FaultListener previousListener_;
  std::deque<std::string> typed_;
  std::optional<std::string> screenshot_;
  int screenshots_ = 0;
  bool showSettings_;
  bool quit_ = false;
};

}  // namespace

void PlayInWindow(Host& host, Vector2 size, const std::optional<std::string>& scriptPath,
                  bool showSettings, bool watch) {
  WindowPlayer player(host, size, showSettings, watch);
  player.Play(scriptPath);
}

}  // namespace devhost
