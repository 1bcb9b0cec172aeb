#include "engine/base/dvf_tokens.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "engine/style/style_sheet.h"
#include "platform/core/arith.h"
#include "platform/core/hex_text.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

// Bytes converted per block between hexadecimal text and a stream.
constexpr size_t kHexChunk = 64 * 1024;

// Skips the one space that ends a token.
void SkipSeparator(std::string_view& p) {
  if (!p.empty() && p.front() == ' ') p.remove_prefix(1);
}

// A string tag that would not read back as itself when written plainly.
bool TagNeedsEscape(std::string_view tag) {
  return tag == "0" || tag.front() == '%' || tag.find_first_of(" \r\n") != std::string_view::npos;
}

std::string EscapeTag(std::string_view tag) {
  std::string out = "%";
  out.reserve(tag.size() + 4);
  for (size_t i = 0; i < tag.size(); ++i) {
    const char c = tag[i];
    if (c == ' ' || c == '%' || c == '\r' || c == '\n' || (i == 0 && c == '0')) {
      out += '%';
      out += BytesToHex(std::string_view(&c, 1));
    } else {
      out += c;
    }
  }
  return out;
}

// The tag a token stands for: decoded when it is exactly what EscapeTag
// writes for some tag, otherwise the token itself.
std::string UnescapeTag(std::string_view token) {
  if (token.empty() || token.front() != '%') return std::string(token);
  std::string decoded;
  decoded.reserve(token.size());
  for (size_t i = 1; i < token.size(); ++i) {
    if (token[i] != '%') {
      decoded += token[i];
      continue;
    }
    if (i + 2 >= token.size()) return std::string(token);
    const int hi = HexDigitValue(token[i + 1]), lo = HexDigitValue(token[i + 2]);
    if (hi < 0 || lo < 0) return std::string(token);
    decoded += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  if (decoded.empty() || !TagNeedsEscape(decoded) || EscapeTag(decoded) != token) return std::string(token);
  return decoded;
}

std::string QuoteName(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string SaveStyleRef(const TCustomDVInfos& styles, bool useStyleNames, int32_t styleNo) {
  if (useStyleNames && styles.IsValidIndex(styleNo)) return QuoteName(styles.ItemAt(styleNo).StyleName);
  return IntToStr(styleNo);
}

int32_t NameToIndex(const TCustomDVInfos& styles, std::string_view name) {
  for (int i = 0; i < styles.Count(); ++i)
    if (styles.ItemAt(i).StyleName == name) return i;
  return 0;
}

bool ReadStyleRef(const TCustomDVInfos& styles, std::string_view& p, int32_t& styleNo) {
  if (DVFReadInteger(p, styleNo)) return true;
  std::string name;
  if (!DVFReadText(p, name)) return false;
  styleNo = NameToIndex(styles, name);
  return true;
}

}  // namespace

void DVFWrite(TStream& stream, std::string_view s) {
  stream.WriteBuffer(s.data(), static_cast<int64_t>(s.size()));
}

void DVFWriteLine(TStream& stream, std::string_view s) {
  DVFWrite(stream, s);
  DVFWrite(stream, "\r\n");
}

std::string DVFSafeLine(std::string_view s) {
  std::string line(s);
  std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return line;
}

void DVFWriteLineX(TStream& stream, std::string_view s, bool continueLine) {
  DVFWrite(stream, s);
  DVFWrite(stream, continueLine ? ") " : "\r\n");
}

std::string DVFSaveText(const TDVStyle& dvStyle, bool useStyleNames, int32_t styleNo) {
  return SaveStyleRef(dvStyle.TextStyles(), useStyleNames, styleNo);
}

std::string DVFSavePara(const TDVStyle& dvStyle, bool useStyleNames, int32_t paraNo) {
  return SaveStyleRef(dvStyle.ParaStyles(), useStyleNames, paraNo);
}

std::string DVFItemSavePara(int32_t paraNo, const TDVStyle& dvStyle, bool useStyleNames, bool forceSameAsPrev) {
  return DVFSavePara(dvStyle, useStyleNames, forceSameAsPrev ? -1 : paraNo);
}

std::string DVFSaveTag(bool tagsArePChars, const TDVTag& tag) {
  if (!tagsArePChars) return IntToStr(tag.Int);
  if (!tag.Str || tag.Str->empty()) return "0";
  if (TagNeedsEscape(*tag.Str)) return EscapeTag(*tag.Str);
  return *tag.Str;
}

void DVFWriteDataLine(TStream& stream, std::span<const uint8_t> bytes, bool binary) {
  if (bytes.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    throw EWriteError("A data line is too large");
  if (binary) {
    WriteI32(stream, static_cast<int32_t>(bytes.size()));
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return;
  }
  std::string text(2 * bytes.size(), '\0');
  BytesToHex(bytes.data(), bytes.size(), text.data());
  DVFWriteLine(stream, text);
}

std::string DVFStream2TextString(TStream& stream) {
  // A memory stream is encoded in place; any other is read in blocks.
  if (auto* memory = dynamic_cast<TMemoryStream*>(&stream)) {
    const std::vector<uint8_t>& bytes = memory->Bytes();
    std::string out(2 * bytes.size(), '\0');
    BytesToHex(bytes.data(), bytes.size(), out.data());
    memory->Seek(0, TSeekOrigin::soEnd);
    return out;
  }
  stream.SetPosition(0);
  std::string out;
  std::vector<uint8_t> buffer(kHexChunk);
  for (;;) {
    const int64_t n = stream.Read(buffer.data(), static_cast<int64_t>(buffer.size()));
    if (n <= 0) break;
    const size_t at = out.size();
    out.resize(at + 2 * static_cast<size_t>(n));
    BytesToHex(buffer.data(), static_cast<size_t>(n), out.data() + at);
  }
  return out;
}

bool DVFReadString(std::string_view& p, std::string& s) {
  const size_t end = std::min(p.find(' '), p.size());
  s.assign(p.substr(0, end));
  p.remove_prefix(end);
  SkipSeparator(p);
  return !s.empty();
}

bool DVFReadInteger(std::string_view& p, int32_t& value) {
  size_t i = 0;
  const bool negative = !p.empty() && p.front() == '-';
  if (negative) ++i;
  const size_t firstDigit = i;
  // Accumulated as a magnitude in 64 bits; anything beyond 2^31 already fails.
  const int64_t limit = negative ? int64_t{1} << 31 : std::numeric_limits<int32_t>::max();
  int64_t magnitude = 0;
  for (; i < p.size() && p[i] != ' '; ++i) {
    if (p[i] < '0' || p[i] > '9') return false;
    magnitude = magnitude * 10 + (p[i] - '0');
    if (magnitude > limit) return false;
  }
  if (i == firstDigit) return false;
  value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  p.remove_prefix(i);
  SkipSeparator(p);
  return true;
}

bool DVFReadText(std::string_view& p, std::string& s) {
  s.clear();
  if (p.empty() || p.front() != '"') return false;
  for (size_t i = 1; i < p.size(); ++i) {
    if (p[i] != '"') {
      s += p[i];
      continue;
    }
    if (i + 1 < p.size() && p[i + 1] == '"') {
      s += '"';
      ++i;
      continue;
    }
    p.remove_prefix(i + 1);
    SkipSeparator(p);
    return true;
  }
  // No closing quote before the end of the line.
  s.clear();
  p.remove_prefix(p.size());
  return false;
}

bool DVFReadTag(std::string_view& p, bool tagsArePChars, TDVTag& tag) {
  std::string token;
  if (!DVFReadString(p, token)) return false;
  if (!tagsArePChars) {
    const std::optional<int32_t> v = ParseInt32(token);
    if (!v) return false;
    tag = TDVTag{*v, std::nullopt};
    return true;
  }
  tag = TDVTag{};
  if (token != "0") tag.Str = UnescapeTag(token);
  return true;
}

int32_t TextNameToIndex(const TDVStyle& dvStyle, std::string_view name) {
  return NameToIndex(dvStyle.TextStyles(), name);
}

int32_t ParaNameToIndex(const TDVStyle& dvStyle, std::string_view name) {
  return NameToIndex(dvStyle.ParaStyles(), name);
}

bool DVFReadTextStyle(const TDVStyle& dvStyle, std::string_view& p, int32_t& styleNo) {
  return ReadStyleRef(dvStyle.TextStyles(), p, styleNo);
}

bool DVFReadParaStyle(const TDVStyle& dvStyle, std::string_view& p, int32_t& paraNo) {
  return ReadStyleRef(dvStyle.ParaStyles(), p, paraNo);
}

bool DVFTextString2Stream(std::string_view s, TStream& stream) {
  if (s.size() % 2 != 0) return false;
  const size_t count = s.size() / 2;
  stream.SetSize(static_cast<int64_t>(count));
  stream.SetPosition(0);
  std::vector<uint8_t> bytes(std::min(count, kHexChunk));
  bool ok = true;
  for (size_t done = 0; done < count && ok;) {
    const size_t n = std::min(count - done, kHexChunk);
    const size_t decoded = HexToBytes(s.substr(2 * done, 2 * n), bytes.data());
    ok = decoded == n;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(decoded));
    done += n;
  }
  stream.SetPosition(0);
  return ok;
}

}  // namespace quillet
