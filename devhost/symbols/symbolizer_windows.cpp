// The symbolizer on Windows: modules by name and offset only; mingw's DWARF is not read here.
#include <windows.h>

#include <filesystem>

#include "symbols/symbolizer.h"

namespace devhost {

struct Symbolizer::Modules {};

Symbolizer::Symbolizer() = default;

Symbolizer::~Symbolizer() = default;

void Symbolizer::ModulesChanged() {
  known_.clear();
  callSites_.clear();
}

std::optional<SourcePlace> Symbolizer::LineAt(std::uintptr_t) { return std::nullopt; }

const std::vector<SourcePlace>& Symbolizer::PlacesOf(std::uintptr_t address) {
  std::vector<SourcePlace>& places = known_[address];
  if (!places.empty()) return places;
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(address), &module))
    return places;
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  SourcePlace place;
  place.module = std::filesystem::path(path, path + length).filename().string();
  place.offset = address - reinterpret_cast<std::uintptr_t>(module);
  places.push_back(place);
  return places;
}

}  // namespace devhost
