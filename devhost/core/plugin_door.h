// The one door through which the host calls into a plugin: entry functions, virtual operations,
// drawables, hooks, and the letting go of what the plugin handed over. It traces the call, runs it
// guarded (system/fault_guard.h), and when the plugin faults it names the place, retires the
// plugin and tells whoever listens; a run that stops on faults then ends with PluginFaulted once
// the host is out of every plugin's code.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/loader.h"
#include "sdk/cvar_store.h"
#include "sdk/game_model.h"
#include "sdk/trace.h"
#include "symbols/symbolizer.h"
#include "system/fault_guard.h"

namespace devhost {

struct PluginCall {
  const char* op;  // as the trace names it: "onLoad", "drawable", "hook", ...
  std::vector<TraceValue> args = {};
  const Cvar* cvar = nullptr;  // a hook's variable
  // False for the host's own housekeeping, which the trace has never shown.
  bool traced = true;
  std::optional<TraceValue> result = {};  // what the call gave back, for its return record
};

// What a plugin's fault was and where.
struct PluginFaultReport {
  std::string plugin;
  std::string call;                 // "RenderOverlay", "onLoad", "the change hook of veyrant_scale"
  std::string fault;                // "SIGSEGV, a write to address 0x0"
  std::vector<std::string> places;  // in the plugin's module, innermost first
  // "Veyrant faulted in RenderOverlay: SIGSEGV, ...", then a line per place.
  std::string Message() const;
};

class PluginDoor {
 public:
  using FaultListener = std::function<void(const PluginFaultReport&)>;
  // Frames of the plugin's stack a report names.
  static constexpr std::size_t kPlacesShown = 8;

  PluginDoor(CvarStore& store, GameModel& model);

  // Runs body as the plugin's call; false when it did not run to its end, because the plugin had
  // faulted before or faulted in it. A null plugin's call (a hook nobody owns) runs unguarded.
  // The body may give call.result.
  template <typename Body>
  bool Call(LoadedPlugin* plugin, PluginCall& call, Body&& body) {
    using Function = std::remove_reference_t<Body>;
    return Call(
        plugin, call, [](void* b) { (*static_cast<Function*>(b))(); }, &body);
  }
  template <typename Body>
  bool Call(LoadedPlugin* plugin, PluginCall&& call, Body&& body) {
    return Call(plugin, call, std::forward<Body>(body));
  }

  // Told of each fault after the plugin is retired; returns the listener before it.
  FaultListener SetFaultListener(FaultListener listener);
  // A run that goes on after a fault (the window); others end with PluginFaulted.
  void KeepRunningAfterFaults(bool keepRunning) { keepRunning_ = keepRunning; }
  Symbolizer& Symbols() { return symbols_; }

 private:
  bool Call(LoadedPlugin* plugin, PluginCall& call, GuardedCall body, void* context);
  void Faulted(LoadedPlugin& plugin, const CaughtFault& fault);
  // Never to be called again: out of the host's lists, its object and function objects kept
  // without being destroyed, its module left mapped.
  void Retire(LoadedPlugin& plugin);

  CvarStore& store_;
  GameModel& model_;
  Symbolizer symbols_;
  FaultListener listener_;
  bool keepRunning_ = false;
};

}  // namespace devhost
