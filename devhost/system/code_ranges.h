// Whose code an address is in: the host's own (the program and its SDK library) or a plugin
// module's. A fault inside a call into a plugin is the plugin's only when the innermost frame that
// is either lies in the plugin's code; the system's libraries in between decide nothing.
#pragma once

#include <cstdint>

namespace devhost {

struct CodeRange {
  std::uintptr_t begin = 0, end = 0;
  bool Contains(std::uintptr_t address) const { return address >= begin && address < end; }
};

// The mapped extent of the module that holds the address; empty if none does.
CodeRange CodeRangeOf(const void* anyAddressInModule);

// Recorded on the guarded thread before any call that may need it, and read by its fault
// handlers, which is why there is a fixed number of places.
void MarkHostCode(CodeRange range);
void MarkPluginCode(CodeRange range);
// A plugin module closed: its addresses may hold another module next.
void UnmarkPluginCode(CodeRange range);

enum class CodeOwner { Other, Host, Plugin };
// Safe in a signal handler.
CodeOwner OwnerOfCode(std::uintptr_t address);

}  // namespace devhost
