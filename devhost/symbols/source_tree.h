// Where a module's own sources lie, read from its compile units: what a place's file is given
// relative to, and what tells the plugin's own code from a system header or a library built
// into it.
#pragma once

#include <elfutils/libdw.h>
#include <elfutils/libdwfl.h>

#include <string>

namespace devhost {

// A compile unit's file name made whole with its compile folder.
std::string WholePath(Dwarf_Die* cu, const char* file);
// A file of the system's (the C++ library's headers), never the module's own.
bool SystemFile(const std::string& path);
// The source tree the module was built from; empty when no unit tells.
std::string SourceTree(Dwfl_Module* module);

}  // namespace devhost
