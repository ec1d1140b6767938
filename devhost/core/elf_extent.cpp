#include "core/elf_extent.h"

#if defined(_WIN32)

namespace devhost {

// Windows' loader checks that a module file holds its sections itself.
std::uint64_t ElfExtent(const std::string&) { return 0; }

}  // namespace devhost

#else

#include <elf.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <limits>

namespace devhost {

namespace {

constexpr std::uint64_t kUnreachable = std::numeric_limits<std::uint64_t>::max();

std::uint64_t End(std::uint64_t offset, std::uint64_t size) {
  return offset > kUnreachable - size ? kUnreachable : offset + size;
}

}  // namespace

std::uint64_t ElfExtent(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  const auto size = static_cast<std::uint64_t>(in.tellg());
  Elf64_Ehdr header{};
  if (!in.seekg(0) || !in.read(reinterpret_cast<char*>(&header), sizeof header)) return 0;
  // The fields are read in this machine's byte order, so only little-endian files are judged.
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64 ||
      header.e_ident[EI_DATA] != ELFDATA2LSB)
    return 0;
  const std::uint64_t programsEnd =
      End(header.e_phoff, std::uint64_t{header.e_phentsize} * header.e_phnum);
  std::uint64_t extent =
      std::max({std::uint64_t{sizeof header}, programsEnd,
                End(header.e_shoff, std::uint64_t{header.e_shentsize} * header.e_shnum)});
  // A program header table the file does not hold is already too far; an entry too small to
  // hold a segment's place leaves the loader to refuse the file.
  if (programsEnd > size || header.e_phentsize < sizeof(Elf64_Phdr)) return extent;
  for (std::uint16_t i = 0; i < header.e_phnum; ++i) {
    Elf64_Phdr segment{};
    in.seekg(static_cast<std::streamoff>(header.e_phoff + std::uint64_t{i} * header.e_phentsize));
    if (!in.read(reinterpret_cast<char*>(&segment), sizeof segment)) break;
    if (segment.p_type == PT_LOAD)
      extent = std::max(extent, End(segment.p_offset, segment.p_filesz));
  }
  return extent;
}

}  // namespace devhost

#endif
