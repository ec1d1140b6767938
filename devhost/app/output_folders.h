// An output goes into a folder that must be there: a missing one is refused before any work,
// naming the option and the folder, rather than found at the first write, after the rendering.
#pragma once

#include <vector>

#include "app/file_identity.h"

namespace devhost {

// Throws UsageError "--png nodir/x.png: the folder nodir does not exist" for an output that does
// not exist yet and whose folder, once links are followed, is missing or no folder.
void RefuseMissingFolders(const std::vector<NamedFile>& files);

}  // namespace devhost
