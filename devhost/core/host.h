// The development host: the console-variable store, the game model played from a
// scene, the loaded plugins, the canvas and the trace, with the console and saved configuration.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/config_file.h"
#include "core/console_help.h"
#include "core/loader.h"
#include "core/plugin_door.h"
#include "core/recording_canvas.h"
#include "core/scene.h"
#include "sdk/cvar_store.h"
#include "sdk/game_model.h"
#include "sdk/trace.h"
#include "system/host_errors.h"

namespace devhost {

// The file an `exec FILE` console line names; nothing for any other line.
std::optional<std::string> ExecFileOf(const std::string& line);

class Host {
 public:
  // The trace is process-wide, so one Host at a time; it starts the trace afresh.
  explicit Host(Vector2 canvasSize = {1920, 1080});
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  CvarStore& Store() { return store_; }
  GameModel& Model() { return model_; }
  // Every call into a plugin goes through it; it says what to do when one faults.
  PluginDoor& Door() { return door_; }
  RecordingCanvas& Canvas() { return canvas_; }
  CallTrace& Trace() { return ActiveTrace(); }

  // ---- Plugins ----
  // Throws LoadError naming the file and what is wrong. From a private copy, a build may replace
  // the file while the plugin runs. A plugin loaded in the place of one of its name that faulted
  // takes that one's place, and comes from a private copy: the faulted module stays loaded.
  LoadedPlugin& LoadPlugin(const std::string& path, LoadFrom from = LoadFrom::File);
  // By the record's plugin name; throws ConsoleError if none is loaded under it.
  void UnloadPlugin(const std::string& name);
  void UnloadAll();
  // Loads the plugin's file again, from a private copy, in its place. The new module is opened,
  // checked and asked for its plugin object first; only then is the old plugin unloaded, the new
  // one's onLoad called and every variable it hooks reported to it through the store, so that it
  // draws with the values the console shows. Throws ConsoleError if no plugin has the name, and
  // LoadError, with the old plugin still loaded, if the new module is refused.
  LoadedPlugin& ReloadPlugin(const std::string& name);
  const std::vector<std::unique_ptr<LoadedPlugin>>& Plugins() const { return plugins_; }

  // ---- Scene and frames ----
  void SetScene(Scene scene);
  const Scene& CurrentScene() const { return scene_; }
  void SetStartTime(double seconds);
  // Frame k shows the scene at start + k / fps, on the host's own canvas; indices continue across
  // calls. A drawable registered during a frame is called from the next one on.
  void RenderFrames(std::int64_t count);
  // One frame, the next index, showing the scene at a time of the caller's choosing (a window
  // playing in real time, stepping or seeking).
  void RenderFrameAt(double sceneSeconds, RecordingCanvas& canvas);
  // The scene time RenderFrames shows next.
  double NextFrameTime() const;
  std::int64_t FramesRendered() const { return nextFrame_; }

  // ---- Console ----
  // Runs one line; returns what it prints. Throws ConsoleError saying what is wrong.
  std::string Console(const std::string& line);
  // Runs every line of a file; the first failing line stops it with "FILE:LINE: ...". A file that
  // is already running (one that runs itself) is refused.
  std::string Exec(const std::string& path);
  // Sets a registered variable to text, as the console does; throws ConsoleError if unknown.
  void SetVariable(const std::string& name, const std::string& value);
  // What help lists: the console's own lines, then what the program adds (the window's commands
  // and keys), which the console then names and completes too.
  void AddHelp(HelpSection section) { help_.push_back(std::move(section)); }
  const std::vector<HelpSection>& Help() const { return help_; }
  std::vector<std::string> VariableNames() const;

  // ---- Saved configuration ----
  // Applies the file's values through the store (hooks fire) and remembers the file for
  // SaveConfig. Returns the problems found; none is fatal.
  std::vector<std::string> RestoreConfig(const std::string& path);
  // Writes back atomically, over the file as it is then, the saved variables the run changed, and
  // those no line names; every other line stays as written; one host at a time. Removes killed
  // writers' temporary files. Does nothing if no file was restored. Throws std::runtime_error,
  // naming the variables the run changed, when the file cannot be read or written.
  void SaveConfig();

 private:
  using PluginList = std::vector<std::unique_ptr<LoadedPlugin>>;

  PluginList::iterator FindPlugin(const std::string& name);
  // The module opened and checked, and getPlugin's object taken; onLoad not yet called.
  std::unique_ptr<LoadedPlugin> OpenPlugin(const std::string& path, LoadFrom from);
  void StartPlugin(LoadedPlugin& plugin);
  void StopPlugin(LoadedPlugin& plugin);
  // Closes the plugin's module and records it in the trace.
  void UnloadModule(LoadedPlugin& plugin);
  void ReportValues(const LoadedPlugin& plugin);
  // After every set: the variable's hooks, each through the door.
  void RunHooks(Cvar& cvar, const std::string& oldValue);
  // Why the console does not take word: where it is taken, or the nearest known name.
  std::string Unknown(const std::string& word) const;
  void ApplySceneAt(std::int64_t frame);

  CvarStore store_;
  GameModel model_;
  PluginDoor door_;
  DrawableList frameDrawables_;  // the drawables a frame calls, kept for its memory
  RecordingCanvas canvas_;
  Scene scene_;
  double startTime_ = 0;
  std::int64_t nextFrame_ = 0;
  PluginList plugins_;
  std::vector<std::string> execChain_;  // files being run by exec, outermost first
  std::vector<HelpSection> help_{ConsoleLineHelp()};
  std::optional<std::string> configPath_;
  bool configWritable_ = false;
  std::string restoreProblem_;  // why the file could not be read at the restore
  std::map<std::string, std::string> valuesAtRestore_;  // of the variables registered then
};

}  // namespace devhost
