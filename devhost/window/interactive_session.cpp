#include "window/interactive_session.h"

#include <GLFW/glfw3.h>
#include <imgui.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <fstream>
#include <thread>
#include <vector>

#include "core/host.h"
#include "output/png_file.h"
#include "render/frame_composer.h"
#include "ui/settings_window.h"
#include "window/file_watch.h"
#include "window/host_window.h"
#include "window/playback_clock.h"
#include "window/window_command.h"

namespace devhost {

namespace {

constexpr std::size_t kLogLines = 200;
// How long a replaced module must keep still before it is loaded, and how long a script's wait
// may take.
constexpr double kSettleSeconds = 0.3;
constexpr double kWaitSeconds = 30;

std::vector<std::string> ReadScript(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ConsoleError("--script: cannot read " + path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class InteractiveSession {
 public:
  InteractiveSession(Host& host, Vector2 size, bool showSettings, bool watch)
      : host_(host),
        size_(size),
        composer_(size, 1.0 / host.CurrentScene().fps),
        window_(size, "pryndal-devhost", composer_.Session().Context()),
        clock_(host.NextFrameTime(), host.CurrentScene().duration, host.CurrentScene().fps),
        showSettings_(showSettings) {
    if (watch && !host.Plugins().empty())
      watch_.emplace(host.Plugins().front()->path, kSettleSeconds);
  }

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
        if (!Waiting(frameStart) && nextScriptLine < script.size())
          Run(script[nextScriptLine++], frameStart);
      } catch (const ConsoleError& e) {
        // The line just run, or the wait still going on.
        throw ConsoleError(*scriptPath + ":" + std::to_string(nextScriptLine) + ": " + e.what());
      }
      while (!typed_.empty()) {
        const std::string line = typed_.front();
        typed_.pop_front();
        Log("> " + line);
        try {
          if (ParseWindowCommand(line).kind == WindowCommand::Kind::Wait)
            throw ConsoleError("wait: only a --script waits");
          Run(line, frameStart);
        } catch (const ConsoleError& e) {
          Log(std::string("error: ") + e.what());
        }
      }
      if (quit_) break;
      window_.Draw(composer_.Compose(host_, clock_.Time(), {}, [this] { DrawHostWindows(); }));
      if (screenshot_) {
        WritePng(*screenshot_, window_.Capture());
        Log("wrote " + *screenshot_);
        screenshot_.reset();
      }
      window_.Show();
      // Real time at the scene's rate even where the display does not pace the swap.
      const double rest = 1.0 / host_.CurrentScene().fps - (window_.Now() - frameStart);
      if (rest > 0) std::this_thread::sleep_for(std::chrono::duration<double>(rest));
    }
  }

 private:
  struct Wait {
    std::string text;
    std::size_t loggedBefore;  // console lines logged before it began, which do not count
    double until;
  };

  void Log(const std::string& text) {
    log_.push_back(text);
    ++logged_;
    if (log_.size() > kLogLines) log_.pop_front();
  }

  // The module's file was replaced: the same as typing `plugin reload`, without the echo.
  void ReloadWatched() {
    const auto& plugins = host_.Plugins();
    const auto plugin = std::find_if(plugins.begin(), plugins.end(),
                                     [this](const auto& p) { return p->path == watch_->Path(); });
    if (plugin == plugins.end()) {
      Log("watch: " + watch_->Path() + " changed; no plugin is loaded from it");
      return;
    }
    try {
      Log("reloaded " + host_.ReloadPlugin((*plugin)->name).path);
    } catch (const LoadError& e) {
      Log(std::string("error: plugin reload: ") + e.what());
    }
  }

  // True while a script's wait goes on; throws when it has taken too long.
  bool Waiting(double now) {
    if (!wait_) return false;
    const std::size_t fresh = std::min(logged_ - wait_->loggedBefore, log_.size());
    if (std::any_of(log_.end() - static_cast<std::ptrdiff_t>(fresh), log_.end(),
                    [this](const std::string& line) {
                      return line.find(wait_->text) != std::string::npos;
                    })) {
      wait_.reset();
      return false;
    }
    if (now > wait_->until)
      throw ConsoleError("wait: no console line with '" + wait_->text + "' within " +
                         std::to_string(static_cast<int>(kWaitSeconds)) + " s");
    return true;
  }

  void Run(const std::string& line, double now) {
    const WindowCommand command = ParseWindowCommand(line);
    switch (command.kind) {
      case WindowCommand::Kind::Console:
        if (const std::string out = host_.Console(command.text); !out.empty()) Log(out);
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
        wait_ = Wait{command.text, logged_, now + kWaitSeconds};
        break;
      case WindowCommand::Kind::Quit:
        quit_ = true;
        break;
    }
  }

  // Keys become the same command lines a script would give.
  void ReadKeys() {
    if (ImGui::GetIO().WantCaptureKeyboard) return;
    char seek[48];
    const auto pressed = [](int key) { return ImGui::IsKeyPressed(key, false); };
    if (pressed(GLFW_KEY_SPACE)) typed_.push_back(clock_.Paused() ? "play" : "pause");
    if (ImGui::IsKeyPressed(GLFW_KEY_RIGHT)) typed_.push_back("step 1");
    if (ImGui::IsKeyPressed(GLFW_KEY_LEFT)) typed_.push_back("step -1");
    if (pressed(GLFW_KEY_PAGE_UP) || pressed(GLFW_KEY_PAGE_DOWN)) {
      std::snprintf(seek, sizeof seek, "seek %.3f",
                    clock_.Time() + (pressed(GLFW_KEY_PAGE_UP) ? 1.0 : -1.0));
      typed_.push_back(seek);
    }
    if (pressed(GLFW_KEY_HOME)) typed_.push_back("seek 0");
    if (pressed(GLFW_KEY_F1)) typed_.push_back("settings");
    if (pressed(GLFW_KEY_F12)) {
      std::snprintf(seek, sizeof seek, "screenshot screenshot-%03d.png", ++screenshots_);
      typed_.push_back(seek);
    }
    if (pressed(GLFW_KEY_ESCAPE)) typed_.push_back("quit");
  }

  // Made afresh each frame: the console may have unloaded the plugin since the last.
  void DrawSettings() {
    if (!showSettings_) return;
    if (host_.Plugins().empty()) {
      Log("settings: no plugin is loaded");
      showSettings_ = false;
      return;
    }
    try {
      SettingsWindow(composer_.Session(), *host_.Plugins().front()).Draw();
    } catch (const SettingsPageError& e) {
      Log(std::string("settings: ") + e.what());
      showSettings_ = false;
    }
  }

  void DrawHostWindows() {
    ReadKeys();
    DrawSettings();
    const float width = static_cast<float>(size_.X), height = static_cast<float>(size_.Y);
    const ImGuiWindowFlags fixed =
        ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse;
    const float consoleHeight = 150;
    ImGui::SetNextWindowPos(ImVec2(0, height - consoleHeight), ImGuiCond_Always);
    ImGui::SetNextWindowSize(ImVec2(width, consoleHeight), ImGuiCond_Always);
    ImGui::SetNextWindowBgAlpha(0.75f);
    ImGui::Begin("Console", nullptr, fixed);
    ImGui::Text("t %.2f s / %.0f s   frame %lld   %s", clock_.Time(), host_.CurrentScene().duration,
                static_cast<long long>(host_.FramesRendered()),
                clock_.Paused() ? "paused" : "playing");
    ImGui::TextDisabled(
        "[Space] play/pause  [Left/Right] step  [PgUp/PgDn] +-1 s  [Home] start  [F1] settings  "
        "[F12] screenshot  [Esc] quit");
    ImGui::Separator();
    ImGui::BeginChild("log", ImVec2(0, -ImGui::GetFrameHeightWithSpacing()));
    for (const auto& line : log_) ImGui::TextUnformatted(line.c_str());
    if (ImGui::GetScrollY() >= ImGui::GetScrollMaxY()) ImGui::SetScrollHereY(1.0f);
    ImGui::EndChild();
    ImGui::SetNextItemWidth(-1);
    if (ImGui::InputText("##line", input_, sizeof input_, ImGuiInputTextFlags_EnterReturnsTrue)) {
      if (input_[0] != '\0') typed_.push_back(input_);
      input_[0] = '\0';
      ImGui::SetKeyboardFocusHere(-1);
    }
    ImGui::End();
  }

  Host& host_;
  Vector2 size_;
  FrameComposer composer_;
  HostWindow window_;
  PlaybackClock clock_;
  std::deque<std::string> log_;
  std::size_t logged_ = 0;  // lines ever logged, the dropped ones included
  std::optional<Wait> wait_;
  std::optional<FileWatch> watch_;
  std::deque<std::string> typed_;
  char input_[256] = {};
  std::optional<std::string> screenshot_;
  int screenshots_ = 0;
  bool showSettings_;
  bool quit_ = false;
};

}  // namespace

void RunInteractive(Host& host, Vector2 size, const std::optional<std::string>& scriptPath,
                    bool showSettings, bool watch) {
  InteractiveSession session(host, size, showSettings, watch);
  session.Play(scriptPath);
}

}  // namespace devhost
