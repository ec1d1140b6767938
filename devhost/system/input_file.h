// People's input files (scenes, configurations, exec files) read whole: a folder, a socket or a
// device that is not a file to read is named as what it is, and no file is read past a limit far
// above any real one, so /dev/zero costs no more memory than a large file.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "system/host_errors.h"

namespace devhost {

struct InputRules {
  const char* what;            // "scene file": what the file should be
  std::uintmax_t limit;        // bytes
  const char* fifo = nullptr;  // why a FIFO is refused; nullptr: read from it as from a file
};

// Throws InputFileError naming the file and saying what is wrong, with the system's reason where
// it gives one ("s.json: cannot read the scene file: No such file or directory"). A stop request
// ends a wait for a FIFO's writer.
std::string ReadInputFile(const std::string& path, const InputRules& rules);

// "a folder", "a FIFO", "a character device", "a block device" or "a socket" for what path names,
// following links; nothing for a regular file or a name that does not exist.
std::optional<std::string> OtherThanFile(const std::string& path);

constexpr std::uintmax_t kMiB = 1024 * 1024;

}  // namespace devhost
