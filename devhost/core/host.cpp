// The host's plugins: loading one the way the real host does, unloading and reloading it, and
// calling its hooks.
#include "core/host.h"

#include <algorithm>

#include "sdk/caller.h"
#include "system/stop_request.h"

namespace devhost {

namespace {

const void* SdkCode() { return reinterpret_cast<const void*>(&ActiveTrace); }
const void* HostCode() { return reinterpret_cast<const void*>(&GuardedDepth); }

}  // namespace

Host::Host(Vector2 canvasSize)
    : store_([this](Cvar& cvar, const std::string& old) { RunHooks(cvar, old); }),
      door_(store_, model_),
      canvas_(canvasSize) {
  // A fault in these is the host's own.
  MarkHostCode(CodeRangeOf(SdkCode()));
  MarkHostCode(CodeRangeOf(HostCode()));
  CallTrace& trace = ActiveTrace();
  trace.StopAllListening();
  trace.SetPhase(Phase::Host);
  SetScene(ParseScene(DemoSceneJson(), "built-in demo scene"));
}

Host::~Host() {
  try {
    UnloadAll();
  } catch (const HostError&) {
    // A plugin that faulted now was reported to the listener; the host is ending anyway.
  } catch (const Stopped&) {
  }
  ActiveTrace().StopAllListening();
}

LoadedPlugin& Host::LoadPlugin(const std::string& path, LoadFrom from) {
  const auto faulted =
      std::find_if(plugins_.begin(), plugins_.end(), [](const auto& p) { return p->faulted; });
  // The system's loader would hand back the faulted module, object and all.
  std::unique_ptr<LoadedPlugin> plugin =
      OpenPlugin(path, faulted != plugins_.end() ? LoadFrom::PrivateCopy : from);
  const auto same = FindPlugin(plugin->name);
  if (same != plugins_.end() && (*same)->faulted) {
    *same = std::move(plugin);
    StartPlugin(**same);
    return **same;
  }
  plugins_.push_back(std::move(plugin));
  StartPlugin(*plugins_.back());
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
    if (fresh->faulted) throw LoadError((*it)->path + ": faulted in getPlugin");
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
  plugin->door = &door_;
  door_.Symbols().ModulesChanged();
  PhaseScope phase(Phase::Load);
  ActiveTrace().RecordHost(RecordKind::HostEvent, "module load", plugin->name);
  // The handle is the plugin's memory: read inside its call too.
  door_.Call(plugin.get(), {"getPlugin"}, [&plugin] {
    Pryndal::Plugin::PluginHandle* handle = plugin->getPlugin();
    if (handle != nullptr) plugin->instance = *handle;
  });
  if (plugin->faulted) return plugin;  // its fault ends the run, or leaves it in the list retired
  if (plugin->instance == nullptr) {
    UnloadModule(*plugin);
    throw LoadError(path + ": getPlugin gave no plugin object");
  }
  return plugin;
}

void Host::StartPlugin(LoadedPlugin& plugin) {
  if (plugin.faulted) return;
  PhaseScope phase(Phase::Load);
  plugin.instance->cvarManager = std::make_shared<CVarManagerWrapper>(AddressOf(store_));
  plugin.instance->gameWrapper = std::make_shared<GameWrapper>(AddressOf(model_));
  plugin.settings = dynamic_cast<Pryndal::Plugin::PluginSettingsWindow*>(plugin.instance.get());
  door_.Call(&plugin, {"onLoad"}, [&plugin] { plugin.instance->onLoad(); });
}

void Host::StopPlugin(LoadedPlugin& plugin) {
  PhaseScope phase(Phase::Unload);
  // Each step only while the plugin has not faulted: the door calls a faulted one no more.
  door_.Call(&plugin, {"onUnload"}, [&plugin] { plugin.instance->onUnload(); });
  // The plugin unregisters nothing: the host must, before the object can go. Letting go of its
  // function objects and of the host's copy of its object runs its code.
  plugin.settings = nullptr;
  door_.Call(&plugin, {"letting go of its hooks and drawables", {}, nullptr, false}, [&] {
    store_.TakeHooksOwnedBy(&plugin);
    model_.TakeDrawablesOwnedBy(&plugin);
    plugin.instance.reset();
  });
  door_.Call(&plugin, {"deleteMe"}, [&plugin] { plugin.deleteMe(); });
  if (door_.Call(&plugin, {"closing its module", {}, nullptr, false},
                 [&plugin] { ClosePluginModule(plugin); }))
    UnloadModule(plugin);
}

void Host::UnloadModule(LoadedPlugin& plugin) {
  ClosePluginModule(plugin);
  door_.Symbols().ModulesChanged();
  ActiveTrace().RecordHost(RecordKind::HostEvent, "module unload", plugin.name);
}

// As restoring the saved configuration does: each value set through the store, so every hook on
// it reports the value, whichever plugin's it is.
void Host::ReportValues(const LoadedPlugin& plugin) {
  const auto hooked = [&plugin](const Cvar& cvar) {
    return std::any_of(cvar.hooks.begin(), cvar.hooks.end(),
                       [&plugin](const auto& hook) { return hook->owner == &plugin; });
  };
  // By index: a hook may register further variables.
  const std::size_t count = store_.All().size();
  for (std::size_t i = 0; i < count; ++i) {
    Cvar& cvar = *store_.All()[i];
    if (hooked(cvar)) store_.Set(cvar, std::string(cvar.value));
  }
}

void Host::RunHooks(Cvar& cvar, const std::string& oldValue) {
  // As they are now: a hook may attach further hooks, which report from the next change on.
  const CvarHooks hooks = cvar.hooks;
  for (const auto& hook : hooks) {
    PhaseScope phase(Phase::Hook);
    door_.Call(static_cast<LoadedPlugin*>(hook->owner),
               {"hook", {oldValue, ObjectId{cvar.id}}, &cvar},
               [&] { hook->fn(oldValue, CVarWrapper(AddressOf(cvar))); });
  }
}

}  // namespace devhost
