// Headless frames per second at 1920x1080: the plugin's frame painted over the backdrop, drawn by
// Mesa's software rasteriser and read back, with and without encoding and writing each picture as
// a PNG. Wall time: the rasteriser works on threads of its own.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench_scene.h"
#include "core/host.h"
#include "core/scene.h"
#include "render/headless_renderer.h"
#include "render/png_file.h"

namespace {

void RenderedFrames(benchmark::State& state) {
  const int cars = static_cast<int>(state.range(0));
  const bool png = state.range(1) != 0;
  devhost::Host host;
  host.LoadPlugin(VEYRANT_MODULE_PATH);
  host.SetScene(devhost::ParseScene(bench::SceneJson(cars, cars == 1), "benchmark scene"));
  devhost::HeadlessRenderer renderer(host, {1920, 1080}, {});
  renderer.RenderNextFrame();  // shaders compiled, buffers grown
  const std::string path =
      (std::filesystem::temp_directory_path() / "veyrant-render-bench.png").string();
  for (auto _ : state) {
    const devhost::Image image = renderer.RenderNextFrame();
    if (png) devhost::WritePng(path, image);
  }
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  std::filesystem::remove(path);
}
BENCHMARK(RenderedFrames)
    ->ArgsProduct({{1, 8}, {0, 1}})
    ->ArgNames({"cars", "png"})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
