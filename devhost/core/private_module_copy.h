// A module file copied into a folder of the host's own before it is loaded. A build can then
// replace the original while the copy is loaded (on Windows, where a loaded file is locked, too),
// and the copy is a module of its own rather than the one the loader already has open.
#pragma once

#include <filesystem>
#include <string>

namespace devhost {

class PrivateModuleCopy {
 public:
  // Throws std::filesystem::filesystem_error when the file cannot be copied.
  explicit PrivateModuleCopy(const std::string& original);
  // Removes the copy and its folder: close the module first.
  ~PrivateModuleCopy();
  PrivateModuleCopy(const PrivateModuleCopy&) = delete;
  PrivateModuleCopy& operator=(const PrivateModuleCopy&) = delete;

  // The copy keeps the original's file name, so a module's name and the loader's messages read
  // the same.
  const std::string& Path() const { return path_; }

 private:
  std::filesystem::path folder_;
  std::string path_;
};

}  // namespace devhost
