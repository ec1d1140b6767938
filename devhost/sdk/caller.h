// Which plugin the host is calling into right now. Hooks and drawables registered during the call
// are tagged with it, so the host can remove them all when that plugin unloads.
#pragma once

#include <string>

#include "sdk/sdk_export.h"

namespace devhost {

// A plugin as the host's registries know it.
struct PluginTag {
  std::string name;      // the export record's pluginName, as the trace names the plugin
  bool faulted = false;  // its code is never run again
};

// Set by the host's door into plugins for the length of each call.
DEVHOST_SDK_API PluginTag*& CurrentCaller();

}  // namespace devhost
