#include "app/run_pictures.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>

#include "app/run_settings_page.h"
#include "render/headless_renderer.h"
#include "render/picture_writer.h"

namespace devhost {

void RunPictures(Host& host, const CommandLine& options, bool settingsPage) {
  HeadlessRenderer renderer(host, options.canvasSize, {.backdrop = !options.transparent});
  if (options.pngDir) std::filesystem::create_directories(*options.pngDir);
  std::optional<SettingsWindow> settings;
  if (options.settings) {
    settings.emplace(renderer.Composer().Session(), *host.Plugins().front());
    if (settingsPage) RunSettingsPage(options, *settings);
  } else if (settingsPage) {
    RunSettingsPageAlone(host, options);
  }
  std::function<void()> hostWindows;
  if (settings) hostWindows = [&settings] { settings->Draw(); };
  PictureWriter writer;
  for (std::int64_t k = 0; k < options.frames; ++k) {
    Image image = renderer.RenderNextFrame(hostWindows);
    if (options.pngPath && k + 1 == options.frames) writer.Write(*options.pngPath, image);
    if (options.pngDir) {
      char name[32];
      std::snprintf(name, sizeof name, "frame-%05lld.png", static_cast<long long>(k));
      writer.Write((std::filesystem::path(*options.pngDir) / name).string(), std::move(image));
    }
  }
  writer.Finish();
}

}  // namespace devhost
