#include "window/window_player.h"

#include <imgui.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <iostream>
#include <thread>
#include <utility>
#include <vector>

#include "core/console_completion.h"
#include "core/console_lines_file.h"
#include "core/host.h"
#include "output/png_file.h"
#include "render/frame_composer.h"
#include "ui/settings_window.h"
#include "window/console_history.h"
#include "window/console_log.h"
#include "window/console_window.h"
#include "window/display_window.h"
#include "window/file_watch.h"
#include "window/playback_clock.h"
#include "window/script_wait.h"
#include "window/window_command.h"
#include "window/window_inspector.h"
#include "window/window_keys.h"
#include "window/window_log_routing.h"

namespace devhost {

namespace {

// How long a replaced module must keep still before it is loaded.
constexpr double kSettleSeconds = 0.3;
constexpr int kMargin = 20;

using Kind = LogLine::Kind;

// The settings window first opens at the window's right, clear of the overlay panel at its
// default place (the left), and above the console.
SettingsPlacement BesideThePanel(Vector2 window) {
  const Vector2 size{std::min(SettingsWindow::kSize.X, window.X - 2 * kMargin),
                     std::min(SettingsWindow::kSize.Y,
                              window.Y - static_cast<int>(ConsoleWindow::kHeight) - 2 * kMargin)};
  return {{std::max(0, window.X - size.X - kMargin), kMargin}, size, true};
}

class WindowPlayer {
 public:
  WindowPlayer(Host& host, Vector2 size, bool showSettings, bool watch)
      : host_(host),
        size_(size),
        composer_(size, 1.0 / host.CurrentScene().fps),
        window_(size, "pryndal-devhost", composer_.Ui().Context()),
        clock_(host.NextFrameTime(), host.CurrentScene().duration, host.CurrentScene().fps),
        log_(std::cerr),
        history_([this](const std::string& problem) { log_.Add(Kind::Error, problem); }),
        console_(log_, history_,
                 [&host](const std::string& typed) { return CompleteLine(host, typed); }),
        routing_(host, log_),
        inspector_(host, log_),
        showSettings_(showSettings) {
    if (watch && !host.Plugins().empty())
      watch_.emplace(host.Plugins().front()->path, kSettleSeconds);
  }
  WindowPlayer(const WindowPlayer&) = delete;
  WindowPlayer& operator=(const WindowPlayer&) = delete;

  void Play(const std::optional<std::string>& scriptPath, const std::vector<std::string>& script) {
    std::size_t nextScriptLine = 0;
    double last = window_.Now();
    while (!quit_ && !window_.CloseRequested()) {
      const double frameStart = window_.Now();
      presses_ = window_.BeginFrame();
      clock_.Advance(frameStart - last);
      last = frameStart;
      if (watch_ && watch_->Replaced(frameStart)) ReloadWatched();
      try {
        if (!wait_.Waiting(log_, frameStart) && nextScriptLine < script.size()) {
          const std::size_t start = log_.Added();
          Run(script[nextScriptLine++], frameStart);
          previousScriptLine_ = start;
        }
      } catch (const ConsoleError& e) {
        // The line just run, or the wait still going on.
        throw ConsoleError(*scriptPath + ":" + std::to_string(nextScriptLine) + ": " + e.what());
      }
      RunTyped(frameStart);
      if (quit_) break;
      // The keys are read inside the UI frame, which knows whether a text field has them; their
      // commands run at the next frame's start, as a typed line's do.
      window_.Draw(composer_.Compose(host_, clock_.Time(), {}, [this] { DrawHostWindows(); }));
      inspector_.Explain(window_, composer_.Canvas(), clock_.Frame());
      if (screenshot_) {
        WritePng(*screenshot_, window_.Capture());
        log_.Add(Kind::Output, "wrote " + *screenshot_);
        screenshot_.reset();
      }
      window_.Show();
      // Real time at the scene's rate even where the display does not pace the swap.
      const double rest = 1.0 / host_.CurrentScene().fps - (window_.Now() - frameStart);
      if (rest > 0) std::this_thread::sleep_for(std::chrono::duration<double>(rest));
    }
  }

 private:
  // The lines of keys and the console line, each shown as it runs; a failing one is shown too.
  void RunTyped(double now) {
    while (!typed_.empty()) {
      const KeyCommand command = std::move(typed_.front());
      typed_.pop_front();
      try {
        if (ParseWindowCommand(command.line).kind == WindowCommand::Kind::Wait)
          throw ConsoleError("wait: only a --script waits");
        Run(command.line, now, command.key);
      } catch (const ConsoleError& e) {
        log_.Add(Kind::Error, std::string("error: ") + e.what());
      }
    }
  }

  // The module's file was replaced: the same as typing `plugin reload`, without the echo.
  void ReloadWatched() {
    const auto& plugins = host_.Plugins();
    const auto plugin = std::find_if(plugins.begin(), plugins.end(),
                                     [this](const auto& p) { return p->path == watch_->Path(); });
    if (plugin == plugins.end()) {
      log_.Add(Kind::Output, "watch: " + watch_->Path() + " changed; no plugin is loaded from it");
      return;
    }
    try {
      log_.Add(Kind::Output, "reloaded " + host_.ReloadPlugin((*plugin)->name).path);
    } catch (const LoadError& e) {
      log_.Add(Kind::Error, std::string("error: plugin reload: ") + e.what());
    }
  }

  // key: the key that gave the line, if one did.
  void Run(const std::string& line, double now, const std::string& key = {}) {
    const WindowCommand command = ParseWindowCommand(line);
    log_.Add(Kind::Command, "> " + line + (key.empty() ? "" : "   [" + key + "]"));
    switch (command.kind) {
      case WindowCommand::Kind::Console:
        log_.Add(Kind::Output, host_.Console(command.text));
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
      case WindowCommand::Kind::SeekFrame:
        clock_.SeekFrame(static_cast<long long>(command.number));
        break;
      case WindowCommand::Kind::ToggleSettings:
        showSettings_ = !showSettings_;
        break;
      case WindowCommand::Kind::Screenshot:
        screenshot_ = command.text;
        break;
      case WindowCommand::Kind::Inspect:
        if (inspector_.Toggle()) clock_.SetPaused(true);
        break;
      case WindowCommand::Kind::Trace:
        inspector_.WriteTrace(command.text);
        break;
      case WindowCommand::Kind::Wait:
        // The line before may have logged what is awaited already (a screenshot's "wrote").
        wait_.Start(command.text, previousScriptLine_, now);
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
      log_.Add(Kind::Error, "settings: no plugin is loaded");
      showSettings_ = false;
      return;
    }
    try {
      SettingsWindow(composer_.Ui(), *host_.Plugins().front(), BesideThePanel(size_)).Draw();
    } catch (const SettingsPageError& e) {
      log_.Add(Kind::Error, std::string("settings: ") + e.what());
      showSettings_ = false;
    }
  }

  void DrawHostWindows() {
    const std::string plugin = host_.Plugins().empty() ? "" : host_.Plugins().front()->name;
    const PlaybackState playback{clock_.Paused(), clock_.Frame(), host_.CurrentScene().fps, plugin};
    for (auto& command :
         KeyCommands(presses_, playback, ImGui::GetIO().WantTextInput, screenshots_))
      typed_.push_back(std::move(command));
    DrawSettings();
    inspector_.Draw(size_);
    const ConsoleStatus status{clock_.Time(), host_.CurrentScene().duration, clock_.Frame(),
                               clock_.Paused()};
    if (auto line = console_.Draw(size_, status)) {
      history_.Add(*line);
      typed_.push_back({std::move(*line), {}});
    }
  }

  Host& host_;
  Vector2 size_;
  FrameComposer composer_;
  DisplayWindow window_;
  PlaybackClock clock_;
  ConsoleLog log_;
  ScriptWait wait_;
  ConsoleHistory history_;
  ConsoleWindow console_;
  WindowLogRouting routing_;
  WindowInspector inspector_;
  std::optional<FileWatch> watch_;
  std::vector<KeyPress> presses_;  // this frame's
  std::deque<KeyCommand> typed_;
  std::size_t previousScriptLine_ = 0;  // the log's length when the last script line began
  std::optional<std::string> screenshot_;
  int screenshots_ = 0;
  bool showSettings_;
  bool quit_ = false;
};

}  // namespace

void PlayInWindow(Host& host, Vector2 size, const std::optional<std::string>& scriptPath,
                  bool showSettings, bool watch) {
  // Before the window opens: a script that cannot be read is the person's mistake.
  const std::vector<std::string> script =
      scriptPath ? ReadConsoleLines(*scriptPath, "script", "--script") : std::vector<std::string>();
  WindowPlayer player(host, size, showSettings, watch);
  player.Play(scriptPath, script);
}

}  // namespace devhost
