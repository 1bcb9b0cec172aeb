#pragma once
// The compressed document form: the DVF stream's length as a 32-bit signed
// little-endian integer, then the stream as one zlib stream, nothing after it.
// Files, inserted documents and the host's database record all use it.
#include <cstdint>

#include "platform/core/stream.h"

namespace quillet {

// zlib failed to make or read a compressed document.
class ECompressionError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EDecompressionError : public ECompressionError {
 public:
  using ECompressionError::ECompressionError;
};

// Passed to zlib as 0, 1, its default and 9.
enum class TCompressionLevel { clNone, clFastest, clDefault, clMax };

// The largest document either routine accepts. A recorded length above it is
// hostile or corrupt rather than a document.
constexpr int64_t kMaxCompressedDocumentSize = int64_t(1) << 30;

// Replaces the whole content of stream by its compressed form and leaves the
// stream positioned at its end. A stream larger than the limit raises
// ECompressionError and is left as it was.
void CompressDVF(TMemoryStream& stream, TCompressionLevel level);

// Reads one compressed form from source's position and writes the document
// at dest's position, all of it or nothing. A source shorter than the length
// field raises EReadError; a negative or implausible length, a corrupt,
// truncated or over-long zlib stream, a document whose length is not the
// recorded one, and bytes after the zlib stream raise EDecompressionError
// before dest is touched. Source is left somewhere past the length field.
void UnCompressDVF(TStream& source, TStream& dest);

}  // namespace quillet
