// Frames of the overlay through the loaded module: one followed car, or eight panels when the
// camera follows none, with the value texts off and on. Canvas calls and the trace are not kept,
// so the figures are the plugin's work plus the host's wrapper calls.
#include <benchmark/benchmark.h>

#include <string>

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
  for (auto _ : state) host.RenderFrames(1);
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(std::to_string(cars) + (cars == 1 ? " panel" : " panels") +
                 (values ? ", values on" : ", values off"));
}
BENCHMARK(Frames)->ArgsProduct({{1, 8}, {0, 1}})->ArgNames({"cars", "values"});

}  // namespace

BENCHMARK_MAIN();
