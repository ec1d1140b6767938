// Replacing a file so that an interrupted write never loses the previous one.
#pragma once

#include <string>

namespace devhost {

// Writes to a temporary file beside path, syncs it and renames it over path. Throws
// std::runtime_error naming the file and the cause; path is untouched on failure.
void WriteFileAtomically(const std::string& path, const std::string& contents);

// The name path's writer in this process uses before its rename: path.tmp.PID.
std::string TemporaryPathBeside(const std::string& path);

// For a file another program wrote under a temporary name beside path: syncs it and renames it
// over path. Throws std::runtime_error as above; the temporary file is removed on failure.
void ReplaceWithFinishedFile(const std::string& temporary, const std::string& path);

// Removes the temporary files that writers of path killed before their rename left beside it:
// regular files path.tmp.PID whose process is gone. A running writer's file stays, as does every
// other file.
void RemoveLeftoverTemporaries(const std::string& path);

}  // namespace devhost
