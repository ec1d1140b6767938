#include "app/run_trace_frames.h"

#include "app/run_settings_page.h"

namespace devhost {

void RunTraceFrames(Host& host, const CommandLine& options, bool settingsPage) {
  if (settingsPage) RunSettingsPageAlone(host, options);
  host.RenderFrames(options.frames);
}

}  // namespace devhost
