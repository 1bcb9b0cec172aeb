#pragma once
// Whether a text file holds UTF-16.
#include <cstdint>
#include <string>

namespace quillet {

class TStream;

enum TDVUnicodeTestResult : uint8_t { dvutNo, dvutYes, dvutProbably, dvutEmpty, dvutError };

// Empty: dvutEmpty; an odd size: dvutNo; a byte-order mark either way round,
// or a zero byte among the next 500 bytes: dvutYes; else dvutProbably. A
// file that cannot be opened or read: dvutError.
TDVUnicodeTestResult DV_TestFileUnicode(const std::string& fileName);
// The same test on a stream, from its start.
TDVUnicodeTestResult DV_TestStreamUnicode(TStream& stream);

}  // namespace quillet
