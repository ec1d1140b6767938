// Which plugin the host is calling into right now. Hooks and drawables registered during the call
// are tagged with it, so the host can remove them all when that plugin unloads.
#pragma once

#include "sdk/sdk_export.h"

namespace devhost {

DEVHOST_SDK_API const void*& CurrentCaller();

class CallerScope {
 public:
  explicit CallerScope(const void* owner) : previous_(CurrentCaller()) { CurrentCaller() = owner; }
  ~CallerScope() { CurrentCaller() = previous_; }
  CallerScope(const CallerScope&) = delete;
  CallerScope& operator=(const CallerScope&) = delete;

 private:
  const void* previous_;
};

}  // namespace devhost
