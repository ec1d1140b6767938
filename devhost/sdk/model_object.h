// Every host object a handle can name starts with its object id, so a wrapper holding only the
// address can still name the object in the trace.
#pragma once

#include <cstdint>
#include <string>

namespace devhost {

struct ModelObject {
  std::string id;  // "car:2", "gameState", "cvar:veyrant_x", ...
};

template <typename T>
std::uintptr_t AddressOf(const T& object) {
  return reinterpret_cast<std::uintptr_t>(static_cast<const ModelObject*>(&object));
}

template <typename T>
T* ObjectAt(std::uintptr_t address) {
  return static_cast<T*>(reinterpret_cast<ModelObject*>(address));
}

}  // namespace devhost
