// While the window is open, what the host tells goes to the window's console log, which writes
// it to the terminal too: the plugin's log lines, and a plugin's fault, which costs the plugin's
// drawing, not the window (the next build, or `plugin reload`, takes its place). Put back as it
// was when the window closes.
#pragma once

#include "core/host.h"
#include "window/console_log.h"

namespace devhost {

class WindowLogRouting {
 public:
  WindowLogRouting(Host& host, ConsoleLog& log);
  ~WindowLogRouting();
  WindowLogRouting(const WindowLogRouting&) = delete;
  WindowLogRouting& operator=(const WindowLogRouting&) = delete;

 private:
  Host& host_;
  CvarStore::LogSink terminalSink_;
  PluginDoor::FaultListener terminalListener_;
};

}  // namespace devhost
