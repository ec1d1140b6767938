// Scenes: the game over time, read from JSON, and played into the game model frame by frame.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/value_types.h"
#include "sdk/game_model.h"
#include "system/host_errors.h"

namespace devhost {

template <typename T>
struct Key {
  double t = 0;
  T value{};
};

// A value over time, in keys: each holds from its time to the next key's; before the first key,
// the first key's.
template <typename T>
using Timeline = std::vector<Key<T>>;

struct CameraState {
  enum class Target { None, Car, Other };
  bool present = true;
  Target target = Target::None;
  int car = 0;
};

// One car key with every field filled (left-out fields carry the earlier key's values).
struct CarKey {
  double t = 0;
  float throttle = 0, steer = 0;
  bool boost = false, jump = false, handbrake = false, onGround = true;
  Quat rotation;
  Vector angularVelocity;
  Vector position;
};

struct SceneCar {
  std::string name;
  Timeline<bool> present;  // empty: always present
  std::vector<CarKey> keys;
};

struct Scene {
  double fps = 60;
  double duration = 10;
  Timeline<bool> replay;     // empty: always a replay
  Timeline<bool> gameState;  // empty: always present
  Timeline<CameraState> camera;
  std::vector<SceneCar> cars;
};

Scene ParseScene(const std::string& json, const std::string& source);
// Refuses a file above kSceneLimit bytes, naming it and the limit, and a folder.
Scene LoadSceneFile(const std::string& path);
constexpr std::uintmax_t kSceneLimit = 64ull * 1024 * 1024;
// Built into the program: used when no scene is given.
const std::string& DemoSceneJson();

// The scene's state at time t, written into the model.
void ApplyScene(const Scene& scene, double t, GameModel& model);
// The car's key at time t: floats interpolated, booleans held from the earlier key.
CarKey CarKeyAt(const SceneCar& car, double t);

}  // namespace devhost
