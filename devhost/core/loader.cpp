#include "core/loader.h"

#include <dlfcn.h>

#include <cstring>
#include <filesystem>

namespace devhost {

namespace {
[[noreturn]] void Fail(void* module, const std::string& path, const std::string& what) {
  if (module != nullptr) dlclose(module);
  throw LoadError(path + ": " + what);
}
}  // namespace

LoadedPlugin OpenPluginModule(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) Fail(nullptr, path, "file not found");
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* why = dlerror();
    Fail(nullptr, path, std::string("not a loadable module: ") + (why ? why : "unknown error"));
  }
  LoadedPlugin plugin;
  plugin.path = path;
  plugin.module = module;
  const void* record = dlsym(module, "exports");
  if (record == nullptr) Fail(module, path, "missing export exports");
  // The record is read as raw memory, as a host built by another compiler would.
  std::memcpy(&plugin.record, record, sizeof plugin.record);
  if (plugin.record.apiVersion != kPluginApiVersion)
    Fail(module, path,
         "incompatible plugin interface version " + std::to_string(plugin.record.apiVersion) +
             " (expected " + std::to_string(kPluginApiVersion) + ")");
  plugin.getPlugin = reinterpret_cast<GetPluginFunc>(dlsym(module, "getPlugin"));
  if (plugin.getPlugin == nullptr) Fail(module, path, "missing export getPlugin");
  plugin.deleteMe = reinterpret_cast<DeleteMeFunc>(dlsym(module, "deleteMe"));
  if (plugin.deleteMe == nullptr) Fail(module, path, "missing export deleteMe");
  plugin.name = plugin.record.pluginName != nullptr ? plugin.record.pluginName
                                                    : std::filesystem::path(path).stem().string();
  return plugin;
}

void ClosePluginModule(LoadedPlugin& plugin) {
  if (plugin.module != nullptr) dlclose(plugin.module);
  plugin.module = nullptr;
}

}  // namespace devhost
