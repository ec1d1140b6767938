// pryndal-devhost --window: the scene played in a window in real time, with keys for pausing,
// stepping and seeking, a console line for host and window commands, and an optional script of
// such commands run one a frame (for tests and recordings).
#pragma once

#include <optional>
#include <string>

#include "host/value_types.h"

namespace devhost {

class Host;

// Returns when the window is closed or a quit command runs; showSettings opens with the plugin's
// settings window shown; watch reloads the first plugin whenever its module file is replaced.
// Throws RenderError without a display, and ConsoleError "FILE:LINE: ..." for the first script
// line that fails.
void PlayInWindow(Host& host, Vector2 size, const std::optional<std::string>& scriptPath,
                  bool showSettings, bool watch);

}  // namespace devhost
