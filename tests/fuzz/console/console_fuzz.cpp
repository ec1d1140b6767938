// Console lines into the store with the plugin loaded, then a frame and a settings-page UI frame:
// any text as a value must leave no undefined behaviour, crash or leak in the host or the plugin.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "../fuzz_host.h"
#include "ui/settings_window.h"

namespace {

// `plugin` and `exec` reach the file system and the loader, not the store.
bool ReachesOutsideTheStore(std::string_view line) {
  const std::size_t start = line.find_first_not_of(" \t\r");
  if (start == std::string_view::npos) return false;
  const std::string_view rest = line.substr(start);
  return rest.starts_with("plugin") || rest.starts_with("exec");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  devhost::Host& host = veyrant_fuzz::FuzzHost();
  veyrant_fuzz::ResetVariables(host);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (ReachesOutsideTheStore(line)) continue;
    try {
      host.Console(std::string(line));
    } catch (const devhost::ConsoleError&) {
      // A refused line is an expected outcome.
    }
  }
  host.RenderFrames(1);
  static devhost::ImGuiSession session(devhost::SettingsWindow::kDisplaySize);
  static devhost::SettingsWindow settingsPage(session, *host.Plugins().front());
  settingsPage.RunFrame();
  return 0;
}
