#include "core/elf_extent.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <limits>

namespace devhost {

namespace {

constexpr std::uint64_t kUnreachable = std::numeric_limits<std::uint64_t>::max();
constexpr std::uint32_t kLoadableSegment = 1;  // PT_LOAD

// Little-endian fields at fixed offsets, as the 64-bit ELF layout puts them.
template <typename T>
T Field(const char* bytes, std::size_t offset) {
  T value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i)
    value |= static_cast<T>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
  return value;
}

std::uint64_t End(std::uint64_t offset, std::uint64_t size) {
  return offset > kUnreachable - size ? kUnreachable : offset + size;
}

}  // namespace

std::uint64_t ElfExtent(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  const auto size = static_cast<std::uint64_t>(in.tellg());
  char header[64] = {};
  if (!in.seekg(0) || !in.read(header, sizeof header)) return 0;
  if (std::memcmp(header,
                  "\x7f"
                  "ELF\x02\x01",
                  6) != 0)
    return 0;
  const auto programs = Field<std::uint64_t>(header, 32);
  const auto sections = Field<std::uint64_t>(header, 40);
  const auto programSize = Field<std::uint16_t>(header, 54);
  const auto programCount = Field<std::uint16_t>(header, 56);
  const auto sectionSize = Field<std::uint16_t>(header, 58);
  const auto sectionCount = Field<std::uint16_t>(header, 60);
  const std::uint64_t programsEnd = End(programs, std::uint64_t{programSize} * programCount);
  std::uint64_t extent = std::max({std::uint64_t{sizeof header}, programsEnd,
                                   End(sections, std::uint64_t{sectionSize} * sectionCount)});
  // A program header table the file does not hold is already too far; an entry too small to
  // hold a segment's place leaves the loader to refuse the file.
  if (programsEnd > size || programSize < 56) return extent;
  for (std::uint16_t i = 0; i < programCount; ++i) {
    char entry[56];
    in.seekg(static_cast<std::streamoff>(programs + std::uint64_t{i} * programSize));
    if (!in.read(entry, sizeof entry)) break;
    if (Field<std::uint32_t>(entry, 0) == kLoadableSegment)
      extent =
          std::max(extent, End(Field<std::uint64_t>(entry, 8), Field<std::uint64_t>(entry, 32)));
  }
  return extent;
}

}  // namespace devhost
