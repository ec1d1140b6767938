// A development host with one plugin module loaded and every host call kept, for tests that drive
// the plugin through its real entry points and read back what it asked of the host.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/host.h"
#include "core/scene.h"
#include "support/kept_records.h"

namespace veyrant_test {

// Console variables to set, in order: {name, value}.
using Settings = std::vector<std::pair<std::string, std::string>>;

class LoadedPlugin {
 public:
  explicit LoadedPlugin(const std::string& modulePath = VEYRANT_MODULE_PATH,
                        Vector2 canvasSize = {1920, 1080})
      : host_(canvasSize), kept_(host_.Trace()) {
    host_.LoadPlugin(modulePath);
  }

  devhost::Host& Host() { return host_; }

  // Every host operation the plugin called since load (or the last ClearRecords), in order; the
  // host's own records left out.
  std::vector<devhost::TraceRecord> Records() {
    std::vector<devhost::TraceRecord> out;
    for (const auto& r : kept_.All())
      if (r.kind == devhost::RecordKind::PluginCall) out.push_back(r);
    return out;
  }
  std::vector<devhost::TraceRecord> RecordsIn(devhost::Phase phase) {
    std::vector<devhost::TraceRecord> out;
    for (const auto& r : Records())
      if (r.phase == phase) out.push_back(r);
    return out;
  }
  // Forgets the calls and canvas calls so far.
  void ClearRecords() { kept_.Clear(); }
  std::string Console(const std::string& line) { return host_.Console(line); }
  // The variable's current text; throws if it is not registered.
  std::string Cvar(const std::string& name) {
    devhost::Cvar* cvar = host_.Store().Find(name);
    if (cvar == nullptr) throw devhost::ConsoleError("no variable " + name);
    return cvar->value;
  }
  // One frame of the scene (throws devhost::SceneError on a bad one) with the settings applied:
  // what the plugin drew; its host calls are in Records().
  const std::vector<CanvasCall>& DrawFrame(const std::string& scene,
                                           const Settings& settings = {}) {
    host_.SetScene(devhost::ParseScene(scene, "test scene"));
    for (const auto& [name, value] : settings) host_.SetVariable(name, value);
    ClearRecords();
    host_.RenderFrames(1);
    return kept_.CanvasCalls();
  }

 private:
  devhost::Host host_;
  KeptRecords kept_;
};

}  // namespace veyrant_test
