// --window: the scene played in a window in real time (see window/window_player.h).
#pragma once

#include "app/command_line.h"
#include "core/host.h"

namespace devhost {

// The settings page first, in a context of its own, when the command line works it.
void RunWindow(Host& host, const CommandLine& options, bool settingsPage);

}  // namespace devhost
