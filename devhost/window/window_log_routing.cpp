#include "window/window_log_routing.h"

#include <utility>

namespace devhost {

WindowLogRouting::WindowLogRouting(Host& host, ConsoleLog& log) : host_(host) {
  // The log lines before the window are on the terminal already.
  for (const auto& line : host.Store().LogLines()) log.Add(LogLine::Kind::Output, line, false);
  terminalSink_ = host.Store().SetLogSink(
      [&log](const std::string& text) { log.Add(LogLine::Kind::Output, text); });
  host.Door().KeepRunningAfterFaults(true);
  terminalListener_ = host.Door().SetFaultListener(
      [&log](const PluginFaultReport& report) { log.Add(LogLine::Kind::Error, report.Message()); });
}

WindowLogRouting::~WindowLogRouting() {
  host_.Store().SetLogSink(std::move(terminalSink_));
  host_.Door().SetFaultListener(std::move(terminalListener_));
  host_.Door().KeepRunningAfterFaults(false);
}

}  // namespace devhost
