// The development host the plugin-facing fuzz targets share: one per process, with the plugin
// loaded once and never unloaded, because libFuzzer reads the module's coverage counters until the
// process ends.
#pragma once

#include "core/host.h"

namespace veyrant_fuzz {

inline devhost::Host& FuzzHost() {
  // Reachable until exit, so the leak checker does not count it.
  static devhost::Host* const host = [] {
    auto* created = new devhost::Host();
    created->LoadPlugin(VEYRANT_MODULE_PATH);
    return created;
  }();
  return *host;
}

// Every variable back to its default through the store, so the hooks reset the plugin's fields and
// each input starts from the same state.
inline void ResetVariables(devhost::Host& host) {
  for (const auto& cvar : host.Store().All()) host.Store().Set(*cvar, cvar->defaultValue);
}

}  // namespace veyrant_fuzz
