// The game's wrappers over the host's model: the game, its state and cars, the camera.
#include <utility>

#include "host/array_wrapper.h"
#include "host/camera_wrappers.h"
#include "host/game_event_wrappers.h"
#include "host/game_wrapper.h"
#include "sdk/caller.h"
#include "sdk/wrapper_access.h"

using namespace devhost::wrapper;

void GameWrapper::RegisterDrawable(Drawable callback) {
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "GameWrapper::RegisterDrawable", memory_address,
          {devhost::Callback{}});
  if (memory_address != 0)
    GameAt(memory_address)->AddDrawable(devhost::CurrentCaller(), std::move(callback));
}

bool GameWrapper::IsInReplay() {
  const bool value = memory_address != 0 && GameAt(memory_address)->inReplay;
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "GameWrapper::IsInReplay", memory_address, {}, value);
  return value;
}

ServerWrapper GameWrapper::GetCurrentGameState() {
  std::uintptr_t result = 0;
  if (memory_address != 0 && GameAt(memory_address)->gameStatePresent)
    result = devhost::AddressOf(GameAt(memory_address)->gameState);
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "GameWrapper::GetCurrentGameState", memory_address, {},
          HandleValue(result));
  return ServerWrapper(result);
}

CameraWrapper GameWrapper::GetCamera() {
  std::uintptr_t result = 0;
  if (memory_address != 0 && GameAt(memory_address)->cameraPresent)
    result = devhost::AddressOf(GameAt(memory_address)->camera);
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "GameWrapper::GetCamera", memory_address, {}, HandleValue(result));
  return CameraWrapper(result);
}

ViewTarget BaseCameraWrapper::GetViewTarget() {
  ViewTarget target;
  if (memory_address != 0) target.Target = ObjectAt<devhost::Camera>(memory_address)->viewTarget;
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "BaseCameraWrapper::GetViewTarget", memory_address, {},
          HandleValue(target.Target));
  return target;
}

ArrayWrapper<CarWrapper> GameEventWrapper::GetCars() {
  std::uintptr_t result = 0;
  if (memory_address != 0) {
    devhost::CarArray* cars = ObjectAt<devhost::GameState>(memory_address)->cars;
    if (cars != nullptr) result = devhost::AddressOf(*cars);
  }
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "GameEventWrapper::GetCars", memory_address, {},
          HandleValue(result));
  return ArrayWrapper<CarWrapper>(result);
}

template <typename T>
int ArrayWrapper<T>::Count() {
  const int value =
      memory_address == 0
          ? 0
          : static_cast<int>(ObjectAt<devhost::CarArray>(memory_address)->slots.size());
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "ArrayWrapper<CarWrapper>::Count", memory_address, {},
          static_cast<std::int64_t>(value));
  return value;
}

template <typename T>
T ArrayWrapper<T>::Get(int index) {
  std::uintptr_t result = 0;
  if (memory_address != 0 && index >= 0) {
    const auto& slots = ObjectAt<devhost::CarArray>(memory_address)->slots;
    if (static_cast<std::size_t>(index) < slots.size() && slots[static_cast<std::size_t>(index)])
      result = devhost::AddressOf(*slots[static_cast<std::size_t>(index)]);
  }
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "ArrayWrapper<CarWrapper>::Get", memory_address,
          {static_cast<std::int64_t>(index)}, HandleValue(result));
  return T(result);
}

// Exported through the extern declaration's markup in the header.
template class ArrayWrapper<CarWrapper>;
