// The wrapper operations over the development host's model. Each one reports itself to the trace
// (only when someone listens) and then reads or changes the model object its handle names.
#include <string>
#include <utility>

#include "host/actor_wrappers.h"
#include "host/array_wrapper.h"
#include "host/camera_wrappers.h"
#include "host/canvas_wrapper.h"
#include "host/cvar_wrappers.h"
#include "host/game_event_wrappers.h"
#include "host/game_wrapper.h"
#include "sdk/caller.h"
#include "sdk/canvas.h"
#include "sdk/cvar_store.h"
#include "sdk/game_model.h"
#include "sdk/number_text.h"
#include "sdk/trace.h"

using devhost::ActiveTrace;
using devhost::ObjectAt;
using devhost::TraceValue;

namespace {

std::optional<std::string> SelfId(std::uintptr_t address) {
  if (address == 0) return std::nullopt;
  return ObjectAt<devhost::ModelObject>(address)->id;
}

TraceValue HandleValue(std::uintptr_t address) {
  if (address == 0) return devhost::NullHandle{};
  return devhost::ObjectId{ObjectAt<devhost::ModelObject>(address)->id};
}

void Trace(const char* op, std::uintptr_t self, std::vector<TraceValue> args,
           std::optional<TraceValue> result = std::nullopt) {
  ActiveTrace().Record(op, SelfId(self), std::move(args), std::move(result));
}

void TraceCanvas(const char* op, std::vector<TraceValue> args,
                 std::optional<TraceValue> result = std::nullopt) {
  ActiveTrace().Record(op, "canvas", std::move(args), std::move(result));
}

devhost::Cvar* CvarAt(std::uintptr_t address) { return ObjectAt<devhost::Cvar>(address); }

devhost::CvarStore* StoreAt(std::uintptr_t address) {
  return ObjectAt<devhost::CvarStore>(address);
}

devhost::GameModel* GameAt(std::uintptr_t address) { return ObjectAt<devhost::GameModel>(address); }

devhost::CarState* CarAt(std::uintptr_t address) { return ObjectAt<devhost::CarState>(address); }

devhost::Canvas* CanvasAt(std::uintptr_t address) {
  return reinterpret_cast<devhost::Canvas*>(address);
}

}  // namespace

// ---- Console variables ----

void CVarWrapper::addOnValueChanged(ValueChanged fn) {
  if (ActiveTrace().Active())
    Trace("CVarWrapper::addOnValueChanged", memory_address, {devhost::Callback{}});
  if (memory_address == 0) return;
  CvarAt(memory_address)->store->AddHook(*CvarAt(memory_address), std::move(fn));
}

bool CVarWrapper::getBoolValue() {
  const bool value = memory_address != 0 && devhost::TextToBool(CvarAt(memory_address)->value);
  if (ActiveTrace().Active()) Trace("CVarWrapper::getBoolValue", memory_address, {}, value);
  return value;
}

float CVarWrapper::getFloatValue() {
  const float value =
      memory_address == 0 ? 0.0f : devhost::TextToFloat(CvarAt(memory_address)->value);
  if (ActiveTrace().Active()) Trace("CVarWrapper::getFloatValue", memory_address, {}, value);
  return value;
}

std::string CVarWrapper::getStringValue() {
  std::string value = memory_address == 0 ? std::string() : CvarAt(memory_address)->value;
  if (ActiveTrace().Active()) Trace("CVarWrapper::getStringValue", memory_address, {}, value);
  return value;
}

void CVarWrapper::setValue(int value) {
  if (ActiveTrace().Active())
    Trace("CVarWrapper::setValue", memory_address, {static_cast<std::int64_t>(value)});
  if (memory_address == 0) return;
  CvarAt(memory_address)->store->Set(*CvarAt(memory_address), value);
}

void CVarWrapper::setValue(float value) {
  if (ActiveTrace().Active()) Trace("CVarWrapper::setValue", memory_address, {value});
  if (memory_address == 0) return;
  CvarAt(memory_address)->store->Set(*CvarAt(memory_address), value);
}

bool CVarWrapper::IsNull() const {
  const bool value = memory_address == 0;
  if (ActiveTrace().Active()) Trace("CVarWrapper::IsNull", memory_address, {}, value);
  return value;
}

CVarWrapper CVarManagerWrapper::registerCvar(std::string name, std::string defaultValue,
                                             std::string description, bool searchable, bool hasMin,
                                             float min, bool hasMax, float max, bool saveToCfg) {
  std::uintptr_t result = 0;
  if (memory_address != 0) {
    devhost::CvarStore* store = StoreAt(memory_address);
    devhost::Cvar definition;
    definition.name = name;
    definition.defaultValue = defaultValue;
    definition.description = description;
    definition.searchable = searchable;
    definition.hasMin = hasMin;
    definition.min = min;
    definition.hasMax = hasMax;
    definition.max = max;
    definition.saved = saveToCfg;
    result = devhost::AddressOf(store->Register(std::move(definition)));
  }
  if (ActiveTrace().Active())
    Trace("CVarManagerWrapper::registerCvar", memory_address,
          {std::move(name), std::move(defaultValue), std::move(description), searchable, hasMin,
           min, hasMax, max, saveToCfg},
          HandleValue(result));
  return CVarWrapper(result);
}

CVarWrapper CVarManagerWrapper::getCvar(std::string name) {
  std::uintptr_t result = 0;
  if (memory_address != 0) {
    if (devhost::Cvar* cvar = StoreAt(memory_address)->Find(name))
      result = devhost::AddressOf(*cvar);
  }
  if (ActiveTrace().Active())
    Trace("CVarManagerWrapper::getCvar", memory_address, {std::move(name)}, HandleValue(result));
  return CVarWrapper(result);
}

void CVarManagerWrapper::log(std::string text) {
  if (ActiveTrace().Active()) Trace("CVarManagerWrapper::log", memory_address, {text});
  if (memory_address != 0) StoreAt(memory_address)->Log(text);
}

// ---- Game ----

void GameWrapper::RegisterDrawable(Drawable callback) {
  if (ActiveTrace().Active())
    Trace("GameWrapper::RegisterDrawable", memory_address, {devhost::Callback{}});
  if (memory_address != 0)
    GameAt(memory_address)->AddDrawable(devhost::CurrentCaller(), std::move(callback));
}

bool GameWrapper::IsInReplay() {
  const bool value = memory_address != 0 && GameAt(memory_address)->inReplay;
  if (ActiveTrace().Active()) Trace("GameWrapper::IsInReplay", memory_address, {}, value);
  return value;
}

ServerWrapper GameWrapper::GetCurrentGameState() {
  std::uintptr_t result = 0;
  if (memory_address != 0 && GameAt(memory_address)->gameStatePresent)
    result = devhost::AddressOf(GameAt(memory_address)->gameState);
  if (ActiveTrace().Active())
    Trace("GameWrapper::GetCurrentGameState", memory_address, {}, HandleValue(result));
  return ServerWrapper(result);
}

CameraWrapper GameWrapper::GetCamera() {
  std::uintptr_t result = 0;
  if (memory_address != 0 && GameAt(memory_address)->cameraPresent)
    result = devhost::AddressOf(GameAt(memory_address)->camera);
  if (ActiveTrace().Active())
    Trace("GameWrapper::GetCamera", memory_address, {}, HandleValue(result));
  return CameraWrapper(result);
}

ViewTarget BaseCameraWrapper::GetViewTarget() {
  ViewTarget target;
  if (memory_address != 0) target.Target = ObjectAt<devhost::Camera>(memory_address)->viewTarget;
  if (ActiveTrace().Active())
    Trace("BaseCameraWrapper::GetViewTarget", memory_address, {}, HandleValue(target.Target));
  return target;
}

ArrayWrapper<CarWrapper> GameEventWrapper::GetCars() {
  std::uintptr_t result = 0;
  if (memory_address != 0) {
    devhost::CarArray* cars = ObjectAt<devhost::GameState>(memory_address)->cars;
    if (cars != nullptr) result = devhost::AddressOf(*cars);
  }
  if (ActiveTrace().Active())
    Trace("GameEventWrapper::GetCars", memory_address, {}, HandleValue(result));
  return ArrayWrapper<CarWrapper>(result);
}

template <typename T>
int ArrayWrapper<T>::Count() {
  const int value =
      memory_address == 0
          ? 0
          : static_cast<int>(ObjectAt<devhost::CarArray>(memory_address)->slots.size());
  if (ActiveTrace().Active())
    Trace("ArrayWrapper<CarWrapper>::Count", memory_address, {}, static_cast<std::int64_t>(value));
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
    Trace("ArrayWrapper<CarWrapper>::Get", memory_address, {static_cast<std::int64_t>(index)},
          HandleValue(result));
  return T(result);
}

// Exported through the extern declaration's markup in the header.
template class ArrayWrapper<CarWrapper>;

// ---- Actors ----

bool ActorWrapper::IsNull() const {
  const bool value = memory_address == 0;
  if (ActiveTrace().Active()) Trace("ActorWrapper::IsNull", memory_address, {}, value);
  return value;
}

RBState RBActorWrapper::GetRBState() {
  const RBState value = memory_address == 0 ? RBState{} : CarAt(memory_address)->rb;
  if (ActiveTrace().Active()) Trace("RBActorWrapper::GetRBState", memory_address, {}, value);
  return value;
}

bool VehicleWrapper::IsOnGround() {
  const bool value = memory_address != 0 && CarAt(memory_address)->onGround;
  if (ActiveTrace().Active()) Trace("VehicleWrapper::IsOnGround", memory_address, {}, value);
  return value;
}

ControllerInput CarWrapper::GetInput() {
  const ControllerInput value =
      memory_address == 0 ? ControllerInput{} : CarAt(memory_address)->input;
  if (ActiveTrace().Active()) Trace("CarWrapper::GetInput", memory_address, {}, value);
  return value;
}

std::string CarWrapper::GetOwnerName() {
  std::string value = memory_address == 0 ? std::string() : CarAt(memory_address)->ownerName;
  if (ActiveTrace().Active()) Trace("CarWrapper::GetOwnerName", memory_address, {}, value);
  return value;
}

// ---- Canvas ----

Vector2 CanvasWrapper::GetSize() {
  const Vector2 value = memory_address == 0 ? Vector2{} : CanvasAt(memory_address)->GetSize();
  if (ActiveTrace().Active()) TraceCanvas("CanvasWrapper::GetSize", {}, value);
  return value;
}

void CanvasWrapper::SetPosition(Vector2 position) {
  if (ActiveTrace().Active()) TraceCanvas("CanvasWrapper::SetPosition", {position});
  if (memory_address != 0) CanvasAt(memory_address)->SetPosition(position);
}

void CanvasWrapper::SetColor(LinearColor colour) {
  if (ActiveTrace().Active()) TraceCanvas("CanvasWrapper::SetColor", {colour});
  if (memory_address != 0) CanvasAt(memory_address)->SetColor(colour);
}

void CanvasWrapper::DrawBox(Vector2 size) {
  if (ActiveTrace().Active()) TraceCanvas("CanvasWrapper::DrawBox", {size});
  if (memory_address != 0) CanvasAt(memory_address)->DrawBox(size);
}

void CanvasWrapper::FillBox(Vector2 size) {
  if (ActiveTrace().Active()) TraceCanvas("CanvasWrapper::FillBox", {size});
  if (memory_address != 0) CanvasAt(memory_address)->FillBox(size);
}

void CanvasWrapper::DrawString(std::string text, float xScale, float yScale) {
  if (ActiveTrace().Active()) TraceCanvas("CanvasWrapper::DrawString", {text, xScale, yScale});
  if (memory_address != 0) CanvasAt(memory_address)->DrawString(text, xScale, yScale);
}

Vector2F CanvasWrapper::GetStringSize(std::string text, float xScale, float yScale) {
  const Vector2F value = memory_address == 0
                             ? Vector2F{}
                             : CanvasAt(memory_address)->GetStringSize(text, xScale, yScale);
  if (ActiveTrace().Active())
    TraceCanvas("CanvasWrapper::GetStringSize", {std::move(text), xScale, yScale}, value);
  return value;
}
