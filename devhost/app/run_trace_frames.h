// The frames played without rendering: only what the plugin calls, for the trace.
#pragma once

#include "app/command_line.h"
#include "core/host.h"

namespace devhost {

// The settings page first, when the command line works it.
void RunTraceFrames(Host& host, const CommandLine& options, bool settingsPage);

}  // namespace devhost
