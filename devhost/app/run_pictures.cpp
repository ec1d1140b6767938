#include "app/run_pictures.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>

#include "app/progress_line.h"
#include "app/run_settings_page.h"
#include "output/picture_writer.h"
#include "output/video_format.h"
#include "output/video_writer.h"
#include "render/headless_renderer.h"

namespace devhost {

void RunPictures(Host& host, const CommandLine& options, bool settingsPage) {
  HeadlessRenderer renderer(host, options.canvasSize, {.backdrop = !options.transparent});
  if (options.pngDir) std::filesystem::create_directories(*options.pngDir);
  std::optional<SettingsWindow> settings;
  if (options.settings) {
    settings.emplace(renderer.Composer().Ui(), PluginWithSettingsPage(host));
    if (settingsPage) RunSettingsPage(options, *settings);
  } else if (settingsPage) {
    RunSettingsPageAlone(host, options);
  }
  std::function<void()> drawHostUi;
  if (settings) drawHostUi = [&settings] { settings->Draw(); };
  PictureWriter writer;
  std::optional<VideoWriter> video;
  if (options.videoPath)
    video.emplace(*options.videoPath,
                  VideoFormatFor(*options.videoPath, options.transparent, options.canvasSize),
                  options.canvasSize, host.CurrentScene().fps);
  ProgressLine progress(options.frames);
  for (std::int64_t k = 0; k < options.frames; ++k) {
    renderer.RenderNextFrame(drawHostUi);
    const bool last = k + 1 == options.frames;
    // Only frames that are written are drawn and read back.
    if (options.pngDir || video || last) {
      const auto image = renderer.ReadFrame();
      if (options.pngPath && last) writer.Write(*options.pngPath, image);
      if (options.pngDir) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%05lld.png", static_cast<long long>(k));
        writer.Write((std::filesystem::path(*options.pngDir) / name).string(), image);
      }
      if (video) video->Write(image);
    }
    progress.FrameDone();
  }
  writer.Finish();
  if (video) video->Finish();
}

}  // namespace devhost
