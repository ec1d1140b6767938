// The symbolizer on Linux: this process's modules as /proc/self/maps lists them, each module's
// DWARF read by libdw.
#include <dwarf.h>
#include <elfutils/libdw.h>
#include <elfutils/libdwfl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

#include "symbols/dwarf_names.h"
#include "symbols/source_tree.h"
#include "symbols/symbolizer.h"

namespace devhost {

namespace {

bool IsFunction(Dwarf_Die* die) {
  const int tag = dwarf_tag(die);
  return tag == DW_TAG_subprogram || tag == DW_TAG_inlined_subroutine;
}

// Through the address table where the module has one; clang writes none, and then each unit's
// own ranges tell.
Dwarf_Die* CompileUnitOf(Dwfl_Module* module, std::uintptr_t address, Dwarf_Addr& bias) {
  if (Dwarf_Die* cu = dwfl_module_addrdie(module, address, &bias)) return cu;
  for (Dwarf_Die* cu = nullptr; (cu = dwfl_module_nextcu(module, cu, &bias)) != nullptr;)
    if (dwarf_haspc(cu, address - bias) > 0) return cu;
  return nullptr;
}

// The module, compile unit and innermost line an address lies at.
struct Lookup {
  Dwfl_Module* module = nullptr;
  SourcePlace base;  // the module and offset
  std::string tree;  // the module's source tree
  Dwarf_Die* cu = nullptr;
  Dwarf_Addr bias = 0;
  std::string file;  // of the innermost line, whole
  int line = 0;

  void Place(SourcePlace& place, const std::string& whole, int number) const {
    place.ownSource = !tree.empty() && !SystemFile(whole) && whole.rfind(tree + "/", 0) == 0;
    place.file =
        place.ownSource ? std::filesystem::path(whole).lexically_relative(tree).string() : whole;
    place.line = number;
  }
};

}  // namespace

struct Symbolizer::Modules {
  Dwfl_Callbacks callbacks{dwfl_linux_proc_find_elf, dwfl_standard_find_debuginfo, nullptr,
                           nullptr};
  Dwfl* dwfl = nullptr;
  std::map<Dwfl_Module*, std::string> trees;
  bool fresh = false;  // read since the last change

  Modules() : dwfl(dwfl_begin(&callbacks)) {}
  ~Modules() {
    if (dwfl != nullptr) dwfl_end(dwfl);
  }

  void Read() {
    if (dwfl == nullptr) return;
    trees.clear();
    dwfl_report_begin(dwfl);
    dwfl_linux_proc_report(dwfl, getpid());
    dwfl_report_end(dwfl, nullptr, nullptr);
    fresh = true;
  }

  Dwfl_Module* Find(std::uintptr_t address) {
    if (dwfl == nullptr) return nullptr;
    if (!fresh) Read();
    Dwfl_Module* module = dwfl_addrmodule(dwfl, address);
    return module;
  }

  const std::string& Tree(Dwfl_Module* module) {
    const auto found = trees.find(module);
    if (found != trees.end()) return found->second;
    return trees[module] = SourceTree(module);
  }

  std::optional<Lookup> Look(std::uintptr_t address) {
    Dwfl_Module* module = Find(address);
    if (module == nullptr) return std::nullopt;
    Lookup look;
    look.module = module;
    Dwarf_Addr start = 0;
    const char* path =
        dwfl_module_info(module, nullptr, &start, nullptr, nullptr, nullptr, nullptr, nullptr);
    look.base.module = std::filesystem::path(path != nullptr ? path : "").filename().string();
    look.base.offset = address - start;
    look.tree = Tree(module);
    look.cu = CompileUnitOf(module, address, look.bias);
    // By the unit found, not the module's address table, which clang's builds lack.
    Dwarf_Line* line =
        look.cu != nullptr ? dwarf_getsrc_die(look.cu, address - look.bias) : nullptr;
    const char* file = line != nullptr ? dwarf_linesrc(line, nullptr, nullptr) : nullptr;
    if (line != nullptr) dwarf_lineno(line, &look.line);
    if (file != nullptr) look.file = WholePath(look.cu, file);
    return look;
  }
};

Symbolizer::Symbolizer() : modules_(std::make_unique<Modules>()) {}

Symbolizer::~Symbolizer() = default;

void Symbolizer::ModulesChanged() {
  modules_->fresh = false;
  known_.clear();
  callSites_.clear();
}

std::optional<SourcePlace> Symbolizer::LineAt(std::uintptr_t address) {
  const std::optional<Lookup> look = modules_->Look(address);
  if (!look || look->file.empty()) return std::nullopt;
  SourcePlace place = look->base;
  look->Place(place, look->file, look->line);
  return place;
}

const std::vector<SourcePlace>& Symbolizer::PlacesOf(std::uintptr_t address) {
  const auto known = known_.find(address);
  if (known != known_.end()) return known->second;
  std::vector<SourcePlace>& places = known_[address];
  const std::optional<Lookup> look = modules_->Look(address);
  if (!look) return places;
  SourcePlace base = look->base;
  const auto where = [&look](SourcePlace& place, const std::string& file, int line) {
    look->Place(place, file, line);
  };
  Dwarf_Die* cu = look->cu;
  const Dwarf_Addr bias = look->bias;
  std::string file = look->file;
  int line = look->line;
  Dwarf_Die* scopes = nullptr;
  int count = cu != nullptr ? dwarf_getscopes(cu, address - bias, &scopes) : 0;
  Dwarf_Files* files = nullptr;
  std::size_t fileCount = 0;
  if (cu != nullptr) dwarf_getsrcfiles(cu, &files, &fileCount);
  // Innermost first: each inlined function's call site is the place in the function around it,
  // which is found among the scopes that hold the inlined instance itself.
  int i = 0;
  while (i < count && !IsFunction(&scopes[i])) ++i;
  while (i < count) {
    Dwarf_Die function = scopes[i];
    SourcePlace place = base;
    place.function = FunctionName(&function);
    where(place, file, line);
    places.push_back(place);
    if (dwarf_tag(&function) != DW_TAG_inlined_subroutine) break;
    Dwarf_Attribute attribute;
    Dwarf_Word callFile = 0, callLine = 0;
    dwarf_formudata(dwarf_attr(&function, DW_AT_call_file, &attribute), &callFile);
    dwarf_formudata(dwarf_attr(&function, DW_AT_call_line, &attribute), &callLine);
    const char* caller = files != nullptr && callFile < fileCount
                             ? dwarf_filesrc(files, callFile, nullptr, nullptr)
                             : nullptr;
    file = caller != nullptr ? WholePath(cu, caller) : "";
    line = static_cast<int>(callLine);
    std::free(scopes);
    count = dwarf_getscopes_die(&function, &scopes);
    i = 1;
    while (i < count && !IsFunction(&scopes[i])) ++i;
  }
  std::free(scopes);
  if (places.empty()) {
    // No debug information: the symbol table may still name the function.
    if (const char* symbol = dwfl_module_addrname(look->module, address))
      base.function = Demangled(symbol);
    if (!file.empty()) where(base, file, line);
    places.push_back(base);
  }
  return places;
}

}  // namespace devhost
