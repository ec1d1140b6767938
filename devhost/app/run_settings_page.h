// The plugin's settings page worked with --click, --drag and --type over --settings-frames UI
// frames.
#pragma once

#include "app/command_line.h"
#include "core/host.h"
#include "ui/settings_window.h"

namespace devhost {

// UI frame 0 shows the page; each action then takes its frames in turn, and idle frames make up
// the rest. Throws DriverError for too few frames or a widget the page does not show.
void RunSettingsPage(const CommandLine& options, SettingsWindow& window);
// The first plugin, whose page the run shows. Throws DriverError when an --exec line has unloaded
// every plugin.
LoadedPlugin& PluginWithSettingsPage(Host& host);
// The page in a host context of its own, drawn nowhere.
void RunSettingsPageAlone(Host& host, const CommandLine& options);

}  // namespace devhost
