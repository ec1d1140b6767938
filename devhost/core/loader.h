// Loading a plugin module the way the real host does: the raw export record, its version, the two
// entry functions by plain name, then getPlugin and onLoad.
#pragma once

#include <stdexcept>
#include <string>

#include "host/plugin.h"
#include "sdk/caller.h"

namespace devhost {

struct LoadError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Its PluginTag's name is the record's pluginName.
struct LoadedPlugin : PluginTag {
  std::string path;
  void* module = nullptr;
  PluginExportRecord record{};
  GetPluginFunc getPlugin = nullptr;
  DeleteMeFunc deleteMe = nullptr;
  // The host's own copy of the plugin's shared pointer.
  Pryndal::Plugin::PluginHandle instance;
  // Found by run-time cast; null when the plugin has no settings page.
  Pryndal::Plugin::PluginSettingsWindow* settings = nullptr;
};

// The platform's module loader, as the host uses it: dlopen and dlsym on Linux, LoadLibrary and
// GetProcAddress on Windows. OpenModule gives null on failure, and ModuleError then says why.
void* OpenModule(const std::string& path);
std::string ModuleError();
void* FindSymbol(void* module, const char* name);
void CloseModule(void* module);

// Opens the module and checks its record and entry points; calls nothing in it. Throws LoadError
// "PATH: what is wrong".
LoadedPlugin OpenPluginModule(const std::string& path);
void ClosePluginModule(LoadedPlugin& plugin);

}  // namespace devhost
