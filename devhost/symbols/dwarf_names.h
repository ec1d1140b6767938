// The names of functions as a person reads them, from a module's DWARF: demangled linkage names,
// and for functions without one (lambdas, local classes' members) the scopes they sit in.
#pragma once

#include <elfutils/libdw.h>

#include <string>

namespace devhost {

// The demangled name, or the name itself where it is not a mangled one.
std::string Demangled(const char* name);
// The name of the function a subprogram or inlined instance stands for.
std::string FunctionName(Dwarf_Die* die);

}  // namespace devhost
