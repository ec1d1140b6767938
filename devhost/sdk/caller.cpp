#include "sdk/caller.h"

namespace devhost {

PluginTag*& CurrentCaller() {
  static PluginTag* caller = nullptr;
  return caller;
}

}  // namespace devhost
