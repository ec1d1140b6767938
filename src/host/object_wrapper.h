// The root of every host handle: a copyable value naming one host object by its address.
#pragma once

#include <cstdint>

#include "host/sdk_api.h"

class PRYNDAL_SDK_API ObjectWrapper {
 public:
  explicit ObjectWrapper(std::uintptr_t address = 0) : memory_address(address) {}

  // The wrapped object's address; 0 names no object. It is the handle's first field.
  std::uintptr_t memory_address;
};

static_assert(sizeof(ObjectWrapper) == sizeof(void*));
