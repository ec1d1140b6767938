// The host's plugins: loading one the way the real host does, unloading and reloading it.
#include "core/host.h"

#include <algorithm>

#include "sdk/caller.h"

namespace devhost {

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
    UnloadModule(*plugin);
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
  UnloadModule(plugin);
}

void Host::UnloadModule(LoadedPlugin& plugin) {
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

}  // namespace devhost
