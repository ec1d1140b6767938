// Console lines into the store with the plugin loaded, then a frame and a settings-page UI frame:
// any text as a value must leave no undefined behaviour, crash or leak in the host or the plugin.
#include <algorithm>
#include <sstream>

#include "../fuzz_host.h"
#include "ui/settings_window.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  devhost::Host& host = veyrant_fuzz::FuzzHost();
  std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
  for (std::string line; std::getline(lines, line);) {
    // `plugin` and `exec` reach the file system and the loader, not the store.
    const std::string rest = line.substr(std::min(line.size(), line.find_first_not_of(" \t\r")));
    if (rest.starts_with("plugin") || rest.starts_with("exec")) continue;
    try {
      host.Console(line);
    } catch (const devhost::ConsoleError&) {
      // A refused line is an expected outcome.
    }
  }
  host.RenderFrames(1);
  static devhost::HostUiContext ui(devhost::SettingsWindow::kDisplaySize);
  static devhost::SettingsWindow settingsPage(ui, *host.Plugins().front());
  settingsPage.RunFrame();
  return 0;
}
