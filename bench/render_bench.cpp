// Headless frames at 1920x1080 with the backdrop and the plugin's panels, as pryndal-devhost makes
// them for pictures: a frame that is not written (played and composed; its pixels are never
// drawn), a frame that is written (also drawn by Mesa's software rasteriser and read back), and a
// written frame's PNG encoding, which the picture writer does on a thread of its own. Wall time:
// the rasteriser works on threads of its own.
#include <benchmark/benchmark.h>

#include "bench_scene.h"
#include "core/host.h"
#include "core/scene.h"
#include "output/png_file.h"
#include "render/headless_renderer.h"

namespace {

// The host with the plugin loaded, playing the benchmark scene: with one car the camera follows
// it and there is one panel, with more there is a panel per car.
struct PlayingHost {
  explicit PlayingHost(int cars) {
    host.LoadPlugin(VEYRANT_MODULE_PATH);
    host.SetScene(devhost::ParseScene(bench::SceneJson(cars, cars == 1), "benchmark scene"));
  }
  devhost::Host host;
};

struct Stage : PlayingHost {
  explicit Stage(int cars) : PlayingHost(cars), renderer(host, {1920, 1080}, {}) {
    renderer.RenderNextFrame();  // shaders compiled, buffers grown
    renderer.ReadFrame();
  }
  devhost::HeadlessRenderer renderer;
};

void FrameRenderedNotReadBack(benchmark::State& state) {
  Stage stage(static_cast<int>(state.range(0)));
  for (auto _ : state) stage.renderer.RenderNextFrame();
}

void FrameRenderedAndReadBack(benchmark::State& state) {
  Stage stage(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    stage.renderer.RenderNextFrame();
    benchmark::DoNotOptimize(stage.renderer.ReadFrame());
  }
}

void FrameEncodedAsPng(benchmark::State& state) {
  Stage stage(static_cast<int>(state.range(0)));
  stage.renderer.RenderNextFrame();
  const auto picture = stage.renderer.ReadFrame();
  devhost::PngEncoder encoder;
  std::size_t bytes = 0;
  for (auto _ : state) bytes = encoder.Encode(*picture).size();
  state.counters["KiB"] = static_cast<double>(bytes) / 1024;
}

}  // namespace

BENCHMARK(FrameRenderedNotReadBack)
    ->ArgName("cars")
    ->Arg(1)
    ->Arg(8)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FrameRenderedAndReadBack)
    ->ArgName("cars")
    ->Arg(1)
    ->Arg(8)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FrameEncodedAsPng)->ArgName("cars")->Arg(1)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
