// What a run of the host leaves on disk, for tests that hold it against what it must be: the
// test's folder listed entry by entry, and a temporary folder of the test's own for $TMPDIR.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/test_folder.h"

namespace veyrant_test {

// One line per entry under folder, sorted, by path from it: "c.cfg file 600", "link.cfg link to
// real/c.cfg", "n character device", "p FIFO", "d folder".
inline std::string Listing(const std::filesystem::path& folder) {
  std::set<std::string> lines;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().lexically_relative(folder).string();
    struct stat st;
    lstat(entry.path().c_str(), &st);
    char mode[8];
    std::snprintf(mode, sizeof mode, "%o", st.st_mode & 07777);
    lines.insert(name + (S_ISREG(st.st_mode) ? std::string(" file ") + mode
                         : S_ISLNK(st.st_mode)
                             ? " link to " + std::filesystem::read_symlink(entry.path()).string()
                         : S_ISCHR(st.st_mode)  ? " character device"
                         : S_ISFIFO(st.st_mode) ? " FIFO"
                         : S_ISDIR(st.st_mode)  ? " folder"
                                                : " other"));
  }
  std::string listing;
  for (const auto& line : lines) listing += line + "\n";
  return listing;
}

}  // namespace veyrant_test
