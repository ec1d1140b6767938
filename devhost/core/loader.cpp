#include "core/loader.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstring>
#include <filesystem>

namespace devhost {

#if defined(_WIN32)
void* OpenModule(const std::string& path) {
  // No error dialog box for a file that is not a module: the caller reports it.
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryW(std::filesystem::path(path).wstring().c_str());
  SetErrorMode(previous);
  return reinterpret_cast<void*>(module);
}
std::string ModuleError() {
  const DWORD code = GetLastError();
  char text[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, text, sizeof text, nullptr);
  std::string message(text, length);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  return message.empty() ? "error " + std::to_string(code) : message;
}
// GetProcAddress hands out every symbol as a function pointer, data included.
void* FindSymbol(void* module, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}
void CloseModule(void* module) { FreeLibrary(static_cast<HMODULE>(module)); }
#else
void* OpenModule(const std::string& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }
std::string ModuleError() {
  const char* why = dlerror();
  return why != nullptr ? why : "unknown error";
}
void* FindSymbol(void* module, const char* name) { return dlsym(module, name); }
void CloseModule(void* module) { dlclose(module); }
#endif

namespace {
[[noreturn]] void Fail(void* module, const std::string& path, const std::string& what) {
  if (module != nullptr) CloseModule(module);
  throw LoadError(path + ": " + what);
}
}  // namespace

LoadedPlugin OpenPluginModule(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) Fail(nullptr, path, "file not found");
  void* module = OpenModule(path);
  if (module == nullptr) Fail(nullptr, path, "not a loadable module: " + ModuleError());
  LoadedPlugin plugin;
  plugin.path = path;
  plugin.module = module;
  const void* record = FindSymbol(module, "exports");
  if (record == nullptr) Fail(module, path, "missing export exports");
  // The record is read as raw memory, as a host built by another compiler would.
  std::memcpy(&plugin.record, record, sizeof plugin.record);
  if (plugin.record.apiVersion != kPluginApiVersion)
    Fail(module, path,
         "incompatible plugin interface version " + std::to_string(plugin.record.apiVersion) +
             " (expected " + std::to_string(kPluginApiVersion) + ")");
  plugin.getPlugin = reinterpret_cast<GetPluginFunc>(FindSymbol(module, "getPlugin"));
  if (plugin.getPlugin == nullptr) Fail(module, path, "missing export getPlugin");
  plugin.deleteMe = reinterpret_cast<DeleteMeFunc>(FindSymbol(module, "deleteMe"));
  if (plugin.deleteMe == nullptr) Fail(module, path, "missing export deleteMe");
  plugin.name = plugin.record.pluginName != nullptr ? plugin.record.pluginName
                                                    : std::filesystem::path(path).stem().string();
  return plugin;
}

void ClosePluginModule(LoadedPlugin& plugin) {
  if (plugin.module != nullptr) CloseModule(plugin.module);
  plugin.module = nullptr;
}

}  // namespace devhost
