#include "system/input_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "system/interrupted_calls.h"

namespace devhost {

namespace {

[[noreturn]] void Refuse(const std::string& path, const std::string& what) {
  throw InputFileError(path + ": " + what);
}

std::FILE* Open(const std::string& path) {
  std::FILE* file;
  while ((file = std::fopen(path.c_str(), "rb")) == nullptr && InterruptedToRetry()) {
  }
  return file;
}

}  // namespace

std::optional<std::string> OtherThanFile(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return {};
  if (S_ISDIR(st.st_mode)) return "a folder";
#if !defined(_WIN32)
  if (S_ISFIFO(st.st_mode)) return "a FIFO";
  if (S_ISCHR(st.st_mode)) return "a character device";
  if (S_ISBLK(st.st_mode)) return "a block device";
  if (S_ISSOCK(st.st_mode)) return "a socket";
#endif
  return "not a regular file";
}

std::string ReadInputFile(const std::string& path, const InputRules& rules) {
  // Checked before opening: opening a FIFO waits for a writer.
  if (const auto kind = OtherThanFile(path)) {
    if (*kind == "a folder" || *kind == "a socket")
      Refuse(path, "is " + *kind + ", not a " + rules.what);
    if (*kind == "a FIFO" && rules.fifo != nullptr)
      Refuse(path, std::string("is a FIFO; ") + rules.fifo);
  }
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(Open(path), std::fclose);
  const auto cannotRead = [&path, &rules] {
    Refuse(path, std::string("cannot read the ") + rules.what + ": " + std::strerror(errno));
  };
  if (!file) cannotRead();
  std::string text;
  char buffer[1 << 16];
  for (;;) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
    text.append(buffer, n);
    if (text.size() > rules.limit)
      Refuse(path, "is larger than " + std::to_string(rules.limit / kMiB) + " MiB, the most a " +
                       rules.what + " may hold");
    if (std::feof(file.get())) return text;
    if (!std::ferror(file.get())) continue;
    if (!InterruptedToRetry()) cannotRead();
    std::clearerr(file.get());
  }
}

}  // namespace devhost
