#include "app/run_pictures.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>

#include "app/progress_line.h"
#include "app/run_settings_page.h"
#include "core/frame_calls.h"
#include "output/picture_writer.h"
#include "output/video_format.h"
#include "output/video_writer.h"
#include "render/headless_renderer.h"
#include "render/pixel_explanation.h"
#include "system/standard_output.h"

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
  std::optional<FrameCalls> calls;
  if (options.explainPixel) calls.emplace(host.Trace());
  ProgressLine progress(options.frames);
  std::string explanation;  // printed once the pictures are written
  for (std::int64_t k = 0; k < options.frames; ++k) {
    renderer.RenderNextFrame(drawHostUi);
    const bool last = k + 1 == options.frames;
    // Only frames that are written are drawn and read back.
    if (options.pngDir || video || last) {
      const auto image = renderer.ReadFrame();
      if (options.pngPath && last) writer.Write(*options.pngPath, image);
      if (calls && last) {
        const Vector2 pixel = *options.explainPixel;
        explanation = ExplainPixel(*calls, k, *image, pixel.X, pixel.Y,
                                   renderer.Composer().Canvas(), host.Door().Symbols())
                          .Text();
      }
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
  PrintOut(explanation);
}

}  // namespace devhost
