// The drawable's cost per frame through the loaded module: one followed car, or 8 and 64 panels
// when the camera follows none, every element on, the value texts off and on. The canvas only
// counts calls and the trace is off, so the time is the plugin's work plus the host's wrappers
// and its scene playback. Heap allocations are counted per frame, process-wide.
#include <benchmark/benchmark.h>

#include <string>

#include "allocation_counter.h"
#include "core/host.h"
#include "core/scene.h"

namespace {

std::string SceneJson(int cars, bool followFirst) {
  std::string json = R"({"fps": 60, "duration": 10, "camera": [{"t": 0, "target": )";
  json += followFirst ? "0" : "null";
  json += R"(}], "cars": [)";
  for (int i = 0; i < cars; ++i) {
    if (i > 0) json += ",";
    json += R"({"name": "Driver )" + std::to_string(i) +
            R"(", "keys": [{"t": 0, "throttle": -0.5, "steer": 0.25, "boost": true},
                            {"t": 10, "throttle": 1, "steer": -1, "onGround": false,
                             "angularVelocity": [4, 0, 0]}]})";
  }
  return json + "]}";
}

void Frames(benchmark::State& state) {
  const int cars = static_cast<int>(state.range(0));
  const bool values = state.range(1) != 0;
  devhost::Host host;
  host.LoadPlugin(VEYRANT_MODULE_PATH);
  host.SetScene(devhost::ParseScene(SceneJson(cars, cars == 1), "benchmark scene"));
  host.SetVariable("veyrant_values", values ? "1" : "0");
  host.RenderFrames(1);  // warm: the host's model reaches its size

  const std::int64_t allocationsBefore = bench::AllocationCount();
  const std::int64_t callsBefore = host.Canvas().CallCount();
  for (auto _ : state) host.RenderFrames(1);
  const double frames = static_cast<double>(state.iterations());
  const int panels = cars == 1 ? 1 : cars;
  state.counters["allocs/frame"] =
      static_cast<double>(bench::AllocationCount() - allocationsBefore) / frames;
  state.counters["calls/frame"] =
      static_cast<double>(host.Canvas().CallCount() - callsBefore) / frames;
  // Seconds per panel: the inverse of panels drawn per second.
  state.counters["time/panel"] = benchmark::Counter(
      panels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(Frames)->ArgsProduct({{1, 8, 64}, {0, 1}})->ArgNames({"cars", "values"});

}  // namespace

BENCHMARK_MAIN();
