// The cars' wrappers over the host's model.
#include "host/actor_wrappers.h"

#include <string>

#include "sdk/wrapper_access.h"

using namespace devhost::wrapper;

bool ActorWrapper::IsNull() const {
  const bool value = memory_address == 0;
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "ActorWrapper::IsNull", memory_address, {}, value);
  return value;
}

RBState RBActorWrapper::GetRBState() {
  const RBState value = memory_address == 0 ? RBState{} : CarAt(memory_address)->rb;
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "RBActorWrapper::GetRBState", memory_address, {}, value);
  return value;
}

bool VehicleWrapper::IsOnGround() {
  const bool value = memory_address != 0 && CarAt(memory_address)->onGround;
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "VehicleWrapper::IsOnGround", memory_address, {}, value);
  return value;
}

ControllerInput CarWrapper::GetInput() {
  const ControllerInput value =
      memory_address == 0 ? ControllerInput{} : CarAt(memory_address)->input;
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "CarWrapper::GetInput", memory_address, {}, value);
  return value;
}

std::string CarWrapper::GetOwnerName() {
  std::string value = memory_address == 0 ? std::string() : CarAt(memory_address)->ownerName;
  if (ActiveTrace().Active())
    Trace(DEVHOST_CALLED_FROM, "CarWrapper::GetOwnerName", memory_address, {}, value);
  return value;
}
