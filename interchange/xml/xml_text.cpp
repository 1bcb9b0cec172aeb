#include "interchange/xml/xml_text.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/core/code_page.h"

namespace quillet {

namespace {

constexpr char32_t kNoCharacter = 0x110000;
constexpr char16_t kReplacement = 0xFFFD;
constexpr size_t npos = std::string_view::npos;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }
bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

int DigitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The numeric reference at s[at] ("&#" decimal digits, or "x", "X" or "$"
// and hexadecimal digits, then ";"): the index just after its ";", or npos
// when there is none. Numbers beyond U+10FFFF answer kNoCharacter.
size_t ReadCharRef(std::string_view s, size_t at, char32_t& value) {
  size_t i = at + 2;
  bool hex = false;
  if (i < s.size() && (s[i] == 'x' || s[i] == 'X' || s[i] == '$')) {
    hex = true;
    ++i;
  }
  const size_t digits = i;
  char32_t v = 0;
  for (int d; i < s.size() && (d = DigitValue(s[i], hex)) >= 0; ++i)
    v = std::min<char32_t>(v * (hex ? 16 : 10) + static_cast<char32_t>(d), kNoCharacter);
  if (i == digits || i >= s.size() || s[i] != ';') return npos;
  value = v;
  return i + 1;
}

bool StartsWith(std::string_view s, size_t at, std::string_view what) { return s.substr(at, what.size()) == what; }

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
  } else {
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
  }
}

// One character in the system code page; "?" for what it cannot hold.
void AppendInCodePage(std::string& out, char32_t c) {
  if (c == 0 || c >= kNoCharacter || IsSurrogate(c)) {
    out.push_back('?');
  } else if (c < 0x80) {
    out.push_back(static_cast<char>(c));  // every system code page extends ASCII
  } else {
    std::u16string units;
    AppendUtf16(units, c);
    const std::string bytes = WideCharToMultiByte(GetACP(), units);
    out += bytes.empty() ? std::string("?") : bytes;
  }
}

// The numeric reference at s[at] as one character in the system code page:
// the index after it, or npos when there is none. A reference pair written
// for a surrogate pair is one character.
size_t AppendCharRef(std::string& out, std::string_view s, size_t at) {
  char32_t c, low;
  size_t end = ReadCharRef(s, at, c);
  if (end == npos) return npos;
  if (size_t next; IsHighSurrogate(c) && StartsWith(s, end, "&#") && (next = ReadCharRef(s, end, low)) != npos &&
                   IsLowSurrogate(low)) {
    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
    end = next;
  }
  AppendInCodePage(out, c);
  return end;
}

constexpr std::array<bool, 256> kSpecial = [] {
  std::array<bool, 256> t{};
  t['&'] = t['\r'] = t['\t'] = true;
  return t;
}();

struct Entity {
  std::string_view text;
  char character;
};
constexpr Entity kEntities[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&apos;", '\''}, {"&amp;", '&'}};

const Entity* EntityAt(std::string_view s, size_t at) {
  for (const Entity& e : kEntities)
    if (StartsWith(s, at, e.text)) return &e;
  return nullptr;
}

// Clean and CleanUni: the same pass, with or without numeric references.
std::string Decode(std::string_view s, bool references) {
  std::string out;
  out.reserve(s.size());
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    size_t run = i;
    while (run < n && !kSpecial[static_cast<uint8_t>(s[run])]) ++run;
    out.append(s.data() + i, run - i);
    i = run;
    if (i == n) break;
    const char c = s[i];
    if (c == '\t') {
      out.push_back(' ');
      ++i;
    } else if (c == '\r') {
      const bool pair = i + 1 < n && s[i + 1] == '\n';
      out.push_back(pair ? ' ' : '\r');
      i += pair ? 2 : 1;
    } else if (const Entity* e = EntityAt(s, i)) {
      out.push_back(e->character);
      i += e->text.size();
    } else if (references && StartsWith(s, i, "&#") && (run = AppendCharRef(out, s, i)) != npos) {
      i = run;
    } else {
      out.push_back('&');
      ++i;
    }
  }
  return out;
}

}  // namespace

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && static_cast<uint8_t>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<uint8_t>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

std::string Clean(std::string_view s) { return Decode(s, true); }

std::string CleanUni(std::string_view s) { return Decode(s, false); }

std::string CleanSpec(std::string s) {
  size_t from = s.find("&quot;");
  if (from == npos) return s;
  size_t to = from;
  while (from < s.size()) {
    if (s.compare(from, 6, "&quot;") == 0) {
      s[to++] = '"';
      from += 6;
    } else {
      s[to++] = s[from++];
    }
  }
  s.resize(to);
  return s;
}

std::u16string CleanUnicode(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  const int codePage = GetACP();
  const auto appendText = [&](std::string_view text) {
    if (!text.empty()) out += MultiByteToWideChar(codePage, text);
  };
  size_t stretch = 0;
  for (size_t i = 0; (i = s.find("&#", i)) != npos;) {
    char32_t v;
    const size_t end = ReadCharRef(s, i, v);
    if (end == npos) {
      i += 2;
      continue;
    }
    appendText(s.substr(stretch, i - stretch));
    if (v == 0 || v >= kNoCharacter)
      out.push_back(kReplacement);
    else
      AppendUtf16(out, v);
    stretch = i = end;
  }
  appendText(s.substr(stretch));
  return out;
}

}  // namespace quillet
