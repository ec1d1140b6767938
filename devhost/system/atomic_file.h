// The host's outputs are people's files: written so that nothing they own is damaged and nothing
// half-written ever stands under their name. Every writer goes through here.
#pragma once

#include <string>
#include <string_view>

namespace devhost {

// An output being written. A regular file, or a name not taken yet, is written to a temporary file
// beside it and renamed over it on Commit, so an interrupted or failed write leaves the previous
// file whole; the new file keeps the mode of the one it replaces and, for root, its owner. A
// symbolic link is followed and its target replaced; the link stays. A device, a FIFO or a
// terminal is written directly, never renamed over. Failures throw std::runtime_error naming the
// file as given (never the temporary file, which the person did not name) and the cause.
class OutputFile {
 public:
  explicit OutputFile(std::string path);
  // Without a Commit, the temporary file is removed and path left as it was.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void Write(std::string_view data);
  void Commit();

 private:
  std::string path_;       // as named, for messages
  std::string target_;     // the file replaced: path_ with its links followed
  std::string temporary_;  // empty when written directly
  int fd_ = -1;
};

void WriteFileAtomically(const std::string& path, const std::string& contents);

// path with its symbolic links followed, to the name they end at, which need not exist.
std::string FollowLinks(const std::string& path);

// Where another program (ffmpeg) writes the output path before ReplaceWithFinishedFile: the
// temporary name OutputFile would use.
std::string TemporaryPathFor(const std::string& path);
// That name without its process id, where and under what names every writer of path puts its
// temporary file: path.tmp., the file name cut short where a process id after it would not fit.
std::string TemporaryPrefixFor(const std::string& path);
// That program's finished file synced and put in place as OutputFile::Commit puts its own (copied
// into a device or FIFO). Throws as above; the temporary file is gone afterwards either way.
void ReplaceWithFinishedFile(const std::string& temporary, const std::string& path);

}  // namespace devhost
