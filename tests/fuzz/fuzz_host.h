// What the fuzz targets share: libFuzzer's entry point, and for the plugin-facing targets one
// development host per process, with the plugin loaded once and never unloaded, because libFuzzer
// reads the module's coverage counters until the process ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/host.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace veyrant_fuzz {

// With every variable back to its default through the store, so the hooks reset the plugin's
// fields and each input starts from the same state.
inline devhost::Host& FuzzHost() {
  static devhost::Host& host = *new devhost::Host();  // reachable until exit: not a leak
  if (host.Plugins().empty()) host.LoadPlugin(VEYRANT_MODULE_PATH);
  for (const auto& cvar : host.Store().All()) host.Store().Set(*cvar, cvar->defaultValue);
  return host;
}

}  // namespace veyrant_fuzz
