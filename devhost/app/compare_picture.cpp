#include "app/compare_picture.h"

#include <algorithm>
#include <vector>

#include "app/run_settings_page.h"
#include "app/run_start.h"
#include "core/host.h"
#include "output/png_file.h"
#include "render/headless_renderer.h"

namespace devhost {

namespace {

Image DrawFrame(const CommandLine& options, const Scene& scene, const std::string& plugin,
                std::int64_t frame) {
  Host host(options.canvasSize);
  // A build that faults was reported when it was compared; its frame is drawn without it.
  host.Door().KeepRunningAfterFaults(true);
  host.SetScene(scene);
  host.SetStartTime(options.time);
  StartPlugin(host, options, plugin, LoadFrom::PrivateCopy, false);
  if (options.settingsFrames || !options.settingsActions.empty())
    RunSettingsPageAlone(host, options);
  HeadlessRenderer renderer(host, options.canvasSize, {.backdrop = !options.transparent});
  for (std::int64_t k = 0; k <= frame; ++k) renderer.RenderNextFrame();
  return *renderer.ReadFrame();
}

}  // namespace

void WriteComparePicture(const std::string& path, const CommandLine& options, const Scene& scene,
                         const std::array<std::string, 2>& plugins, std::int64_t frame) {
  const Image a = DrawFrame(options, scene, plugins[0], frame);
  const Image b = DrawFrame(options, scene, plugins[1], frame);
  const int w = a.width, h = a.height;
  Image sideBySide{
      3 * w, h,
      std::vector<std::uint8_t>(static_cast<std::size_t>(3 * w) * 4 * static_cast<std::size_t>(h))};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint8_t *pa = a.Pixel(x, y), *pb = b.Pixel(x, y);
      const auto put = [&sideBySide, y](int column, const std::uint8_t* rgba) {
        const auto at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(sideBySide.width) +
                         static_cast<std::size_t>(column)) *
                        4;
        std::copy(rgba, rgba + 4, sideBySide.rgba.begin() + static_cast<std::ptrdiff_t>(at));
      };
      put(x, pa);
      put(w + x, pb);
      const bool differs = !std::equal(pa, pa + 4, pb);
      const std::uint8_t marked[4] = {static_cast<std::uint8_t>(differs ? 255 : pa[0] / 4),
                                      static_cast<std::uint8_t>(differs ? 0 : pa[1] / 4),
                                      static_cast<std::uint8_t>(differs ? 0 : pa[2] / 4), 255};
      put(2 * w + x, marked);
    }
  WritePng(path, sideBySide);
}

}  // namespace devhost
