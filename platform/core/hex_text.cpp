#include "platform/core/hex_text.h"

#include <array>
#include <cstring>

namespace quillet {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

// Two digit characters per byte value, side by side.
constexpr std::array<char, 512> kPairs = [] {
  std::array<char, 512> t{};
  for (int b = 0; b < 256; ++b) {
    t[2 * b] = kDigits[b >> 4];
    t[2 * b + 1] = kDigits[b & 0xF];
  }
  return t;
}();

constexpr int DigitValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The byte of every two-character pair, indexed by the first character plus
// 256 times the second, or kBad when either is not a digit. Only the few
// hundred entries of digit pairs are ever hot, so it stays in cache.
constexpr uint16_t kBad = 0x100;

const uint16_t* PairTable() {
  static const auto* table = [] {
    static uint16_t t[65536];
    for (int second = 0; second < 256; ++second)
      for (int first = 0; first < 256; ++first) {
        const int hi = DigitValue(static_cast<unsigned char>(first));
        const int lo = DigitValue(static_cast<unsigned char>(second));
        t[first | second << 8] = hi < 0 || lo < 0 ? kBad : static_cast<uint16_t>(hi << 4 | lo);
      }
    return t;
  }();
  return table;
}

inline uint16_t DecodePair(const uint16_t* table, const unsigned char* p) { return table[p[0] | p[1] << 8]; }

// Pairs are decoded in blocks with the error bits gathered, so the common
// all-valid block runs without a branch per byte.
constexpr size_t kBlock = 64;

}  // namespace

void BytesToHex(const uint8_t* bytes, size_t size, char* out) {
  size_t i = 0;
  // Four bytes make one 8-character store.
  for (; i + 4 <= size; i += 4) {
    char chunk[8];
    std::memcpy(chunk, &kPairs[2 * bytes[i]], 2);
    std::memcpy(chunk + 2, &kPairs[2 * bytes[i + 1]], 2);
    std::memcpy(chunk + 4, &kPairs[2 * bytes[i + 2]], 2);
    std::memcpy(chunk + 6, &kPairs[2 * bytes[i + 3]], 2);
    std::memcpy(out + 2 * i, chunk, 8);
  }
  for (; i < size; ++i) std::memcpy(out + 2 * i, &kPairs[2 * bytes[i]], 2);
}

std::string BytesToHex(std::string_view bytes) {
  std::string out(2 * bytes.size(), '\0');
  BytesToHex(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out.data());
  return out;
}

size_t HexToBytes(std::string_view text, uint8_t* out) {
  const uint16_t* table = PairTable();
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t pairs = text.size() / 2;
  size_t i = 0;
  while (i < pairs) {
    const size_t end = pairs - i < kBlock ? pairs : i + kBlock;
    uint16_t bad = 0;
    for (size_t k = i; k < end; ++k) {
      const uint16_t v = DecodePair(table, p + 2 * k);
      bad |= v;
      out[k] = static_cast<uint8_t>(v);
    }
    if (bad & kBad) {
      while (!(DecodePair(table, p + 2 * i) & kBad)) ++i;
      return i;
    }
    i = end;
  }
  return pairs;
}

int HexDigitValue(char c) { return DigitValue(static_cast<unsigned char>(c)); }

}  // namespace quillet
