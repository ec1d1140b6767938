#include "core/private_module_copy.h"

#include <atomic>

#include "system/leftovers.h"

namespace devhost {

PrivateModuleCopy::PrivateModuleCopy(const std::string& original) {
  // A folder for each copy, named by process and count: hosts run side by side, and a process may
  // hold several copies of one file at once while it switches from one to the next.
  static std::atomic<unsigned> copies{0};
  const std::filesystem::path source(original);
  folder_ = std::filesystem::temp_directory_path() / ModuleCopyFolderName(++copies);
  std::filesystem::remove_all(folder_);  // a leftover of an earlier process with this id
  std::filesystem::create_directories(folder_);
  const std::filesystem::path copy = folder_ / source.filename();
  try {
    std::filesystem::copy_file(source, copy, std::filesystem::copy_options::overwrite_existing);
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    throw;
  }
  path_ = copy.string();
}

PrivateModuleCopy::~PrivateModuleCopy() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

}  // namespace devhost
