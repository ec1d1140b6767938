// pryndal-devhost: loads a plugin module, plays a scene into it frame by frame and writes what it
// asked of the host. The command line only; the host itself is devhost_core.
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/command_line.h"
#include "core/host.h"
#include "core/trace_json.h"

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

int Run(const devhost::CommandLine& options) {
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
  host.RenderFrames(options.frames);
  if (options.configPath) host.SaveConfig();
  host.UnloadAll();
  host.Trace().SetListener(nullptr);
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
  } catch (const devhost::ConsoleError& e) {
    std::cerr << "pryndal-devhost: " << e.what() << '\n';
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "pryndal-devhost: " << e.what() << '\n';
    return 1;
  }
}
