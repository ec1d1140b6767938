#include "app/file_identity.h"

#include <sys/stat.h>

#include <filesystem>

#include "app/command_line.h"
#include "system/atomic_file.h"
#include "system/folder_of.h"

namespace devhost {

namespace {

// A file that exists by its device and inode; a name not yet taken by its folder's and its own
// name, once its links are followed.
struct Identity {
  unsigned long long device = 0, inode = 0;
  std::string name;
  bool known = false;
  bool operator==(const Identity&) const = default;
};

#if defined(_WIN32)
// Windows' stat gives no inode: the path with its links and dots resolved stands in.
Identity IdentityOf(const std::string& path) {
  std::error_code ec;
  const auto canonical = std::filesystem::weakly_canonical(path, ec);
  return {0, 0, canonical.string(), !ec};
}
#else
Identity IdentityOf(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) == 0) {
    // A device or FIFO is written through, never replaced: naming it twice destroys nothing.
    if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) return {};
    return {static_cast<unsigned long long>(st.st_dev),
            static_cast<unsigned long long>(st.st_ino),
            {},
            true};
  }
  const std::filesystem::path target(FollowLinks(path));
  const std::string folder = FolderOf(target).string();
  if (stat(folder.c_str(), &st) != 0) return {};
  return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino),
          target.filename().string(), true};
}
#endif

}  // namespace

void RefuseSharedFiles(const std::vector<NamedFile>& files) {
  std::vector<Identity> identities;
  for (const auto& file : files) identities.push_back(IdentityOf(file.path));
  for (std::size_t later = 0; later < files.size(); ++later)
    for (std::size_t earlier = 0; earlier < later; ++earlier) {
      const NamedFile &a = files[earlier], &b = files[later];
      if ((a.output || b.output) && identities[later].known &&
          identities[later] == identities[earlier])
        throw UsageError(b.option + " " + b.path + ": the same file as " + a.option + " " + a.path);
    }
}

}  // namespace devhost
