// Pictures to PNG files: 8-bit RGBA, each row predicted from the one above and compressed at a
// fast setting, so that a frame sequence is not dominated by compression; written atomically.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "render/image.h"

struct z_stream_s;

namespace devhost {

// Encodes one picture after another, keeping its buffers and its compressor from picture to
// picture.
class PngEncoder {
 public:
  PngEncoder();
  ~PngEncoder();
  PngEncoder(const PngEncoder&) = delete;
  PngEncoder& operator=(const PngEncoder&) = delete;

  // The file's bytes, valid until the next call.
  std::string_view Encode(const Image& image);

 private:
  std::unique_ptr<z_stream_s> stream_;
  std::vector<std::uint8_t> band_;  // a few rows, predicted, as the compressor takes them in
  // Room for the largest file yet; left uninitialised, so that pages the compressor does not
  // reach are never touched.
  std::unique_ptr<std::uint8_t[]> file_;
  std::size_t fileCapacity_ = 0;
};

std::string EncodePng(const Image& image);
// Throws std::runtime_error naming the file; the file is untouched on failure.
void WritePng(const std::string& path, const Image& image);

}  // namespace devhost
