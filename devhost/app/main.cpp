// pryndal-devhost: loads a plugin module, plays a scene into it frame by frame and writes what it
// asked of the host. The command line only; the host itself is devhost_core.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/command_line.h"
#include "core/host.h"
#include "core/trace_json.h"
#ifdef VEYRANT_HAVE_RENDERER
#include "render/headless_renderer.h"
#include "render/interactive_session.h"
#include "render/picture_writer.h"
#endif

namespace {

std::string DefaultPluginPath() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "Veyrant.so";
  return (self.parent_path() / "Veyrant.so").string();
}

// The frames, each rendered to a picture: every one to the folder, the last to the file.
void RenderPictures(devhost::Host& host, const devhost::CommandLine& options) {
#ifdef VEYRANT_HAVE_RENDERER
  devhost::HeadlessRenderer renderer(host, options.canvasSize, {.backdrop = !options.transparent});
  if (options.pngDir) std::filesystem::create_directories(*options.pngDir);
  devhost::PictureWriter writer;
  for (std::int64_t k = 0; k < options.frames; ++k) {
    devhost::Image image = renderer.RenderNextFrame();
    if (options.pngPath && k + 1 == options.frames) writer.Write(*options.pngPath, image);
    if (options.pngDir) {
      char name[32];
      std::snprintf(name, sizeof name, "frame-%05lld.png", static_cast<long long>(k));
      writer.Write((std::filesystem::path(*options.pngDir) / name).string(), std::move(image));
    }
  }
  writer.Finish();
#else
  (void)host;
  (void)options;
#endif
}

// Refuses, before anything is loaded, what this build cannot do.
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
  (void)options;
#endif
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
  if (options.window) {
#ifdef VEYRANT_HAVE_RENDERER
    devhost::RunInteractive(host, options.canvasSize, options.scriptPath);
#endif
  } else if (options.pngPath || options.pngDir) {
    RenderPictures(host, options);
  } else {
    host.RenderFrames(options.frames);
  }
  if (options.configPath) host.SaveConfig();
  host.UnloadAll();
  host.Trace().SetListener(nullptr);
  if (options.tracePath && !traceToStdout) devhost::WriteFileAtomically(*options.tracePath, trace);
  std::fflush(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
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
  } catch (const devhost::ConsoleError& e) {
    std::cerr << "pryndal-devhost: " << e.what() << '\n';
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "pryndal-devhost: " << e.what() << '\n';
    return 1;
  }
}
