#include "symbols/dwarf_names.h"

#include <cxxabi.h>
#include <dwarf.h>

#include <cstdlib>

namespace devhost {

namespace {

// The declaration an inlined instance or a definition stands for.
Dwarf_Die Declaration(Dwarf_Die die) {
  Dwarf_Attribute attribute;
  Dwarf_Die next;
  for (int hops = 0; hops < 8; ++hops) {
    if ((dwarf_attr(&die, DW_AT_abstract_origin, &attribute) == nullptr &&
         dwarf_attr(&die, DW_AT_specification, &attribute) == nullptr) ||
        dwarf_formref_die(&attribute, &next) == nullptr)
      break;
    die = next;
  }
  return die;
}

// A function without a linkage name (a lambda's call operator, a function of a local class) by
// the scopes it was declared in: "Fixture::onLoad()::{lambda}::operator()".
std::string ScopedName(Dwarf_Die die) {
  const char* own = dwarf_diename(&die);
  std::string name = own != nullptr ? own : "";
  Dwarf_Die* scopes = nullptr;
  const int count = dwarf_getscopes_die(&die, &scopes);
  for (int i = 1; i < count; ++i) {
    const int tag = dwarf_tag(&scopes[i]);
    const char* scope = dwarf_diename(&scopes[i]);
    if (tag == DW_TAG_compile_unit) break;
    if (tag == DW_TAG_namespace) {
      name = std::string(scope != nullptr ? scope : "(anonymous namespace)") + "::" + name;
    } else if (tag == DW_TAG_class_type || tag == DW_TAG_structure_type) {
      name = std::string(scope != nullptr ? scope : "{lambda}") + "::" + name;
    } else if (tag == DW_TAG_subprogram) {
      name = ScopedName(Declaration(scopes[i])) + "()::" + name;
      break;
    }
  }
  std::free(scopes);
  return name;
}

}  // namespace

std::string Demangled(const char* name) {
  int status = 0;
  char* readable = abi::__cxa_demangle(name, nullptr, nullptr, &status);
  std::string text = status == 0 && readable != nullptr ? readable : name;
  std::free(readable);
  return text;
}

std::string FunctionName(Dwarf_Die* die) {
  Dwarf_Attribute attribute;
  for (const unsigned name : {DW_AT_linkage_name, DW_AT_MIPS_linkage_name})
    if (dwarf_attr_integrate(die, name, &attribute) != nullptr)
      if (const char* linkage = dwarf_formstring(&attribute)) return Demangled(linkage);
  return ScopedName(Declaration(*die));
}

}  // namespace devhost
