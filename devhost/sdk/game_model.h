// The game as the plugin sees it: replay state, the game state and its cars, the camera, and the
// drawables plugins registered. Plain data; the host's scene player fills it before each frame.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/game_wrapper.h"
#include "host/value_types.h"
#include "sdk/model_object.h"
#include "sdk/sdk_export.h"

namespace devhost {

// One car, at a fixed address for the whole run so a view target can name it.
struct CarState : ModelObject {
  std::string ownerName;
  ControllerInput input;
  bool onGround = true;
  RBState rb;
  Vector position;
};

// The car array: a slot per car, null where that car is absent (a null handle).
struct CarArray : ModelObject {
  std::vector<CarState*> slots;
};

struct GameState : ModelObject {
  CarArray* cars = nullptr;
};

struct Camera : ModelObject {
  std::uintptr_t viewTarget = 0;  // a car's address, 0, or another object's address
};

struct PluginTag;

// Shared for the same reason as a hook (cvar_store.h).
struct RegisteredDrawable {
  PluginTag* owner = nullptr;
  GameWrapper::Drawable fn;
};
using DrawableList = std::vector<std::shared_ptr<const RegisteredDrawable>>;

class DEVHOST_SDK_API GameModel : public ModelObject {
 public:
  GameModel();
  GameModel(const GameModel&) = delete;
  GameModel& operator=(const GameModel&) = delete;

  bool inReplay = true;
  bool gameStatePresent = true;
  bool cameraPresent = true;
  GameState gameState;
  CarArray carArray;
  Camera camera;
  // An object that is no car, for a camera viewing something else.
  ModelObject otherObject{"other"};

  // Grows the persistent car list to count cars (ids "car:0".. ) without moving existing ones.
  void EnsureCars(std::size_t count);
  CarState& Car(std::size_t index) { return *cars_[index]; }

  void AddDrawable(PluginTag* owner, GameWrapper::Drawable fn);
  DrawableList TakeDrawablesOwnedBy(const PluginTag* owner);
  const DrawableList& Drawables() const { return drawables_; }

 private:
  std::vector<std::unique_ptr<CarState>> cars_;
  DrawableList drawables_;
};

}  // namespace devhost
