#include "app/run_window.h"

#include "app/run_settings_page.h"
#include "window/window_player.h"

namespace devhost {

void RunWindow(Host& host, const CommandLine& options, bool settingsPage) {
  if (settingsPage) RunSettingsPageAlone(host, options);
  PlayInWindow(host, options.canvasSize, options.scriptPath, options.settings, options.watch);
}

}  // namespace devhost
