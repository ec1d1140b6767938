// What every way of running shares: the host with its scene, the plugin loaded, the saved
// configuration restored and --set/--exec run at the start; the configuration written back, the
// plugin unloaded, the variables printed and the trace written at the end.
#pragma once

#include <string>

#include "app/command_line.h"
#include "core/host.h"

namespace devhost {

class HostSession {
 public:
  // Throws what loading the scene, the plugin or a --set/--exec line throws.
  explicit HostSession(const CommandLine& options);
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  Host& Get() { return host_; }
  // The end of a run that got this far; printVariables after the settings page ran.
  void Finish(bool printVariables);

 private:
  const CommandLine& options_;
  Host host_;
  std::string trace_;
  bool traceToStdout_;
};

}  // namespace devhost
