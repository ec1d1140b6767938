#include "app/output_folders.h"

#include <filesystem>

#include "system/atomic_file.h"
#include "system/host_errors.h"

namespace devhost {

void RefuseMissingFolders(const std::vector<NamedFile>& files) {
  for (const NamedFile& file : files) {
    if (!file.output) continue;
    const std::filesystem::path target(FollowLinks(file.path));
    std::error_code ec;
    // What exists is written through or replaced in place; its folder is there.
    if (std::filesystem::exists(target, ec) || !target.has_parent_path()) continue;
    const std::filesystem::path folder = target.parent_path();
    const auto status = std::filesystem::status(folder, ec);
    if (std::filesystem::is_directory(status)) continue;
    throw UsageError(file.option + " " + file.path + ": " +
                     (std::filesystem::exists(status)
                          ? folder.string() + " is not a folder"
                          : "the folder " + folder.string() + " does not exist"));
  }
}

}  // namespace devhost
