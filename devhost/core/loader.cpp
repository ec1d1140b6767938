#include "core/loader.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstring>
#include <filesystem>

#include "core/elf_extent.h"

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

namespace {

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

LoadedPlugin OpenFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) Fail(nullptr, path, "file not found");
  const std::uint64_t size = std::filesystem::file_size(path, ec), needed = ElfExtent(path);
  if (!ec && needed > size)
    Fail(nullptr, path,
         "not a loadable module: the file is cut short (" + std::to_string(size) +
             " bytes; its headers describe " + std::to_string(needed) + ")");
  void* module = OpenModule(path);
  if (module == nullptr) Fail(nullptr, path, "not a loadable module: " + ModuleError());
  LoadedPlugin plugin;
  plugin.path = path;
  plugin.modulePath = path;
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

}  // namespace

LoadedPlugin OpenPluginModule(const std::string& path, LoadFrom from) {
  if (from == LoadFrom::File) return OpenFile(path);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) Fail(nullptr, path, "file not found");
  std::unique_ptr<PrivateModuleCopy> copy;
  try {
    copy = std::make_unique<PrivateModuleCopy>(path);
  } catch (const std::filesystem::filesystem_error& e) {
    Fail(nullptr, path, "cannot make a private copy: " + e.code().message());
  }
  try {
    LoadedPlugin plugin = OpenFile(copy->Path());
    plugin.path = path;
    plugin.copy = std::move(copy);
    return plugin;
  } catch (const LoadError& e) {
    // The copy is the host's business: the person knows the file by the name they gave.
    throw LoadError(ReplaceAll(e.what(), copy->Path(), path));
  }
}

void ClosePluginModule(LoadedPlugin& plugin) {
  if (plugin.module != nullptr) CloseModule(plugin.module);
  plugin.module = nullptr;
}

}  // namespace devhost
