#include "app/host_session.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <vector>

#include "core/atomic_file.h"
#include "core/trace_json.h"

namespace devhost {

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

void PrintVariables(Host& host) {
  std::vector<const Cvar*> cvars;
  for (const auto& cvar : host.Store().All()) cvars.push_back(cvar.get());
  std::sort(cvars.begin(), cvars.end(), [](auto* a, auto* b) { return a->name < b->name; });
  for (const Cvar* cvar : cvars) std::cout << cvar->name << ' ' << cvar->value << '\n';
}

}  // namespace

HostSession::HostSession(const CommandLine& options)
    : options_(options),
      host_(options.canvasSize),
      traceToStdout_(options.tracePath && *options.tracePath == "-") {
  host_.Store().SetLogSink([](const std::string& text) { std::cerr << text << '\n'; });
  // The scene first: a bad scene stops the run before the plugin sees anything.
  if (options.scenePath) host_.SetScene(LoadSceneFile(*options.scenePath));
  host_.SetStartTime(options.time);

  if (options.tracePath) {
    host_.Trace().SetListener([this](const TraceRecord& record) {
      AppendTraceLine(trace_, record);
      if (traceToStdout_) {
        std::fwrite(trace_.data(), 1, trace_.size(), stdout);
        trace_.clear();
      }
    });
  }

  // Watched, from a private copy: the build replaces the file while the plugin runs.
  host_.LoadPlugin(options.pluginPath ? *options.pluginPath : DefaultPluginPath(),
                   options.watch ? LoadFrom::PrivateCopy : LoadFrom::File);
  if (options.configPath)
    for (const auto& problem : host_.RestoreConfig(*options.configPath))
      std::cerr << problem << '\n';
  for (const auto& action : options.actions) {
    if (action.kind == StartupAction::Kind::Set) {
      host_.SetVariable(action.name, action.text);
    } else {
      std::cout << host_.Console(action.text);
    }
  }
}

void HostSession::Finish(bool printVariables) {
  if (options_.configPath) host_.SaveConfig();
  host_.UnloadAll();
  host_.Trace().SetListener(nullptr);
  if (printVariables) PrintVariables(host_);
  if (options_.tracePath && !traceToStdout_) WriteFileAtomically(*options_.tracePath, trace_);
  std::fflush(stdout);
}

}  // namespace devhost
