#include "engine/text/unicode_detect.h"

#include <algorithm>
#include <cstring>

#include "platform/core/stream.h"

namespace quillet {

namespace {
constexpr size_t kProbe = 500;  // bytes looked at after the first two
}  // namespace

TDVUnicodeTestResult DV_TestStreamUnicode(TStream& stream) {
  try {
    const int64_t size = stream.GetSize();
    if (size == 0) return dvutEmpty;
    if (size % 2 != 0) return dvutNo;
    stream.SetPosition(0);
    uint8_t head[2];
    stream.ReadBuffer(head, 2);
    const uint16_t first = static_cast<uint16_t>(head[0] | (head[1] << 8));
    if (first == 0xFEFF || first == 0xFFFE) return dvutYes;
    uint8_t probe[kProbe];
    const auto n = static_cast<size_t>(stream.Read(probe, static_cast<int64_t>(kProbe)));
    return std::find(probe, probe + n, 0) != probe + n ? dvutYes : dvutProbably;
  } catch (const EStreamError&) {
    return dvutError;
  }
}

TDVUnicodeTestResult DV_TestFileUnicode(const std::string& fileName) {
  try {
    TFileStream stream(fileName, fmOpenRead);
    return DV_TestStreamUnicode(stream);
  } catch (const EStreamError&) {
    return dvutError;
  }
}

}  // namespace quillet
