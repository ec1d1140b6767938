// A handle on a host-owned array of handles, read by count and index.
#pragma once

#include "host/actor_wrappers.h"
#include "host/object_wrapper.h"

template <typename T>
class ArrayWrapper : public ObjectWrapper {
 public:
  using ObjectWrapper::ObjectWrapper;
  int Count();
  // The entry at index (from 0); a null handle where the slot holds no object.
  T Get(int index);
};

extern template class PRYNDAL_SDK_API ArrayWrapper<CarWrapper>;
