#include "core/loader.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstring>
#include <filesystem>

#include "core/elf_extent.h"
#include "system/input_file.h"

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

// A folder, a FIFO or a device named as what it is, and never opened.
void RequireFile(const std::string& file, const std::string& named) {
  if (const auto kind = OtherThanFile(file))
    Fail(nullptr, named, "is " + *kind + ", not a module file");
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) Fail(nullptr, named, "file not found");
}

// The system's loader takes a name without a slash as one to search for, not as the file in this
// folder: made absolute, the file checked is the file loaded.
std::string Absolute(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.string();
}

// file is opened; named, the name the person gave, is what messages and the plugin carry.
LoadedPlugin OpenFile(const std::string& file, const std::string& named) {
  RequireFile(file, named);
  std::error_code ec;
  const std::uint64_t size = std::filesystem::file_size(file, ec), needed = ElfExtent(file);
  if (!ec && needed > size)
    Fail(nullptr, named,
         "not a loadable module: the file is cut short (" + std::to_string(size) +
             " bytes; its headers describe " + std::to_string(needed) + ")");
  void* module = OpenModule(file);
  if (module == nullptr) Fail(nullptr, named, "not a loadable module: " + ModuleError());
  LoadedPlugin plugin;
  plugin.path = named;
  plugin.modulePath = file;
  plugin.module = module;
  const void* record = FindSymbol(module, "exports");
  if (record == nullptr) Fail(module, named, "missing export exports");
  // The record is read as raw memory, as a host built by another compiler would.
  std::memcpy(&plugin.record, record, sizeof plugin.record);
  if (plugin.record.apiVersion != kPluginApiVersion)
    Fail(module, named,
         "incompatible plugin interface version " + std::to_string(plugin.record.apiVersion) +
             " (expected " + std::to_string(kPluginApiVersion) + ")");
  plugin.getPlugin = reinterpret_cast<GetPluginFunc>(FindSymbol(module, "getPlugin"));
  if (plugin.getPlugin == nullptr) Fail(module, named, "missing export getPlugin");
  plugin.deleteMe = reinterpret_cast<DeleteMeFunc>(FindSymbol(module, "deleteMe"));
  if (plugin.deleteMe == nullptr) Fail(module, named, "missing export deleteMe");
  plugin.code = CodeRangeOf(reinterpret_cast<const void*>(plugin.getPlugin));
  MarkPluginCode(plugin.code);
  plugin.name = plugin.record.pluginName != nullptr ? plugin.record.pluginName
                                                    : std::filesystem::path(named).stem().string();
  return plugin;
}

}  // namespace

void RequireModuleFile(const std::string& path) { RequireFile(path, path); }

LoadedPlugin OpenPluginModule(const std::string& path, LoadFrom from) {
  if (from == LoadFrom::File) return OpenFile(Absolute(path), path);
  RequireFile(path, path);
  std::unique_ptr<PrivateModuleCopy> copy;
  try {
    copy = std::make_unique<PrivateModuleCopy>(path);
  } catch (const std::filesystem::filesystem_error& e) {
    Fail(nullptr, path, "cannot make a private copy: " + e.code().message());
  }
  try {
    LoadedPlugin plugin = OpenFile(copy->Path(), path);
    plugin.copy = std::move(copy);
    return plugin;
  } catch (const LoadError& e) {
    // The copy is the host's business: the person knows the file by the name they gave.
    throw LoadError(ReplaceAll(e.what(), copy->Path(), path));
  }
}

void ClosePluginModule(LoadedPlugin& plugin) {
  if (plugin.module == nullptr) return;
  CloseModule(plugin.module);
  plugin.module = nullptr;
  UnmarkPluginCode(plugin.code);
}

}  // namespace devhost
