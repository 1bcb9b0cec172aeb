#include "engine/export/rtf_text.h"

#include <cstdint>

#include "engine/text/charsets.h"
#include "engine/text/item_text.h"
#include "engine/text/line_break.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

void AppendHex(std::string& out, uint8_t byte) {
  static constexpr char kDigits[] = "0123456789abcdef";
  out += "\\'";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 15];
}

bool NeedsHex(uint8_t byte) { return byte < 26 || byte >= 128; }

// Steps the text by character: a character of several bytes is written as
// \'xx bytes, a single byte through `single`.
template <class SingleByte>
std::string Escape(std::string_view text, int codePage, SingleByte single) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t next = CharNextEx(codePage, text, i);
    if (next - i > 1) {
      for (size_t k = i; k < next; ++k) AppendHex(out, static_cast<uint8_t>(text[k]));
    } else {
      single(out, static_cast<uint8_t>(text[i]));
    }
    i = next > i ? next : i + 1;
  }
  return out;
}

void TextByte(std::string& out, uint8_t byte, bool rtfCode) {
  if (!rtfCode && (byte == '\\' || byte == '{' || byte == '}')) {
    out += '\\';
    out += static_cast<char>(byte);
  } else if (NeedsHex(byte)) {
    AppendHex(out, byte);
  } else {
    out += static_cast<char>(byte);
  }
}

bool IsAsciiAlnum(uint8_t byte) {
  return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

// A non-ASCII character that may stand in a bookmark name: a letter, digit
// or ideograph by its line-breaking class (punctuation and spaces of every
// script have classes of their own).
bool IsNameCharacter(std::string_view character, int codePage) {
  const std::u16string units = MultiByteToWideChar(codePage, character);
  if (units.empty()) return false;
  for (char16_t unit : units) {
    if (unit == 0xFFFD) return false;
    const TDVLineBreakClass cls = GetCharLineBreakClass(unit);
    if (cls != dvu_lb_AL && cls != dvu_lb_ID && cls != dvu_lb_NU) return false;
  }
  return true;
}

// The bookmark name reduced to name characters, still unescaped.
std::string ReduceBookmarkName(std::string_view name, int codePage) {
  std::string out;
  for (size_t i = 0; i < name.size();) {
    size_t next = CharNextEx(codePage, name, i);
    if (next <= i) next = i + 1;
    const std::string_view character = name.substr(i, next - i);
    const auto first = static_cast<uint8_t>(character[0]);
    const bool keep = character.size() == 1 && first < 128 ? IsAsciiAlnum(first)
                                                           : IsNameCharacter(character, ResolveCodePage(codePage));
    if (keep)
      out += character;
    else
      out += '_';
    i = next;
  }
  return out;
}

}  // namespace

std::string MakeRTFStr(std::string_view text, bool rtfCode, int codePage) {
  return Escape(text, codePage, [rtfCode](std::string& out, uint8_t byte) { TextByte(out, byte, rtfCode); });
}

std::string MakeRTFStr2(std::string_view text, int codePage) {
  return Escape(text, codePage, [](std::string& out, uint8_t byte) {
    if (byte == '\\' || byte == '{' || byte == '}' || byte == ';')
      out += '_';
    else
      TextByte(out, byte, true);
  });
}

std::string MakeRTFFontName(std::string_view text, int codePage) {
  return Escape(text, codePage, [](std::string& out, uint8_t byte) {
    if (byte == ';')
      AppendHex(out, byte);
    else
      TextByte(out, byte, false);
  });
}

std::string MakeRTFURL(std::string_view text, int codePage) {
  return Escape(text, codePage, [](std::string& out, uint8_t byte) {
    if (byte == '"')
      out += "%22";
    else
      TextByte(out, byte, false);
  });
}

std::string TDVRTFBookmarkNames::Add(std::string_view name, int codePage) {
  std::string reduced = ReduceBookmarkName(name, codePage);
  if (reduced.empty()) reduced = "DocViewCheckpoint" + std::to_string(count_);
  std::string unique = reduced;
  for (int n = 2; used_.count(unique); ++n) unique = reduced + "_" + std::to_string(n);
  used_.insert(unique);
  ++count_;
  return MakeRTFStr(unique, true, codePage);
}

void WriteUnicodeRTFStr(TStream& stream, std::string_view utf16, int codePage, bool rtfCode, bool duplicate) {
  std::string out;
  for (char16_t unit : DVU_Units(utf16)) {
    if (unit >= 1 && unit <= 127) {
      TextByte(out, static_cast<uint8_t>(unit), rtfCode);
      continue;
    }
    std::string fallback;
    if (duplicate) fallback = DVU_UnicodeToAnsi(codePage, DVU_UnitBytes(std::u16string_view(&unit, 1)));
    const bool framed = duplicate && fallback.size() != 1;
    if (framed) out += "\\uc" + std::to_string(fallback.size());
    out += "\\u" + std::to_string(static_cast<int16_t>(unit)) + " ";
    if (duplicate) out += MakeRTFStr(fallback, false, codePage);
    if (framed) out += "\\uc1 ";
  }
  stream.WriteString(out);
}

}  // namespace quillet
