#include "app/run_start.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#include <filesystem>
#include <iostream>
#include <vector>

#include "app/file_identity.h"
#include "app/output_folders.h"
#include "system/leftovers.h"
#include "system/standard_output.h"
#include "system/stop_request.h"

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

// Every file the run reads or writes, by the option that names it.
std::vector<NamedFile> FilesOf(const CommandLine& options) {
  std::vector<NamedFile> files{{"--plugin", PluginPath(options), true, false}};
  const auto add = [&files](const char* option, const std::optional<std::string>& path, bool input,
                            bool output) {
    if (path && *path != "-") files.push_back({option, *path, input, output});
  };
  add("--compare", options.comparePath, true, false);
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

}  // namespace

std::string PluginPath(const CommandLine& options) {
  return options.pluginPath ? *options.pluginPath : DefaultPluginPath();
}

void PrepareFiles(const CommandLine& options) {
  const std::vector<NamedFile> files = FilesOf(options);
  RefuseSharedFiles(files);
  RefuseMissingFolders(files);
  RemoveWhatKilledHostsLeft(options);
}

void StartScene(Host& host, const CommandLine& options) {
  if (options.scenePath) host.SetScene(LoadSceneFile(*options.scenePath));
  host.SetStartTime(options.time);
}

void StartPlugin(Host& host, const CommandLine& options, const std::string& path, LoadFrom from,
                 bool tell) {
  host.LoadPlugin(path, from);
  if (options.configPath) {
    const std::vector<std::string> problems = host.RestoreConfig(*options.configPath);
    if (tell)
      for (const auto& problem : problems) std::cerr << problem << '\n';
  }
  for (const auto& action : options.actions) {
    ThrowIfStopped();
    const bool set = action.kind == StartupAction::Kind::Set;
    try {
      if (set) {
        host.SetVariable(action.name, action.text);
      } else {
        const std::string printed = host.Console(action.text);
        if (tell) PrintOut(printed);
      }
    } catch (const ConsoleError& e) {
      throw ConsoleError((set ? "--set " + action.name + "=" : std::string("--exec ")) +
                         action.text + ": " + e.what());
    }
  }
}

}  // namespace devhost
