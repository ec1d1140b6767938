#include "app/host_run.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <vector>

#include "app/file_identity.h"
#include "app/output_folders.h"
#include "core/trace_json.h"
#include "system/leftovers.h"
#include "system/standard_output.h"
#include "system/stop_request.h"

namespace devhost {

namespace {

// A file's worth of trace lines is written at a time, so memory holds no more than that.
constexpr std::size_t kTraceChunk = 1 << 16;

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

std::string PluginPath(const CommandLine& options) {
  return options.pluginPath ? *options.pluginPath : DefaultPluginPath();
}

// Every file the run reads or writes, by the option that names it.
std::vector<NamedFile> FilesOf(const CommandLine& options) {
  std::vector<NamedFile> files{{"--plugin", PluginPath(options), true, false}};
  const auto add = [&files](const char* option, const std::optional<std::string>& path, bool input,
                            bool output) {
    if (path && *path != "-") files.push_back({option, *path, input, output});
  };
  add("--scene", options.scenePath, true, false);
  add("--config", options.configPath, true, true);
  add("--script", options.scriptPath, true, false);
  for (const auto& action : options.actions)
    if (action.kind == StartupAction::Kind::Exec)
      add("--exec", ExecFileOf(action.text), true, false);
  add("--trace", options.tracePath, false, true);
  add("--png", options.pngPath, false, true);
  add("--png-dir", options.pngDir, false, true);
  add("--video", options.videoPath, false, true);
  return files;
}

// What hosts killed before they could clean up left: temporary files beside this run's outputs
// and in its --png-dir, and private module copies.
void RemoveWhatKilledHostsLeft(const CommandLine& options) {
  for (const auto& path :
       {options.configPath, options.tracePath, options.pngPath, options.videoPath})
    if (path && *path != "-") RemoveLeftoverTemporaries(*path);
  if (options.pngDir) RemoveLeftoverFrames(*options.pngDir);
  RemoveLeftoverModuleCopies();
}

void PrintVariables(Host& host) {
  std::vector<const Cvar*> cvars;
  for (const auto& cvar : host.Store().All()) cvars.push_back(cvar.get());
  std::sort(cvars.begin(), cvars.end(), [](auto* a, auto* b) { return a->name < b->name; });
  for (const Cvar* cvar : cvars) PrintOut(cvar->name + ' ' + cvar->value + '\n');
}

}  // namespace

HostRun::HostRun(const CommandLine& options, const std::vector<HelpSection>& windowHelp)
    : options_(options),
      host_(options.canvasSize),
      traceToStdout_(options.tracePath && *options.tracePath == "-") {
  const std::vector<NamedFile> files = FilesOf(options);
  RefuseSharedFiles(files);
  RefuseMissingFolders(files);
  RemoveWhatKilledHostsLeft(options);
  host_.Store().SetLogSink([](const std::string& text) { std::cerr << text << '\n'; });
  for (const HelpSection& section : windowHelp) host_.AddHelp(section);
  // The scene first: a bad scene stops the run before the plugin sees anything.
  if (options.scenePath) host_.SetScene(LoadSceneFile(*options.scenePath));
  host_.SetStartTime(options.time);

  if (options.tracePath) {
    if (!traceToStdout_) traceFile_.emplace(*options.tracePath);
    host_.Trace().SetListener([this](const TraceRecord& record) {
      AppendTraceLine(trace_, record);
      // Standard output line by line, in order with what the console prints there.
      if (traceToStdout_ || trace_.size() >= kTraceChunk) WriteTrace();
    });
  }

  // Watched, from a private copy: the build replaces the file while the plugin runs.
  host_.LoadPlugin(PluginPath(options), options.watch ? LoadFrom::PrivateCopy : LoadFrom::File);
  if (options.configPath)
    for (const auto& problem : host_.RestoreConfig(*options.configPath))
      std::cerr << problem << '\n';
  // From the restore on, a failure or a stop keeps what the lines before it changed.
  try {
    for (const auto& action : options.actions) {
      ThrowIfStopped();
      const bool set = action.kind == StartupAction::Kind::Set;
      try {
        if (set) {
          host_.SetVariable(action.name, action.text);
        } else {
          PrintOut(host_.Console(action.text));
        }
      } catch (const ConsoleError& e) {
        throw ConsoleError((set ? "--set " + action.name + "=" : std::string("--exec ")) +
                           action.text + ": " + e.what());
      }
    }
  } catch (...) {
    SaveAfterFailure();
    throw;
  }
}

void HostRun::WriteTrace() {
  try {
    if (traceFile_) {
      traceFile_->Write(trace_);
    } else {
      PrintOut(trace_);
    }
  } catch (const std::exception& e) {
    FailRun(e.what());
  }
  trace_.clear();
}

void HostRun::Finish(bool printVariables) {
  if (options_.configPath) host_.SaveConfig();
  host_.UnloadAll();
  host_.Trace().SetListener(nullptr);
  if (options_.tracePath) WriteTrace();
  ThrowIfStopped();  // a trace line that could not be written
  if (printVariables) PrintVariables(host_);
  if (traceFile_) traceFile_->Commit();
  FlushOut();
}

void HostRun::SaveAfterFailure() {
  host_.Trace().SetListener(nullptr);
  if (!options_.configPath) return;
  try {
    host_.SaveConfig();
  } catch (const std::exception& e) {
    std::cerr << "pryndal-devhost: " << e.what() << '\n';
  }
}

}  // namespace devhost
