// Which plugin the host is calling into right now. Hooks and drawables registered during the call
// are tagged with it, so the host can remove them all when that plugin unloads, and the trace
// brackets the call with records of its own, so the plugin's calls in between nest in it.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sdk/sdk_export.h"
#include "sdk/trace.h"

namespace devhost {

// A plugin as the host's registries know it.
struct PluginTag {
  std::string name;  // the export record's pluginName, as the trace names the plugin
};

DEVHOST_SDK_API const PluginTag*& CurrentCaller();

// One call of the host into a plugin (an entry function, a virtual operation, a drawable or a
// hook): a "call" record now and a "return" record when the scope ends. Set the phase first, so
// both records carry the phase of the calls inside.
class PluginCallScope {
 public:
  PluginCallScope(const PluginTag* plugin, const char* op, std::vector<TraceValue> args = {})
      : previous_(CurrentCaller()), plugin_(plugin), op_(op) {
    CurrentCaller() = plugin;
    if (ActiveTrace().Active())
      ActiveTrace().RecordHost(RecordKind::HostCall, op_, Name(), std::move(args));
  }
  ~PluginCallScope() {
    if (ActiveTrace().Active())
      ActiveTrace().RecordHost(RecordKind::HostReturn, op_, Name(), {}, std::move(result_));
    CurrentCaller() = previous_;
  }
  PluginCallScope(const PluginCallScope&) = delete;
  PluginCallScope& operator=(const PluginCallScope&) = delete;

  // What the call gave back, for the return record.
  void SetResult(TraceValue result) { result_ = std::move(result); }

 private:
  std::optional<std::string> Name() const {
    if (plugin_ == nullptr) return std::nullopt;
    return plugin_->name;
  }

  const PluginTag* previous_;
  const PluginTag* plugin_;
  const char* op_;
  std::optional<TraceValue> result_;
};

}  // namespace devhost
