// The console-variable wrappers over the host's store.
#include "host/cvar_wrappers.h"

#include <string>
#include <utility>

#include "sdk/caller.h"
#include "sdk/number_text.h"
#include "sdk/wrapper_access.h"

using namespace devhost::wrapper;

void CVarWrapper::addOnValueChanged(ValueChanged fn) {
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "CVarWrapper::addOnValueChanged", memory_address,
          {devhost::Callback{}});
  if (memory_address == 0) return;
  CvarAt(memory_address)->store->AddHook(*CvarAt(memory_address), std::move(fn));
}

bool CVarWrapper::getBoolValue() {
  const bool value = memory_address != 0 && devhost::TextToBool(CvarAt(memory_address)->value);
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "CVarWrapper::getBoolValue", memory_address, {}, value);
  return value;
}

float CVarWrapper::getFloatValue() {
  const float value =
      memory_address == 0 ? 0.0f : devhost::TextToFloat(CvarAt(memory_address)->value);
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "CVarWrapper::getFloatValue", memory_address, {}, value);
  return value;
}

void CVarWrapper::setValue(int value) {
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "CVarWrapper::setValue", memory_address,
          {static_cast<std::int64_t>(value)});
  if (memory_address == 0) return;
  CvarAt(memory_address)->store->Set(*CvarAt(memory_address), value);
}

void CVarWrapper::setValue(float value) {
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "CVarWrapper::setValue", memory_address, {value});
  if (memory_address == 0) return;
  CvarAt(memory_address)->store->Set(*CvarAt(memory_address), value);
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
    definition.saved = saveToCfg;
    result = devhost::AddressOf(store->Register(std::move(definition)));
  }
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "CVarManagerWrapper::registerCvar", memory_address,
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
    Trace(DEVHOST_CALLED_FROM, "CVarManagerWrapper::getCvar", memory_address, {std::move(name)},
          HandleValue(result));
  return CVarWrapper(result);
}

void CVarManagerWrapper::log(std::string text) {
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "CVarManagerWrapper::log", memory_address, {text});
  if (memory_address != 0) StoreAt(memory_address)->Log(text);
}
