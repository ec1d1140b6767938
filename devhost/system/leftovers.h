// What the host leaves behind when it is killed before it can clean up, removed by later runs:
// temporary files beside outputs, and private module copies in the temporary folder. Only what
// carries the id of a process that is gone: a running host's files stay, as does everything else.
#pragma once

#include <string>

namespace devhost {

// Regular files path.tmp.PID (as TemporaryPrefixFor names them) beside path.
void RemoveLeftoverTemporaries(const std::string& path);
// Regular files frame-N.png.tmp.PID in a --png-dir folder.
void RemoveLeftoverFrames(const std::string& folder);
// Folders pryndal-devhost-PID-N in the temporary folder, with what they hold.
void RemoveLeftoverModuleCopies();

// The folder name of this process's count-th private module copy.
std::string ModuleCopyFolderName(unsigned count);

}  // namespace devhost
