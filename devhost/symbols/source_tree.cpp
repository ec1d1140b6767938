#include "symbols/source_tree.h"

#include <dwarf.h>

#include <filesystem>
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

// The top of the build project the folder lies in: from the nearest folder with a CMakeLists.txt,
// up as long as the one above has one too, as a project's subfolders do. The folder itself where
// none has one (or the sources are not on this machine).
path ProjectRoot(const path& folder) {
  std::error_code ec;
  const auto listed = [&ec](const path& f) {
    return std::filesystem::is_regular_file(f / "CMakeLists.txt", ec);
  };
  path root = folder;
  while (!listed(root) && root.has_relative_path()) root = root.parent_path();
  if (!listed(root)) return folder;
  while (root.has_relative_path() && listed(root.parent_path())) root = root.parent_path();
  return root;
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

// The project that holds the module's own units. Sources that lie in their own compile folder
// were fetched or generated there (a library built into the module, as Dear ImGui is): they
// count only where no unit is compiled from outside it.
std::string SourceTree(Dwfl_Module* module) {
  std::vector<path> own, inBuildFolder;
  Dwarf_Addr bias = 0;
  for (Dwarf_Die* cu = nullptr; (cu = dwfl_module_nextcu(module, cu, &bias)) != nullptr;) {
    const char* name = dwarf_diename(cu);
    if (name == nullptr || *name == '<') continue;  // "<artificial>" and the like
    const path whole(WholePath(cu, name));
    if (SystemFile(whole.string()) || !whole.is_absolute()) continue;
    Dwarf_Attribute attribute;
    const char* compiled = dwarf_formstring(dwarf_attr(cu, DW_AT_comp_dir, &attribute));
    const std::string compileFolder = compiled != nullptr ? compiled : "";
    const bool inside = !compileFolder.empty() && whole.string().rfind(compileFolder + "/", 0) == 0;
    (inside ? inBuildFolder : own).push_back(whole.parent_path());
  }
  const path common = CommonFolder(own.empty() ? inBuildFolder : own);
  return common.empty() ? std::string() : ProjectRoot(common).string();
}

}  // namespace devhost
