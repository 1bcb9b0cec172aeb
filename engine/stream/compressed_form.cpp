#include "engine/stream/compressed_form.h"

#include <zlib.h>

#include <memory>
#include <string>
#include <vector>

namespace quillet {

namespace {

// Deflate never shrinks data by more than about 1032:1 (258-byte matches in
// about two bits each); a length that would need more than this of the bytes
// left cannot be honest.
constexpr int64_t kMaxRatio = 1040;
constexpr int64_t kRatioSlack = 1024;
constexpr size_t kReadBlock = 64 * 1024;

int ZlibLevel(TCompressionLevel level) {
  switch (level) {
    case TCompressionLevel::clNone: return Z_NO_COMPRESSION;
    case TCompressionLevel::clFastest: return Z_BEST_SPEED;
    case TCompressionLevel::clMax: return Z_BEST_COMPRESSION;
    case TCompressionLevel::clDefault: break;
  }
  return Z_DEFAULT_COMPRESSION;
}

[[noreturn]] void Corrupt(const char* what) {
  throw EDecompressionError(std::string("Invalid compressed document: ") + what);
}

// Ends the inflater on every way out.
struct InflateGuard {
  z_stream* z;
  ~InflateGuard() { inflateEnd(z); }
};

}  // namespace

void CompressDVF(TMemoryStream& stream, TCompressionLevel level) {
  const std::vector<uint8_t>& source = stream.Bytes();
  if (static_cast<int64_t>(source.size()) > kMaxCompressedDocumentSize)
    throw ECompressionError("Document too large to compress");

  z_stream z{};
  if (deflateInit(&z, ZlibLevel(level)) != Z_OK) throw ECompressionError("Compression error");
  const uLong bound = deflateBound(&z, static_cast<uLong>(source.size()));
  // Length field and zlib stream are built aside; the stream changes only at the end.
  std::vector<uint8_t> out;
  try {
    out.resize(4 + bound);
  } catch (const std::bad_alloc&) {
    deflateEnd(&z);
    throw ECompressionError("Compression error");
  }
  z.next_in = const_cast<Bytef*>(source.data());
  z.avail_in = static_cast<uInt>(source.size());
  z.next_out = out.data() + 4;
  z.avail_out = static_cast<uInt>(bound);
  const int rc = deflate(&z, Z_FINISH);
  const uLong written = z.total_out;
  deflateEnd(&z);
  if (rc != Z_STREAM_END) throw ECompressionError("Compression error");
  out.resize(4 + written);
  const auto length = static_cast<uint32_t>(source.size());
  for (int i = 0; i < 4; ++i) out[static_cast<size_t>(i)] = static_cast<uint8_t>(length >> (8 * i));

  stream = TMemoryStream(std::move(out));
  stream.Seek(0, TSeekOrigin::soEnd);
}

void UnCompressDVF(TStream& source, TStream& dest) {
  const int32_t length = ReadI32(source);
  const int64_t left = source.Remaining();
  // left is bounded before it is multiplied; beyond the limit the ratio cannot bite.
  if (length < 0 || length > kMaxCompressedDocumentSize ||
      (left < kMaxCompressedDocumentSize && length > left * kMaxRatio + kRatioSlack))
    Corrupt("length out of range");

  // Not zero-filled: untouched pages of a large buffer cost nothing.
  const auto size = static_cast<size_t>(length);
  auto buffer = std::make_unique_for_overwrite<uint8_t[]>(size == 0 ? 1 : size);
  std::vector<uint8_t> input(kReadBlock);
  // Output beyond the recorded length lands here and is refused.
  uint8_t overflow = 0;

  z_stream z{};
  if (inflateInit(&z) != Z_OK) throw EDecompressionError("Decompression error");
  InflateGuard guard{&z};
  z.next_out = buffer.get();
  z.avail_out = static_cast<uInt>(size);
  for (;;) {
    if (z.avail_in == 0) {
      const int64_t n = source.Read(input.data(), static_cast<int64_t>(input.size()));
      if (n <= 0) Corrupt("truncated");
      z.next_in = input.data();
      z.avail_in = static_cast<uInt>(n);
    }
    if (z.avail_out == 0) {
      z.next_out = &overflow;
      z.avail_out = 1;
    }
    const int rc = inflate(&z, Z_NO_FLUSH);
    if (z.total_out > size) Corrupt("longer than its recorded length");
    if (rc == Z_STREAM_END) break;
    if (rc != Z_OK && rc != Z_BUF_ERROR) Corrupt(z.msg != nullptr ? z.msg : "zlib error");
  }
  if (z.total_out != size) Corrupt("shorter than its recorded length");
  uint8_t extra = 0;
  if (z.avail_in != 0 || source.Read(&extra, 1) != 0) Corrupt("data after the end");

  dest.WriteBuffer(buffer.get(), length);
}

}  // namespace quillet
