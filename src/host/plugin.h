// The plugin-facing interfaces: the plugin base class, the settings-page interface, and the export
// record through which the host finds a plugin module's entry functions.
//
// The host's lifecycle contract, in the order the host keeps:
//   1. load:   it reads the module's exported record `exports` (required; its apiVersion must be
//              kPluginApiVersion) and calls getPluginFunc (required) once. The plugin object lives
//              in the shared pointer it returns; the host holds a copy until unload.
//   2. fill:   it sets the object's cvarManager and gameWrapper.
//   3. onLoad: the plugin registers its console variables, change hooks and drawables. From here
//              on the host may call them, and the settings page, on threads of its choosing.
//   4. unload: it calls onUnload, then removes every hook and drawable the plugin registered,
//              whether or not the plugin unregistered them, and calls none of them again.
//   5. delete: it calls deleteMeFunc (required), which lets go of the object, and then closes the
//              module.
// A plugin keeps no host handle beyond the call that gave it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/cvar_wrappers.h"
#include "host/game_wrapper.h"
#include "host/sdk_api.h"

namespace Pryndal::Plugin {

// Compiled into, and exported by, each plugin module. The destructor is deliberately not virtual:
// the host releases the object only through its shared-ownership record.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif
class PRYNDAL_PLUGIN_BASE_API PryndalPlugin {
 public:
  PryndalPlugin();
  PryndalPlugin(const PryndalPlugin& other);
  PryndalPlugin(PryndalPlugin&& other) noexcept;
  PryndalPlugin& operator=(const PryndalPlugin& other);
  PryndalPlugin& operator=(PryndalPlugin&& other) noexcept;
  ~PryndalPlugin();

  virtual void onLoad();
  virtual void onUnload();

  // Filled by the host after getPlugin and before onLoad; valid until deleteMe.
  std::shared_ptr<CVarManagerWrapper> cvarManager;
  std::shared_ptr<GameWrapper> gameWrapper;
};
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

// A plugin's page in the host's settings window.
class PluginSettingsWindow {
 public:
  virtual ~PluginSettingsWindow() = default;
  virtual void RenderSettings() = 0;
  virtual std::string GetPluginName() = 0;
  // ctx is the host's Dear ImGui context.
  virtual void SetImGuiContext(std::uintptr_t ctx) = 0;

 protected:
  PluginSettingsWindow() = default;
  PluginSettingsWindow(const PluginSettingsWindow&) = default;
  PluginSettingsWindow& operator=(const PluginSettingsWindow&) = default;
};

using PluginHandle = std::shared_ptr<PryndalPlugin>;

}  // namespace Pryndal::Plugin

extern "C" {
using GetPluginFunc = Pryndal::Plugin::PluginHandle* (*)();
using DeleteMeFunc = void (*)();
}

// The record a plugin module exports as "exports"; the host reads it as raw memory.
struct PluginExportRecord {
  std::int32_t apiVersion;
  std::uint32_t alignmentGap0;
  const char* fileName;
  const char* className;
  const char* pluginName;
  const char* pluginVersion;
  std::uint32_t pluginType;
  std::uint32_t alignmentGap1;
  GetPluginFunc getPluginFunc;
  DeleteMeFunc deleteMeFunc;
};

// The host plugin interface version this SDK describes.
inline constexpr std::int32_t kPluginApiVersion = 95;

static_assert(sizeof(PluginExportRecord) == 64);
static_assert(offsetof(PluginExportRecord, apiVersion) == 0);
static_assert(offsetof(PluginExportRecord, fileName) == 8);
static_assert(offsetof(PluginExportRecord, className) == 16);
static_assert(offsetof(PluginExportRecord, pluginName) == 24);
static_assert(offsetof(PluginExportRecord, pluginVersion) == 32);
static_assert(offsetof(PluginExportRecord, pluginType) == 40);
static_assert(offsetof(PluginExportRecord, getPluginFunc) == 48);
static_assert(offsetof(PluginExportRecord, deleteMeFunc) == 56);
