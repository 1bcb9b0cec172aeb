#include "platform/core/arith.h"

#include <limits>

namespace quillet {

void ThrowInvalidInteger(std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  const int64_t p = static_cast<int64_t>(a) * b;  // at most 2^62 in magnitude
  int64_t q = p / c;
  const int64_t r = p % c;  // same sign as p
  // Halves away from zero: |r| >= |c| / 2 moves the quotient one step outward.
  const int64_t absR = r < 0 ? -r : r;
  const int64_t absC = c < 0 ? -static_cast<int64_t>(c) : c;
  if (2 * absR >= absC) q += ((p < 0) != (c < 0)) ? -1 : 1;
  if (q < std::numeric_limits<int32_t>::min() || q > std::numeric_limits<int32_t>::max()) return -1;
  return static_cast<int32_t>(q);
}

std::optional<int64_t> ParseInt64(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  // Accumulated as a magnitude so that the most negative value parses too.
  const uint64_t limit = negative ? uint64_t(1) << 63 : static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  uint64_t v = 0;
  for (char ch : s) {
    if (ch < '0' || ch > '9') return std::nullopt;
    const unsigned digit = static_cast<unsigned>(ch - '0');
    if (v > (limit - digit) / 10) return std::nullopt;
    v = v * 10 + digit;
  }
  if (negative) return v == (uint64_t(1) << 63) ? std::numeric_limits<int64_t>::min() : -static_cast<int64_t>(v);
  return static_cast<int64_t>(v);
}

std::optional<int32_t> ParseInt32(std::string_view s) {
  auto v = ParseInt64(s);
  if (!v || *v < std::numeric_limits<int32_t>::min() || *v > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return static_cast<int32_t>(*v);
}

std::optional<int32_t> StrToIntOpt(std::string_view s) {
  bool negative = false;
  std::string_view digits = s;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty() || digits.front() != '$') return ParseInt32(s);
  digits.remove_prefix(1);
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  uint32_t v = 0;
  for (char ch : digits) {
    int d;
    if (ch >= '0' && ch <= '9') d = ch - '0';
    else if (ch >= 'a' && ch <= 'f') d = ch - 'a' + 10;
    else if (ch >= 'A' && ch <= 'F') d = ch - 'A' + 10;
    else return std::nullopt;
    v = v << 4 | static_cast<uint32_t>(d);
  }
  // Two's complement negation of the pattern, done unsigned so that it
  // never overflows.
  return static_cast<int32_t>(negative ? 0u - v : v);
}

std::string IntToStr(int64_t v) { return std::to_string(v); }

std::string IntToHex(uint64_t v, int digits) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  do {
    out.insert(out.begin(), kHex[v & 0xF]);
    v >>= 4;
  } while (v != 0);
  if (digits > 0 && out.size() < static_cast<size_t>(digits)) out.insert(0, static_cast<size_t>(digits) - out.size(), '0');
  return out;
}

}  // namespace quillet
