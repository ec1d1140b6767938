#include "system/code_ranges.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <link.h>
#endif

#include <algorithm>
#include <array>

namespace devhost {

namespace {

struct MarkedRange {
  CodeOwner owner = CodeOwner::Other;  // Other: a free place
  CodeRange range;
};

// Far more modules than a host keeps loaded at once; closed ones give their place back.
std::array<MarkedRange, 64> marked;

void Mark(CodeOwner owner, CodeRange range) {
  if (range.begin == range.end) return;
  for (MarkedRange& place : marked)
    if (place.owner == owner && place.range.begin == range.begin && place.range.end == range.end)
      return;
  const auto free = std::find_if(marked.begin(), marked.end(),
                                 [](const auto& p) { return p.owner == CodeOwner::Other; });
  if (free != marked.end()) *free = {owner, range};
}

}  // namespace

#if defined(_WIN32)
CodeRange CodeRangeOf(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCWSTR>(address), &module))
    return {};
  const auto base = reinterpret_cast<std::uintptr_t>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt =
      reinterpret_cast<const IMAGE_NT_HEADERS*>(base + static_cast<std::uintptr_t>(dos->e_lfanew));
  return {base, base + nt->OptionalHeader.SizeOfImage};
}
#else
CodeRange CodeRangeOf(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0) return {};
  struct Search {
    std::uintptr_t base;
    CodeRange range;
  } search{reinterpret_cast<std::uintptr_t>(info.dli_fbase), {}};
  dl_iterate_phdr(
      [](dl_phdr_info* module, std::size_t, void* data) {
        auto& s = *static_cast<Search*>(data);
        CodeRange range{~std::uintptr_t{0}, 0};
        for (ElfW(Half) i = 0; i < module->dlpi_phnum; ++i) {
          const ElfW(Phdr)& segment = module->dlpi_phdr[i];
          if (segment.p_type != PT_LOAD) continue;
          range.begin = std::min<std::uintptr_t>(range.begin, module->dlpi_addr + segment.p_vaddr);
          range.end = std::max<std::uintptr_t>(
              range.end, module->dlpi_addr + segment.p_vaddr + segment.p_memsz);
        }
        if (!range.Contains(s.base)) return 0;
        s.range = range;
        return 1;
      },
      &search);
  return search.range;
}
#endif

void MarkHostCode(CodeRange range) { Mark(CodeOwner::Host, range); }

void MarkPluginCode(CodeRange range) { Mark(CodeOwner::Plugin, range); }

void UnmarkPluginCode(CodeRange range) {
  for (MarkedRange& place : marked)
    if (place.owner == CodeOwner::Plugin && place.range.begin == range.begin &&
        place.range.end == range.end)
      place = {};
}

CodeOwner OwnerOfCode(std::uintptr_t address) {
  for (const MarkedRange& place : marked)
    if (place.owner != CodeOwner::Other && place.range.Contains(address)) return place.owner;
  return CodeOwner::Other;
}

}  // namespace devhost
