// Scenes and a rendering host for the picture tests: the plugin module loaded into a development
// host whose frames are rendered headless.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "render/headless_renderer.h"
#include "support/loaded_plugin.h"
#include "ui/settings_window.h"

namespace veyrant_test {

// One car, followed by the camera, airborne and rolling, with boost and handbrake held.
inline const char* kOneCarScene = R"({
  "camera": {"present": true, "target": 0},
  "cars": [ {"name": "Ayla", "keys": [ {"t": 0, "throttle": 0.6, "steer": -0.4, "boost": true,
            "handbrake": true, "onGround": false, "angularVelocity": [2.75, 0, 0],
            "position": [0, -1500, 300]} ]} ] })";

// Four cars and a camera that follows none: one panel each.
inline const char* kFourCarScene = R"({
  "camera": {"present": true, "target": null},
  "cars": [
    {"name": "Ayla", "keys": [{"t": 0, "throttle": 1, "steer": 0.3, "boost": true}]},
    {"name": "Brann", "keys": [{"t": 0, "throttle": -1, "steer": -1, "handbrake": true}]},
    {"name": "Corvin", "keys": [{"t": 0, "onGround": false, "angularVelocity": [-4, 0, 0],
                                  "jump": true, "position": [0, 0, 500]}]},
    {"name": "", "keys": [{"t": 0, "throttle": 0.25, "steer": 0.75}]} ] })";

inline std::string OneCarWith(const std::string& key) {
  return std::string(R"({"camera": {"present": true, "target": 0},
    "cars": [ {"name": "Ayla", "keys": [ {"t": 0, )") +
         key + "} ]} ] }";
}

// A host with the plugin loaded, the scene set, the variables set, and a renderer over it.
class RenderedPlugin {
 public:
  RenderedPlugin(const std::string& scene,
                 const std::vector<std::pair<std::string, std::string>>& sets, Vector2 size,
                 bool transparent = false)
      : plugin_(VEYRANT_MODULE_PATH, size) {
    plugin_.UseScene(scene);
    for (const auto& [name, value] : sets) plugin_.Set(name, value);
    renderer_ = std::make_unique<devhost::HeadlessRenderer>(plugin_.Host(), size,
                                                            devhost::FrameLayers{!transparent});
  }
  LoadedPlugin& Plugin() { return plugin_; }
  devhost::HeadlessRenderer& Renderer() { return *renderer_; }
  devhost::Image Frame() { return renderer_->RenderNextFrame(); }
  // With the plugin's settings window drawn on top, as --settings does.
  devhost::Image FrameWithSettings() {
    devhost::SettingsWindow window(renderer_->Composer().Session(),
                                   *plugin_.Host().Plugins().front());
    return renderer_->RenderNextFrame([&window] { window.Draw(); });
  }

 private:
  LoadedPlugin plugin_;
  std::unique_ptr<devhost::HeadlessRenderer> renderer_;
};

}  // namespace veyrant_test
