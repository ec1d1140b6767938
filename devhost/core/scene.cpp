// Scenes played into the game model: each timeline's value at a time, cars' keys interpolated.
#include "core/scene.h"

namespace devhost {

namespace {

template <typename T>
const T* ValueAt(const Timeline<T>& steps, double t) {
  if (steps.empty()) return nullptr;
  const Key<T>* found = &steps.front();
  for (const auto& key : steps)
    if (key.t <= t) found = &key;
  return &found->value;
}

float Lerp(float a, float b, float f) { return a + (b - a) * f; }

}  // namespace

CarKey CarKeyAt(const SceneCar& car, double t) {
  if (car.keys.empty()) return CarKey{};
  if (t <= car.keys.front().t) return car.keys.front();
  std::size_t next = 1;
  while (next < car.keys.size() && car.keys[next].t <= t) ++next;
  if (next == car.keys.size()) return car.keys.back();
  const CarKey& a = car.keys[next - 1];
  const CarKey& b = car.keys[next];
  const float f = static_cast<float>((t - a.t) / (b.t - a.t));
  CarKey out = a;  // booleans hold the earlier key
  out.t = t;
  out.throttle = Lerp(a.throttle, b.throttle, f);
  out.steer = Lerp(a.steer, b.steer, f);
  out.rotation = {Lerp(a.rotation.X, b.rotation.X, f), Lerp(a.rotation.Y, b.rotation.Y, f),
                  Lerp(a.rotation.Z, b.rotation.Z, f), Lerp(a.rotation.W, b.rotation.W, f)};
  out.angularVelocity = {Lerp(a.angularVelocity.X, b.angularVelocity.X, f),
                         Lerp(a.angularVelocity.Y, b.angularVelocity.Y, f),
                         Lerp(a.angularVelocity.Z, b.angularVelocity.Z, f)};
  out.position = {Lerp(a.position.X, b.position.X, f), Lerp(a.position.Y, b.position.Y, f),
                  Lerp(a.position.Z, b.position.Z, f)};
  return out;
}

void ApplyScene(const Scene& scene, double t, GameModel& model) {
  const bool* replay = ValueAt(scene.replay, t);
  model.inReplay = replay ? *replay : true;
  const bool* gameState = ValueAt(scene.gameState, t);
  model.gameStatePresent = gameState ? *gameState : true;

  model.EnsureCars(scene.cars.size());
  model.carArray.slots.assign(scene.cars.size(), nullptr);
  for (std::size_t i = 0; i < scene.cars.size(); ++i) {
    const SceneCar& sceneCar = scene.cars[i];
    const CarKey key = CarKeyAt(sceneCar, t);
    CarState& car = model.Car(i);
    car.ownerName = sceneCar.name;
    car.input = ControllerInput{};
    car.input.Throttle = key.throttle;
    car.input.Steer = key.steer;
    car.input.Flags = (key.handbrake ? ControllerInput::kHandbrake : 0u) |
                      (key.jump ? ControllerInput::kJump : 0u) |
                      (key.boost ? ControllerInput::kBoost : 0u);
    car.onGround = key.onGround;
    car.rb = RBState{};
    car.rb.Quaternion = key.rotation;
    car.rb.AngularVelocity = key.angularVelocity;
    car.rb.Location = key.position;
    car.position = key.position;
    const bool* present = ValueAt(sceneCar.present, t);
    if (!present || *present) model.carArray.slots[i] = &car;
  }

  const CameraState* camera = ValueAt(scene.camera, t);
  const CameraState state = camera ? *camera : CameraState{};
  model.cameraPresent = state.present;
  switch (state.target) {
    case CameraState::Target::None:
      model.camera.viewTarget = 0;
      break;
    case CameraState::Target::Other:
      model.camera.viewTarget = AddressOf(model.otherObject);
      break;
    case CameraState::Target::Car:
      model.camera.viewTarget = AddressOf(model.Car(static_cast<std::size_t>(state.car)));
      break;
  }
}

}  // namespace devhost
