// Scene files: any bytes give a SceneError or a scene that plays at any time; any other exception,
// a crash or a hang is a fault.
#include "../fuzz_host.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  devhost::Scene scene;
  try {
    scene = devhost::ParseScene(std::string(reinterpret_cast<const char*>(data), size), "fuzz");
  } catch (const devhost::SceneError&) {
    return 0;
  }
  devhost::GameModel model;
  for (double t : {-1.0, 0.0, 0.5, 4.99, 5.0, 1e9}) devhost::ApplyScene(scene, t, model);
  return 0;
}
