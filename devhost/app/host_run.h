// What every way of running shares: the host with its scene, the plugin loaded, the saved
// configuration restored and --set/--exec run at the start; the configuration written back, the
// plugin unloaded, the variables printed and the trace written at the end.
#pragma once

#include <optional>
#include <string>

#include "app/command_line.h"
#include "core/host.h"
#include "system/atomic_file.h"

namespace devhost {

class HostRun {
 public:
  // Throws what loading the scene, the plugin or a --set/--exec line throws, and UsageError for an
  // output that is the same file as an input or another output.
  // windowHelp: what help lists beyond the console's own lines.
  HostRun(const CommandLine& options, const std::vector<HelpSection>& windowHelp);
  HostRun(const HostRun&) = delete;
  HostRun& operator=(const HostRun&) = delete;

  Host& Get() { return host_; }
  // The end of a run that got this far; printVariables after the settings page ran.
  void Finish(bool printVariables);
  // The end of a run that failed or was stopped: only the configuration is saved (a failure to
  // save is printed); every other output is left unwritten, but for the trace when the plugin
  // faulted, which is written up to the fault.
  void SaveAfterFailure(bool pluginFaulted);

 private:
  // Never throws: it runs inside the plugin's calls. A failed write stops the run at its next
  // frame.
  void WriteTrace();
  // No record reaches the trace file after this.
  void StopTracing();

  const CommandLine& options_;
  Host host_;
  std::string trace_;  // lines not yet written
  bool traceToStdout_;
  std::optional<OutputFile> traceFile_;
  std::optional<CallTrace::ListenerId> traceListener_;
};

}  // namespace devhost
