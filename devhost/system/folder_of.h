// The folder that holds a path as written: its parent, or "." for a bare file name.
#pragma once

#include <filesystem>

namespace devhost {

inline std::filesystem::path FolderOf(const std::filesystem::path& path) {
  return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

}  // namespace devhost
