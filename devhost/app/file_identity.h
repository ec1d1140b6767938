// An output that is the same file as an input or another output would destroy it: refused before
// any work, comparing the files themselves (device and inode), not how they are spelt, so that
// ./x, sub/../x and a link to x are all x. A device or FIFO may be named twice.
#pragma once

#include <string>
#include <vector>

namespace devhost {

struct NamedFile {
  std::string option;  // "--config"
  std::string path;
  bool input = false;
  bool output = false;
};

// Throws UsageError "--trace c.cfg: the same file as --config c.cfg".
void RefuseSharedFiles(const std::vector<NamedFile>& files);

}  // namespace devhost
