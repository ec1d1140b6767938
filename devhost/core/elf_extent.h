// How long a module file must be to hold what its own headers describe. The platform's loader
// maps an ELF file's segments without checking that the file reaches their end, so a module caught
// half-written by a build would load and then fault when a missing page is touched.
#pragma once

#include <cstdint>
#include <string>

namespace devhost {

// The bytes that the ELF header, the program and section header tables and every loadable
// segment reach up to; 0 for a file that is not a 64-bit little-endian ELF file, which the loader
// then judges itself.
std::uint64_t ElfExtent(const std::string& path);

}  // namespace devhost
