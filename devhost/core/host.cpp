#include "core/host.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "sdk/caller.h"
#include "system/atomic_file.h"
#include "system/folder_lock.h"
#include "system/input_file.h"
#include "system/leftovers.h"
#include "system/stop_request.h"

namespace devhost {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trim(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// Splits off the first word; rest is what follows it, trimmed.
std::string FirstWord(const std::string& text, std::string& rest) {
  std::size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  rest = Trim(text.substr(end));
  return text.substr(0, end);
}

// One value: bare up to whitespace, or quoted with \" and \\ escapes; nothing may follow.
std::string OneValue(const std::string& name, const std::string& text) {
  std::string value, error;
  std::size_t pos = 0;
  if (text.front() == '"') {
    if (!ParseQuoted(text, pos, value, error)) throw ConsoleError(name + ": " + error);
  } else {
    while (pos < text.size() && !IsBlank(text[pos])) ++pos;
    value = text.substr(0, pos);
  }
  const std::string rest = Trim(text.substr(pos));
  if (!rest.empty()) throw ConsoleError(name + ": expected one value, got more: " + rest);
  return value;
}

// The saved configuration holds one variable a line and has no escape for a line break, so a value
// with one could not be written back whole.
const std::string& OneLine(const std::string& name, const std::string& value) {
  if (value.find('\n') != std::string::npos)
    throw ConsoleError(name + ": a value may not hold a line break");
  return value;
}

// "the changes to a, b are not saved", for the variables the run changed.
std::string NotSaved(const std::vector<SavedValue>& values) {
  std::string names;
  for (const auto& value : values)
    if (value.changed) names += (names.empty() ? "" : ", ") + value.name;
  return names.empty() ? names : "; the changes to " + names + " are not saved";
}

}  // namespace

std::optional<std::string> ExecFileOf(const std::string& line) {
  std::string rest;
  if (FirstWord(Trim(line), rest) != "exec" || rest.empty()) return {};
  try {
    return OneValue("exec", rest);
  } catch (const ConsoleError&) {
    return {};
  }
}

Host::Host(Vector2 canvasSize) : canvas_(canvasSize) {
  CallTrace& trace = ActiveTrace();
  trace.SetListener(nullptr);
  trace.KeepRecords(false);
  trace.ClearRecords();
  trace.SetPhase(Phase::Host);
  SetScene(ParseScene(DemoSceneJson(), "built-in demo scene"));
}

Host::~Host() {
  UnloadAll();
  ActiveTrace().SetListener(nullptr);
}

// ---- Plugins ----

LoadedPlugin& Host::LoadPlugin(const std::string& path, LoadFrom from) {
  std::unique_ptr<LoadedPlugin> plugin = OpenPlugin(path, from);
  StartPlugin(*plugin);
  plugins_.push_back(std::move(plugin));
  return *plugins_.back();
}

void Host::UnloadPlugin(const std::string& name) {
  const auto it = FindPlugin(name);
  if (it == plugins_.end()) throw ConsoleError("plugin unload: no plugin named " + name);
  StopPlugin(**it);
  plugins_.erase(it);
}

void Host::UnloadAll() {
  while (!plugins_.empty()) UnloadPlugin(plugins_.back()->name);
}

LoadedPlugin& Host::ReloadPlugin(const std::string& name) {
  const auto it = FindPlugin(name);
  if (it == plugins_.end()) throw ConsoleError("plugin reload: no plugin named " + name);
  CallTrace& trace = ActiveTrace();
  trace.RecordHost(RecordKind::HostEvent, "reload", name);
  std::unique_ptr<LoadedPlugin> fresh;
  try {
    // Before the old plugin is touched: a refused module leaves it running.
    fresh = OpenPlugin((*it)->path, LoadFrom::PrivateCopy);
  } catch (const LoadError&) {
    trace.RecordHost(RecordKind::HostEvent, "reload refused", name);
    throw;
  }
  StopPlugin(**it);
  *it = std::move(fresh);  // in the old one's place, so the order of plugins stays
  StartPlugin(**it);
  ReportValues(**it);
  trace.RecordHost(RecordKind::HostEvent, "reloaded", (*it)->name);
  return **it;
}

Host::PluginList::iterator Host::FindPlugin(const std::string& name) {
  return std::find_if(plugins_.begin(), plugins_.end(),
                      [&name](const auto& p) { return p->name == name; });
}

std::unique_ptr<LoadedPlugin> Host::OpenPlugin(const std::string& path, LoadFrom from) {
  auto plugin = std::make_unique<LoadedPlugin>(OpenPluginModule(path, from));
  PhaseScope phase(Phase::Load);
  ActiveTrace().RecordHost(RecordKind::HostEvent, "module load", plugin->name);
  Pryndal::Plugin::PluginHandle* handle = nullptr;
  {
    PluginCallScope call(plugin.get(), "getPlugin");
    handle = plugin->getPlugin();
  }
  if (handle == nullptr || *handle == nullptr) {
    CloseModule(*plugin);
    throw LoadError(path + ": getPlugin gave no plugin object");
  }
  plugin->instance = *handle;
  return plugin;
}

void Host::StartPlugin(LoadedPlugin& plugin) {
  PhaseScope phase(Phase::Load);
  plugin.instance->cvarManager = std::make_shared<CVarManagerWrapper>(AddressOf(store_));
  plugin.instance->gameWrapper = std::make_shared<GameWrapper>(AddressOf(model_));
  plugin.settings = dynamic_cast<Pryndal::Plugin::PluginSettingsWindow*>(plugin.instance.get());
  PluginCallScope call(&plugin, "onLoad");
  plugin.instance->onLoad();
}

void Host::StopPlugin(LoadedPlugin& plugin) {
  PhaseScope phase(Phase::Unload);
  {
    PluginCallScope call(&plugin, "onUnload");
    plugin.instance->onUnload();
  }
  // The plugin unregisters nothing: the host must, before the object can go.
  store_.RemoveHooksOwnedBy(&plugin);
  model_.RemoveDrawablesOwnedBy(&plugin);
  plugin.settings = nullptr;
  plugin.instance.reset();
  {
    PluginCallScope call(&plugin, "deleteMe");
    plugin.deleteMe();
  }
  CloseModule(plugin);
}

void Host::CloseModule(LoadedPlugin& plugin) {
  ClosePluginModule(plugin);
  ActiveTrace().RecordHost(RecordKind::HostEvent, "module unload", plugin.name);
}

// As restoring the saved configuration does: each value set through the store, so every hook on
// it reports the value, whichever plugin's it is.
void Host::ReportValues(const LoadedPlugin& plugin) {
  const auto hooked = [&plugin](const Cvar& cvar) {
    return std::any_of(cvar.hooks.begin(), cvar.hooks.end(),
                       [&plugin](const CvarHook& hook) { return hook.owner == &plugin; });
  };
  // By index: a hook may register further variables.
  const std::size_t count = store_.All().size();
  for (std::size_t i = 0; i < count; ++i) {
    Cvar& cvar = *store_.All()[i];
    if (hooked(cvar)) store_.Set(cvar, std::string(cvar.value));
  }
}

// ---- Scene and frames ----

void Host::SetScene(Scene scene) {
  scene_ = std::move(scene);
  ApplySceneAt(nextFrame_);
}

void Host::SetStartTime(double seconds) {
  startTime_ = seconds;
  ApplySceneAt(nextFrame_);
}

void Host::ApplySceneAt(std::int64_t frame) {
  ApplyScene(scene_, startTime_ + static_cast<double>(frame) / scene_.fps, model_);
}

void Host::RenderFrames(std::int64_t count) { RenderFrames(count, canvas_); }

void Host::RenderFrames(std::int64_t count, RecordingCanvas& canvas) {
  for (std::int64_t i = 0; i < count; ++i) RenderFrameAt(NextFrameTime(), canvas);
}

double Host::NextFrameTime() const {
  return startTime_ + static_cast<double>(nextFrame_) / scene_.fps;
}

void Host::RenderFrameAt(double sceneSeconds, RecordingCanvas& canvas) {
  ThrowIfStopped();
  const auto address = reinterpret_cast<std::uintptr_t>(static_cast<devhost::Canvas*>(&canvas));
  const std::int64_t frame = nextFrame_++;
  ApplyScene(scene_, sceneSeconds, model_);
  PhaseScope phase(Phase::Frame, frame);
  // By index and by copy: a drawable may register another.
  const std::size_t drawables = model_.Drawables().size();
  for (std::size_t d = 0; d < drawables; ++d) {
    RegisteredDrawable drawable = model_.Drawables()[d];
    PluginCallScope call(drawable.owner, "drawable", {ObjectId{"canvas"}});
    drawable.fn(CanvasWrapper(address));
  }
}

// ---- Console ----

std::string Host::Console(const std::string& input) {
  const std::string line = Trim(input);
  if (line.empty() || line.front() == '#') return {};
  std::string rest;
  const std::string word = FirstWord(line, rest);
  if (word == "plugin") {
    std::string argument;
    const std::string action = FirstWord(rest, argument);
    if (action == "load" && !argument.empty()) {
      try {
        return "loaded " + LoadPlugin(OneValue("plugin load", argument)).name + "\n";
      } catch (const LoadError& e) {
        throw ConsoleError(std::string("plugin load: ") + e.what());
      }
    }
    if (action == "unload" && !argument.empty()) {
      UnloadPlugin(OneValue("plugin unload", argument));
      return {};
    }
    if (action == "reload" && !argument.empty()) {
      try {
        return "reloaded " + ReloadPlugin(OneValue("plugin reload", argument)).path + "\n";
      } catch (const LoadError& e) {
        throw ConsoleError(std::string("plugin reload: ") + e.what());
      }
    }
    throw ConsoleError(
        "plugin: expected `plugin load PATH`, `plugin unload NAME` or `plugin reload NAME`");
  }
  if (word == "exec") {
    if (rest.empty()) throw ConsoleError("exec: expected a file name");
    return Exec(OneValue("exec", rest));
  }
  Cvar* cvar = store_.Find(word);
  if (cvar == nullptr) throw ConsoleError("unknown command or variable: " + word);
  if (rest.empty()) return cvar->name + ' ' + QuoteValue(cvar->value) + '\n';
  store_.Set(*cvar, OneLine(word, OneValue(word, rest)));
  return {};
}

std::string Host::Exec(const std::string& path) {
  std::string text;
  try {
    text = ReadInputFile(path, {"file of console lines", "cannot read " + path, kExecLimit});
  } catch (const InputFileError& e) {
    throw ConsoleError(std::string("exec: ") + e.what());
  }
  std::istringstream in(text);
  // A file that runs itself, directly or through others, would recurse until the stack overflows.
  std::error_code ec;
  const std::string identity = std::filesystem::weakly_canonical(path, ec).string();
  if (std::find(execChain_.begin(), execChain_.end(), identity) != execChain_.end())
    throw ConsoleError("exec: " + path + " is already running (a file may not run itself)");
  execChain_.push_back(identity);
  std::string output, line;
  for (int number = 1; std::getline(in, line); ++number) {
    try {
      output += Console(line);
    } catch (const ConsoleError& e) {
      execChain_.pop_back();
      throw ConsoleError(path + ":" + std::to_string(number) + ": " + e.what());
    }
  }
  execChain_.pop_back();
  return output;
}

void Host::SetVariable(const std::string& name, const std::string& value) {
  Cvar* cvar = store_.Find(name);
  if (cvar == nullptr) throw ConsoleError("unknown variable: " + name);
  store_.Set(*cvar, OneLine(name, value));
}

// ---- Saved configuration ----

std::vector<std::string> Host::RestoreConfig(const std::string& path) {
  const ConfigReadResult read = ReadConfigFile(path);
  configPath_ = path;
  configWritable_ = read.readable;
  restoreProblem_ = read.readable ? "" : read.problems.front();
  // Another plugin's values stay in the file for its next load.
  for (const auto& line : read.lines)
    if (Cvar* cvar = store_.Find(line.name); cvar && line.kind == ConfigLine::Kind::Entry)
      store_.Set(*cvar, line.value);
  valuesAtRestore_.clear();
  for (const auto& cvar : store_.All()) valuesAtRestore_[cvar->name] = cvar->value;
  return read.problems;
}

void Host::SaveConfig() {
  if (!configPath_) return;
  std::vector<SavedValue> values;
  for (const auto& cvar : store_.All()) {
    if (!cvar->saved) continue;
    // One registered after the restore started from its default.
    const auto start = valuesAtRestore_.find(cvar->name);
    const bool changed =
        cvar->value != (start != valuesAtRestore_.end() ? start->second : cvar->defaultValue);
    values.push_back({cvar->name, cvar->value, changed});
  }
  const std::string notSaved = NotSaved(values);
  if (!configWritable_) {
    // Reported at the restore; a run that changed nothing lost nothing.
    if (!notSaved.empty()) throw std::runtime_error(restoreProblem_ + notSaved);
    return;
  }
  try {
    // Held across reading again and writing, so that two hosts saving at once both keep their
    // changes.
    const std::filesystem::path file(FollowLinks(*configPath_));
    const FolderLock lock(file.has_parent_path() ? file.parent_path().string() : ".");
    // Read again, so that what a person wrote into it while the host ran stays too. Its problems
    // were reported at the restore.
    const ConfigReadResult now = ReadConfigFile(*configPath_);
    if (!now.readable) throw std::runtime_error(now.problems.front());
    WriteFileAtomically(*configPath_, WriteBackConfig(now.lines, std::move(values)));
  } catch (const Stopped&) {
    throw;
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(e.what() + notSaved);
  }
  RemoveLeftoverTemporaries(*configPath_);
}

}  // namespace devhost
