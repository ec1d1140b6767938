// pryndal-devhost: loads a plugin module, plays a scene into it frame by frame and writes what it
// asked of the host. The command line only; the host itself is devhost_core.
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/command_line.h"
#include "core/host.h"
#include "core/trace_json.h"
#include "ui/imgui_session.h"
#include "ui/settings_driver.h"
#include "ui/settings_window.h"
#ifdef VEYRANT_HAVE_RENDERER
#include "render/headless_renderer.h"
#include "render/host_window.h"
#include "render/interactive_session.h"
#include "render/picture_writer.h"
#endif

namespace {

#if defined(_WIN32)
std::filesystem::path ProgramPath(std::error_code& ec) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length == MAX_PATH) ec = std::make_error_code(std::errc::filename_too_long);
  return ec ? std::filesystem::path() : std::filesystem::path(path, path + length);
}
#else
std::filesystem::path ProgramPath(std::error_code& ec) {
  return std::filesystem::read_symlink("/proc/self/exe", ec);
}
#endif

std::string DefaultPluginPath() {
  std::error_code ec;
  const auto self = ProgramPath(ec);
  if (ec) return DEVHOST_DEFAULT_PLUGIN;
  return (self.parent_path() / DEVHOST_DEFAULT_PLUGIN).string();
}

// Refuses, before anything is loaded, what this build or this machine cannot do.
void CheckAvailable(const devhost::CommandLine& options) {
#ifndef VEYRANT_HAVE_RENDERER
  const char* option = options.pngPath  ? "--png"
                       : options.pngDir ? "--png-dir"
                       : options.window ? "--window"
                                        : nullptr;
  if (option != nullptr)
    throw devhost::UsageError(std::string(option) +
                              ": not available in this build (it has no renderer)");
#else
  if (options.window) devhost::RequireDisplay();
#endif
}

int FramesOf(devhost::SettingsAction::Kind kind) {
  switch (kind) {
    case devhost::SettingsAction::Kind::Click:
      return devhost::SettingsDriver::kClickFrames;
    case devhost::SettingsAction::Kind::Drag:
      return devhost::SettingsDriver::kDragToValueFrames;
    case devhost::SettingsAction::Kind::Type:
      return devhost::SettingsDriver::kTypeFrames;
  }
  return 0;
}

// UI frame 0 shows the page; each action then takes its frames in turn, and idle frames make up
// the rest of --settings-frames.
void RunSettingsPage(const devhost::CommandLine& options, devhost::SettingsWindow& window) {
  std::int64_t needed = 0;
  if (!options.settingsActions.empty()) {
    needed = 1;
    for (const auto& action : options.settingsActions) needed += FramesOf(action.kind);
  }
  const std::int64_t frames = options.settingsFrames.value_or(needed);
  if (frames < needed)
    throw devhost::DriverError("--settings-frames " + std::to_string(frames) +
                               ": the actions take " + std::to_string(needed) +
                               " UI frames (1 to show the page, then 2 per click, 5 per drag, "
                               "4 per typing)");
  devhost::SettingsDriver driver(window);
  const std::int64_t first = window.NextFrame();
  if (frames > 0) driver.RunFrame();
  for (const auto& action : options.settingsActions) {
    switch (action.kind) {
      case devhost::SettingsAction::Kind::Click:
        driver.Click(action.label);
        break;
      case devhost::SettingsAction::Kind::Drag:
        driver.DragToValue(action.label, action.value);
        break;
      case devhost::SettingsAction::Kind::Type:
        driver.Type(action.label, action.text);
        break;
    }
  }
  while (window.NextFrame() - first < frames) driver.RunFrame();
}

// The settings page in a host window of its own, drawn nowhere.
void RunSettingsPageAlone(devhost::Host& host, const devhost::CommandLine& options) {
  devhost::ImGuiSession session(devhost::SettingsWindow::kDisplaySize);
  devhost::SettingsWindow window(session, *host.Plugins().front());
  RunSettingsPage(options, window);
}

// The frames, each rendered to a picture: every one to the folder, the last to the file.
void RenderPictures(devhost::Host& host, const devhost::CommandLine& options, bool settingsPage) {
#ifdef VEYRANT_HAVE_RENDERER
  devhost::HeadlessRenderer renderer(host, options.canvasSize, {.backdrop = !options.transparent});
  if (options.pngDir) std::filesystem::create_directories(*options.pngDir);
  // With --settings the page's UI frames, and the window in every picture, are in the renderer's
  // own host context.
  std::optional<devhost::SettingsWindow> settings;
  if (options.settings) {
    settings.emplace(renderer.Composer().Session(), *host.Plugins().front());
    if (settingsPage) RunSettingsPage(options, *settings);
  } else if (settingsPage) {
    RunSettingsPageAlone(host, options);
  }
  std::function<void()> hostWindows;
  if (settings) hostWindows = [&settings] { settings->Draw(); };
  devhost::PictureWriter writer;
  for (std::int64_t k = 0; k < options.frames; ++k) {
    renderer.RenderNextFrame(hostWindows);
    const bool last = k + 1 == options.frames;
    if (!options.pngDir && !last) continue;  // only pictures that are written are read back
    const auto image = renderer.ReadFrame();
    if (options.pngPath && last) writer.Write(*options.pngPath, image);
    if (options.pngDir) {
      char name[32];
      std::snprintf(name, sizeof name, "frame-%05lld.png", static_cast<long long>(k));
      writer.Write((std::filesystem::path(*options.pngDir) / name).string(), image);
    }
  }
  writer.Finish();
#else
  (void)host;
  (void)options;
  (void)settingsPage;
#endif
}

void PrintVariables(devhost::Host& host) {
  std::vector<const devhost::Cvar*> cvars;
  for (const auto& cvar : host.Store().All()) cvars.push_back(cvar.get());
  std::sort(cvars.begin(), cvars.end(), [](auto* a, auto* b) { return a->name < b->name; });
  for (const devhost::Cvar* cvar : cvars) std::cout << cvar->name << ' ' << cvar->value << '\n';
}

int Run(const devhost::CommandLine& options) {
  CheckAvailable(options);
  devhost::Host host(options.canvasSize);
  host.Store().SetLogSink([](const std::string& text) { std::cerr << text << '\n'; });
  // The scene first: a bad scene stops the run before the plugin sees anything.
  if (options.scenePath) host.SetScene(devhost::LoadSceneFile(*options.scenePath));
  host.SetStartTime(options.time);

  std::string trace;
  const bool traceToStdout = options.tracePath && *options.tracePath == "-";
  if (options.tracePath) {
    host.Trace().SetListener([&trace, traceToStdout](const devhost::TraceRecord& record) {
      devhost::AppendTraceLine(trace, record);
      if (traceToStdout) {
        std::fwrite(trace.data(), 1, trace.size(), stdout);
        trace.clear();
      }
    });
  }

  host.LoadPlugin(options.pluginPath ? *options.pluginPath : DefaultPluginPath());
  if (options.configPath)
    for (const auto& problem : host.RestoreConfig(*options.configPath))
      std::cerr << problem << '\n';
  for (const auto& action : options.actions) {
    if (action.kind == devhost::StartupAction::Kind::Set) {
      host.SetVariable(action.name, action.text);
    } else {
      std::cout << host.Console(action.text);
    }
  }
  const bool settingsPage = options.settingsFrames || !options.settingsActions.empty();
  if (options.pngPath || options.pngDir) {
    RenderPictures(host, options, settingsPage);
  } else {
    if (settingsPage) RunSettingsPageAlone(host, options);
    if (options.window) {
#ifdef VEYRANT_HAVE_RENDERER
      devhost::RunInteractive(host, options.canvasSize, options.scriptPath, options.settings);
#endif
    } else {
      host.RenderFrames(options.frames);
    }
  }
  if (options.configPath) host.SaveConfig();
  host.UnloadAll();
  host.Trace().SetListener(nullptr);
  if (settingsPage) PrintVariables(host);
  if (options.tracePath && !traceToStdout) devhost::WriteFileAtomically(*options.tracePath, trace);
  std::fflush(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
  // The trace and the console replies end their lines with LF, as on Linux, not CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  devhost::CommandLine options;
  try {
    options = devhost::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const devhost::UsageError& e) {
    std::cerr << "pryndal-devhost: " << e.what() << "\n" << devhost::UsageText();
    return 2;
  }
  if (options.help) {
    std::cout << devhost::UsageText();
    return 0;
  }
  try {
    return Run(options);
  } catch (const devhost::UsageError& e) {
    std::cerr << "pryndal-devhost: " << e.what() << '\n';
    return 2;
  } catch (const devhost::DriverError& e) {
    std::cerr << "pryndal-devhost: " << e.what() << '\n';
    return 2;
  } catch (const devhost::ConsoleError& e) {
    std::cerr << "pryndal-devhost: " << e.what() << '\n';
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "pryndal-devhost: " << e.what() << '\n';
    return 1;
  }
}
