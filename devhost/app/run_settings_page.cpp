#include "app/run_settings_page.h"

#include <string>

#include "system/stop_request.h"
#include "ui/host_ui_context.h"
#include "ui/settings_driver.h"

namespace devhost {

namespace {

int FramesOf(SettingsAction::Kind kind) {
  switch (kind) {
    case SettingsAction::Kind::Click:
      return SettingsDriver::kClickFrames;
    case SettingsAction::Kind::Drag:
      return SettingsDriver::kDragToValueFrames;
    case SettingsAction::Kind::Type:
      return SettingsDriver::kTypeFrames;
  }
  return 0;
}

}  // namespace

void RunSettingsPage(const CommandLine& options, SettingsWindow& window) {
  std::int64_t needed = 0;
  if (!options.settingsActions.empty()) {
    needed = 1;
    for (const auto& action : options.settingsActions) needed += FramesOf(action.kind);
  }
  const std::int64_t frames = options.settingsFrames.value_or(needed);
  if (frames < needed)
    throw DriverError("--settings-frames " + std::to_string(frames) + ": the actions take " +
                      std::to_string(needed) + " UI frames (1 to show the page, then " +
                      std::to_string(SettingsDriver::kClickFrames) + " per click, " +
                      std::to_string(SettingsDriver::kDragToValueFrames) + " per drag, " +
                      std::to_string(SettingsDriver::kTypeFrames) + " per typing)");
  SettingsDriver driver(window);
  const std::int64_t first = window.NextFrame();
  if (frames > 0) driver.RunFrame();
  for (const auto& action : options.settingsActions) {
    switch (action.kind) {
      case SettingsAction::Kind::Click:
        driver.Click(action.label);
        break;
      case SettingsAction::Kind::Drag:
        driver.DragToValue(action.label, action.value);
        break;
      case SettingsAction::Kind::Type:
        driver.Type(action.label, action.text);
        break;
    }
  }
  while (window.NextFrame() - first < frames) {
    ThrowIfStopped();
    driver.RunFrame();
  }
}

LoadedPlugin& PluginWithSettingsPage(Host& host) {
  if (host.Plugins().empty())
    throw DriverError("the settings page: no plugin is loaded (an --exec line unloaded it)");
  return *host.Plugins().front();
}

void RunSettingsPageAlone(Host& host, const CommandLine& options) {
  HostUiContext ui(SettingsWindow::kDisplaySize);
  SettingsWindow window(ui, PluginWithSettingsPage(host));
  RunSettingsPage(options, window);
}

}  // namespace devhost
