#include "symbols/source_tree.h"

#include <dwarf.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

namespace devhost {

namespace {

using std::filesystem::path;

path CommonFolder(const std::vector<path>& folders) {
  if (folders.empty()) return {};
  path common = folders.front();
  for (const path& folder : folders) {
    path shared;
    for (auto a = common.begin(), b = folder.begin();
         a != common.end() && b != folder.end() && *a == *b; ++a, ++b)
      shared /= *a;
    common = shared;
  }
  return common;
}

// A build folder mirrors the source tree's layout, as CMake's do: a unit compiled in
// build/src/overlay from tree/src/overlay/x.cpp came from tree. The file's folder, less the
// longest run of the compile folder's last names that it holds; none when it holds none.
std::optional<path> MirroredRoot(const path& folder, const path& compileFolder) {
  const std::vector<path> names(folder.begin(), folder.end());
  const std::vector<path> built(compileFolder.begin(), compileFolder.end());
  for (std::size_t run = built.size(); run > 0; --run) {
    const auto tail = built.end() - static_cast<std::ptrdiff_t>(run);
    for (std::size_t at = names.size() >= run ? names.size() - run + 1 : 0; at-- > 0;) {
      if (!std::equal(tail, built.end(), names.begin() + static_cast<std::ptrdiff_t>(at))) continue;
      path root;
      for (std::size_t i = 0; i < at; ++i) root /= names[i];
      return root;
    }
  }
  return std::nullopt;
}

}  // namespace

std::string WholePath(Dwarf_Die* cu, const char* file) {
  const path whole(file);
  if (whole.is_absolute()) return whole.lexically_normal().string();
  Dwarf_Attribute attribute;
  const char* folder = dwarf_formstring(dwarf_attr(cu, DW_AT_comp_dir, &attribute));
  return folder == nullptr ? whole.string() : (path(folder) / whole).lexically_normal().string();
}

bool SystemFile(const std::string& file) { return file.rfind("/usr/", 0) == 0; }

// Sources that lie in their own compile folder were fetched or generated there (a library built
// into the module, as Dear ImGui is): they count only where no unit is compiled from outside.
std::string SourceTree(Dwfl_Module* module) {
  std::vector<path> roots, inBuildFolder;
  Dwarf_Addr bias = 0;
  for (Dwarf_Die* cu = nullptr; (cu = dwfl_module_nextcu(module, cu, &bias)) != nullptr;) {
    const char* name = dwarf_diename(cu);
    if (name == nullptr || *name == '<') continue;  // "<artificial>" and the like
    const path whole(WholePath(cu, name));
    if (SystemFile(whole.string()) || !whole.is_absolute()) continue;
    Dwarf_Attribute attribute;
    const char* compiled = dwarf_formstring(dwarf_attr(cu, DW_AT_comp_dir, &attribute));
    const path folder = whole.parent_path(), compileFolder = compiled != nullptr ? compiled : "";
    if (!compileFolder.empty() && whole.string().rfind(compileFolder.string() + "/", 0) == 0) {
      inBuildFolder.push_back(folder);
      continue;
    }
    roots.push_back(MirroredRoot(folder, compileFolder).value_or(folder));
  }
  return CommonFolder(roots.empty() ? inBuildFolder : roots).string();
}

}  // namespace devhost
