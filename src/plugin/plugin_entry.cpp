// The module's face to the host: the export record and the two entry functions that hand out and
// release the one plugin object.
#include <memory>

#include "host/plugin.h"
#include "host/sdk_api.h"
#include "plugin/veyrant.h"

using Pryndal::Plugin::PluginHandle;

namespace {
// The only owner the library itself holds.
PluginHandle pluginInstance;
}  // namespace

extern "C" {

PRYNDAL_EXPORT_ATTR PluginHandle* getPlugin() {
  if (pluginInstance.get() != nullptr) return &pluginInstance;
  // A separate ownership record that deletes the object as a Veyrant; if allocating the record
  // fails, the shared_ptr constructor destroys the object before the failure propagates.
  std::shared_ptr<Veyrant> created(new Veyrant());
  pluginInstance = std::move(created);
  return &pluginInstance;
}

PRYNDAL_EXPORT_ATTR void deleteMe() {
  if (pluginInstance.get() == nullptr) return;
  // Empty the library's pointer before the object is destroyed, as released goes out of scope.
  const PluginHandle released = std::move(pluginInstance);
}

PRYNDAL_EXPORT_ATTR extern const PluginExportRecord exports;
const PluginExportRecord exports = {
    kPluginApiVersion, 0, __FILE__, "Veyrant", "Veyrant", "1.0", 16, 0, &getPlugin, &deleteMe,
};

}  // extern "C"
