#include "render/png_file.h"

#include <zlib.h>

#include <cstdlib>

#include "core/atomic_file.h"
#include "render/render_error.h"

namespace {

// stb's own deflate is several times slower than zlib's fastest level, and a frame sequence spends
// most of its time compressing; stb leaves the compressor to us for that reason.
unsigned char* CompressFast(unsigned char* data, int length, int* outLength, int /*quality*/) {
  uLongf size = compressBound(static_cast<uLong>(length));
  auto* out = static_cast<unsigned char*>(std::malloc(size));
  if (out == nullptr ||
      compress2(out, &size, data, static_cast<uLong>(length), Z_BEST_SPEED) != Z_OK) {
    std::free(out);
    return nullptr;
  }
  *outLength = static_cast<int>(size);
  return out;
}

}  // namespace

// The writer compiled here, private to this file, so that it can use the compressor above.
#define STBIW_ZLIB_COMPRESS CompressFast
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace devhost {

std::string EncodePng(const Image& image) {
  // One fixed filter (each row against the one above) instead of trying all five per row: as
  // small for these pictures, and four times faster.
  stbi_write_force_png_filter = 2;
  std::string bytes;
  const auto append = [](void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                               static_cast<std::size_t>(size));
  };
  if (stbi_write_png_to_func(append, &bytes, image.width, image.height, 4, image.rgba.data(),
                             image.width * 4) == 0)
    throw RenderError("cannot encode a " + std::to_string(image.width) + "x" +
                      std::to_string(image.height) + " picture as PNG");
  return bytes;
}

void WritePng(const std::string& path, const Image& image) {
  WriteFileAtomically(path, EncodePng(image));
}

}  // namespace devhost
