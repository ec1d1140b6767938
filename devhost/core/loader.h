// Loading a plugin module the way the real host does: the raw export record, its version, the two
// entry functions by plain name, then getPlugin and onLoad.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "core/private_module_copy.h"
#include "host/plugin.h"
#include "sdk/caller.h"
#include "system/code_ranges.h"
#include "system/host_errors.h"

namespace devhost {

class PluginDoor;

// Its PluginTag's name is the record's pluginName.
struct LoadedPlugin : PluginTag {
  std::string path;        // the module file as named to the host
  std::string modulePath;  // the file opened: path, or a private copy of it
  std::unique_ptr<PrivateModuleCopy> copy;
  void* module = nullptr;
  PluginExportRecord record{};
  GetPluginFunc getPlugin = nullptr;
  DeleteMeFunc deleteMe = nullptr;
  // The host's own copy of the plugin's shared pointer.
  Pryndal::Plugin::PluginHandle instance;
  // Found by run-time cast; null when the plugin has no settings page.
  Pryndal::Plugin::PluginSettingsWindow* settings = nullptr;
  CodeRange code;              // the module as mapped
  PluginDoor* door = nullptr;  // how the host calls into it
};

// The platform's module loader, as the host uses it: dlopen and dlsym on Linux, LoadLibrary and
// GetProcAddress on Windows. OpenModule gives null on failure, and ModuleError then says why.
void* OpenModule(const std::string& path);
std::string ModuleError();
void* FindSymbol(void* module, const char* name);
void CloseModule(void* module);

enum class LoadFrom { File, PrivateCopy };

// A folder, FIFO or device named as what it is, and a name that is no file refused, with
// LoadError "PATH: ...", before anything opens it.
void RequireModuleFile(const std::string& path);

// Opens the module (the file itself, or a private copy of it) and checks its record and entry
// points; calls nothing in it. Its code is marked as a plugin's until it is closed. Throws
// LoadError "PATH: what is wrong", naming the file given.
LoadedPlugin OpenPluginModule(const std::string& path, LoadFrom from = LoadFrom::File);
void ClosePluginModule(LoadedPlugin& plugin);

}  // namespace devhost
