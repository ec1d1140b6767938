// The host's plugin base class, compiled into every plugin module and exported from it. Every
// special member acts on cvarManager, then gameWrapper; the destructor releases them in reverse.
#include "host/plugin.h"

namespace Pryndal::Plugin {

PryndalPlugin::PryndalPlugin() = default;
PryndalPlugin::PryndalPlugin(const PryndalPlugin& other) = default;
PryndalPlugin::PryndalPlugin(PryndalPlugin&& other) noexcept = default;
PryndalPlugin& PryndalPlugin::operator=(const PryndalPlugin& other) = default;
PryndalPlugin& PryndalPlugin::operator=(PryndalPlugin&& other) noexcept = default;
PryndalPlugin::~PryndalPlugin() = default;

void PryndalPlugin::onLoad() {}
void PryndalPlugin::onUnload() {}

}  // namespace Pryndal::Plugin
