#include "output/png_file.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "system/atomic_file.h"
#include "system/host_errors.h"

namespace devhost {

namespace {

// Rows predicted and handed to the compressor at a time: enough that each call does real work,
// few enough to stay in the cache.
constexpr std::size_t kBandRows = 16;
constexpr std::uint8_t kSignature[8] = {137, 'P', 'N', 'G', '\r', '\n', 26, '\n'};
constexpr std::size_t kIhdrSize = 13;
constexpr std::size_t kChunkOverhead = 12;  // length, type and CRC
// PNG's filter types: the row as it is, and each byte less the one above it.
constexpr std::uint8_t kFilterNone = 0, kFilterUp = 2;

std::uint8_t* PutBigEndian(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value >> 24);
  at[1] = static_cast<std::uint8_t>(value >> 16);
  at[2] = static_cast<std::uint8_t>(value >> 8);
  at[3] = static_cast<std::uint8_t>(value);
  return at + 4;
}

std::uint8_t* BeginChunk(std::uint8_t* at, const char* type, std::size_t length) {
  at = PutBigEndian(at, static_cast<std::uint32_t>(length));
  std::memcpy(at, type, 4);
  return at + 4;
}

// Appends the CRC of the chunk whose type starts at `type` and whose data ends at `end`.
std::uint8_t* EndChunk(std::uint8_t* type, std::uint8_t* end) {
  const auto crc = crc32(0, type, static_cast<uInt>(end - type));
  return PutBigEndian(end, static_cast<std::uint32_t>(crc));
}

void PredictFromAbove(const std::uint8_t* __restrict row, const std::uint8_t* __restrict above,
                      std::uint8_t* __restrict out, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<std::uint8_t>(row[i] - above[i]);
}

}  // namespace

PngEncoder::PngEncoder() : stream_(std::make_unique<z_stream_s>()) {
  // zlib's fastest level, with its default strategy and hash table: the fastest on rendered frames.
  if (deflateInit2(stream_.get(), Z_BEST_SPEED, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw RenderError("zlib: cannot start a compressor");
}

PngEncoder::~PngEncoder() { deflateEnd(stream_.get()); }

std::string_view PngEncoder::Encode(const Image& image) {
  const auto fail = [&image](const char* why) {
    throw RenderError("cannot encode a " + std::to_string(image.width) + "x" +
                      std::to_string(image.height) + " picture as PNG: " + why);
  };
  if (image.width <= 0 || image.height <= 0) fail("it has no pixels");
  const std::size_t rowSize = static_cast<std::size_t>(image.width) * 4;
  const std::size_t height = static_cast<std::size_t>(image.height);
  z_stream_s& z = *stream_;
  if (deflateReset(&z) != Z_OK) fail("zlib cannot start over");
  // Room for the whole file at the worst the compressor can do, so it never has to wait for more.
  const std::size_t bound = deflateBound(&z, static_cast<uLong>((rowSize + 1) * height));
  if (bound > 0x7fffffff) fail("it is larger than a PNG chunk can hold");
  const std::size_t capacity = sizeof kSignature + 3 * kChunkOverhead + kIhdrSize + bound;
  if (fileCapacity_ < capacity) {
    file_ = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
    fileCapacity_ = capacity;
  }
  band_.resize((rowSize + 1) * kBandRows);

  std::uint8_t* at = std::copy(std::begin(kSignature), std::end(kSignature), file_.get());
  std::uint8_t* type = at + 4;
  at = BeginChunk(at, "IHDR", kIhdrSize);
  at = PutBigEndian(at, static_cast<std::uint32_t>(image.width));
  at = PutBigEndian(at, static_cast<std::uint32_t>(image.height));
  const std::uint8_t rgba8[5] = {8, 6, 0, 0, 0};  // bit depth, colour type, three methods: 0
  at = EndChunk(type, std::copy(std::begin(rgba8), std::end(rgba8), at));

  std::uint8_t* const idat = at;
  type = idat + 4;
  z.next_out = BeginChunk(idat, "IDAT", 0);
  z.avail_out = static_cast<uInt>(bound);
  for (std::size_t first = 0; first < height; first += kBandRows) {
    const std::size_t rows = std::min(kBandRows, height - first);
    for (std::size_t r = 0; r < rows; ++r) {
      const std::size_t y = first + r;
      std::uint8_t* out = &band_[r * (rowSize + 1)];
      const std::uint8_t* row = &image.rgba[y * rowSize];
      if (y == 0) {
        out[0] = kFilterNone;
        std::memcpy(out + 1, row, rowSize);
      } else {
        out[0] = kFilterUp;
        PredictFromAbove(row, row - rowSize, out + 1, rowSize);
      }
    }
    z.next_in = band_.data();
    z.avail_in = static_cast<uInt>(rows * (rowSize + 1));
    const bool last = first + rows == height;
    const int result = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
    if (result != (last ? Z_STREAM_END : Z_OK) || z.avail_in != 0) fail("zlib failed");
  }
  const std::size_t compressed = static_cast<std::size_t>(z.total_out);
  PutBigEndian(idat, static_cast<std::uint32_t>(compressed));
  at = EndChunk(type, type + 4 + compressed);

  type = at + 4;
  at = EndChunk(type, BeginChunk(at, "IEND", 0));
  return {reinterpret_cast<const char*>(file_.get()), static_cast<std::size_t>(at - file_.get())};
}

std::string EncodePng(const Image& image) { return std::string(PngEncoder().Encode(image)); }

void WritePng(const std::string& path, const Image& image) {
  WriteFileAtomically(path, EncodePng(image));
}

}  // namespace devhost
