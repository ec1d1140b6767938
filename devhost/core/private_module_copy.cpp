#include "core/private_module_copy.h"

#if defined(_WIN32)
#include <process.h>
#else
#include <unistd.h>
#endif

#include <atomic>

namespace devhost {

namespace {

int ProcessId() {
#if defined(_WIN32)
  return _getpid();
#else
  return getpid();
#endif
}

}  // namespace

PrivateModuleCopy::PrivateModuleCopy(const std::string& original) {
  // A folder for each copy, named by process and count: hosts run side by side, and a process may
  // hold several copies of one file at once while it switches from one to the next.
  static std::atomic<unsigned> copies{0};
  const std::filesystem::path source(original);
  folder_ = std::filesystem::temp_directory_path() /
            ("pryndal-devhost-" + std::to_string(ProcessId()) + "-" + std::to_string(++copies));
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
