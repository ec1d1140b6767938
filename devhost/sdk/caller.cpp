#include "sdk/caller.h"

namespace devhost {

const PluginTag*& CurrentCaller() {
  static const PluginTag* caller = nullptr;
  return caller;
}

}  // namespace devhost
