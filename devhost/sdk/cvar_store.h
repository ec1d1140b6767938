// The console-variable store: registered variables with their current text, and the change hooks
// plugins attach, each tagged with its owner so unloading a plugin removes them.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/cvar_wrappers.h"
#include "sdk/model_object.h"
#include "sdk/sdk_export.h"

namespace devhost {

class CvarStore;
struct PluginTag;

// A namespace constant, not a member: a static member of a class imported from a DLL is imported
// too.
constexpr std::size_t kKeptLogLines = 1000;

// Shared, so that the host can hold on to a hook while it runs it: its function object is a
// plugin's code, and copying or destroying it runs that code.
struct CvarHook {
  PluginTag* owner = nullptr;
  CVarWrapper::ValueChanged fn;
};
using CvarHooks = std::vector<std::shared_ptr<const CvarHook>>;

struct Cvar : ModelObject {
  std::string name;
  std::string defaultValue;
  std::string description;
  bool saved = true;
  std::string value;
  CvarHooks hooks;
  CvarStore* store = nullptr;
};

class DEVHOST_SDK_API CvarStore : public ModelObject {
 public:
  using LogSink = std::function<void(const std::string&)>;
  // Runs the variable's hooks after a set: the host's, which calls into plugins its own way.
  using HookRunner = std::function<void(Cvar& cvar, const std::string& oldValue)>;

  explicit CvarStore(HookRunner runHooks)
      : ModelObject{"cvarManager"}, runHooks_(std::move(runHooks)) {}
  CvarStore(const CvarStore&) = delete;
  CvarStore& operator=(const CvarStore&) = delete;

  // A name registered before keeps its variable and value, as after a plugin reload.
  Cvar& Register(Cvar definition);
  Cvar* Find(std::string_view name);
  const std::vector<std::unique_ptr<Cvar>>& All() const { return cvars_; }

  // Every set counts as a change: the hooks run afterwards.
  void Set(Cvar& cvar, std::string text);
  void Set(Cvar& cvar, int value);
  void Set(Cvar& cvar, float value);

  // The hook belongs to the current caller.
  void AddHook(Cvar& cvar, CVarWrapper::ValueChanged fn);
  // Taken out of every variable, for the host to let go of as it sees fit.
  CvarHooks TakeHooksOwnedBy(const PluginTag* owner);

  // The last kKeptLogLines lines are kept: a host that reloads its plugin all day grows no log.
  void Log(const std::string& text);
  std::vector<std::string> LogLines() const { return {log_.begin(), log_.end()}; }
  // Returns the sink it replaces.
  LogSink SetLogSink(LogSink sink) { return std::exchange(logSink_, std::move(sink)); }

 private:
  std::vector<std::unique_ptr<Cvar>> cvars_;
  std::deque<std::string> log_;
  LogSink logSink_;
  HookRunner runHooks_;
};

}  // namespace devhost
