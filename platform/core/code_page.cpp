#include "platform/core/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <map>
#include <stdexcept>

namespace quillet {

static_assert(std::endian::native == std::endian::little, "UTF-16 text is handed to iconv as UTF-16LE bytes");

namespace {

constexpr int kUtf8 = 65001, kAscii = 20127, kWestern = 1252, kOem = 437, kMac = 10000;
constexpr char16_t kReplacement = 0xFFFD;

std::atomic<int> g_acp{936};

// iconv names to try for each code page, the closest match to the platform's table first.
struct CodePageNames {
  int codePage;
  const char* names[3];
};
constexpr CodePageNames kIconvNames[] = {
    {936, {"CP936", "GBK", nullptr}},
    {950, {"CP950", "BIG5", nullptr}},
    {932, {"CP932", "SHIFT_JIS", nullptr}},
    {949, {"CP949", "UHC", "EUC-KR"}},
    {1361, {"JOHAB", "CP1361", nullptr}},
    {874, {"CP874", "TIS-620", nullptr}},
    {1250, {"CP1250", nullptr, nullptr}},
    {1251, {"CP1251", nullptr, nullptr}},
    {1253, {"CP1253", nullptr, nullptr}},
    {1254, {"CP1254", nullptr, nullptr}},
    {1255, {"CP1255", nullptr, nullptr}},
    {1256, {"CP1256", nullptr, nullptr}},
    {1257, {"CP1257", nullptr, nullptr}},
    {1258, {"CP1258", nullptr, nullptr}},
    {437, {"CP437", "IBM437", nullptr}},
    {850, {"CP850", "IBM850", nullptr}},
    {852, {"CP852", "IBM852", nullptr}},
    {866, {"CP866", "IBM866", nullptr}},
    {10000, {"MACINTOSH", "MAC", nullptr}},
    {20866, {"KOI8-R", nullptr, nullptr}},
    {21866, {"KOI8-U", nullptr, nullptr}},
    {28591, {"ISO-8859-1", nullptr, nullptr}},
    {28592, {"ISO-8859-2", nullptr, nullptr}},
    {28595, {"ISO-8859-5", nullptr, nullptr}},
    {28597, {"ISO-8859-7", nullptr, nullptr}},
    {28605, {"ISO-8859-15", nullptr, nullptr}},
};

const CodePageNames* FindIconvNames(int codePage) {
  for (const auto& entry : kIconvNames)
    if (entry.codePage == codePage) return &entry;
  return nullptr;
}

// 0x80..0x9F of code page 1252. The five unassigned bytes map to the C1
// controls of the same value, so every byte survives a round trip (symbol
// fonts use all of them).
constexpr char16_t kWestern80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Converters are stateful, so each thread keeps its own; descriptors are
// opened once per code page and direction and reset before every use.
class IconvCache {
 public:
  ~IconvCache() {
    for (auto& [key, cd] : map_)
      if (cd != Invalid()) iconv_close(cd);
  }
  // Decoder (code page -> UTF-16LE) or encoder; Invalid() when iconv lacks the code page.
  iconv_t Get(int codePage, bool decode) {
    const auto key = std::make_pair(codePage, decode);
    auto it = map_.find(key);
    if (it != map_.end()) return it->second;
    iconv_t cd = Invalid();
    if (const CodePageNames* entry = FindIconvNames(codePage)) {
      for (const char* name : entry->names) {
        if (!name) break;
        cd = decode ? iconv_open("UTF-16LE", name) : iconv_open(name, "UTF-16LE");
        if (cd != Invalid()) break;
      }
    }
    map_.emplace(key, cd);
    return cd;
  }
  static iconv_t Invalid() { return reinterpret_cast<iconv_t>(-1); }

 private:
  std::map<std::pair<int, bool>, iconv_t> map_;
};

IconvCache& Cache() {
  thread_local IconvCache cache;
  return cache;
}

enum class Scheme { Unknown, Utf8, Ascii, Western, Iconv };

// How text in a code page is converted. A code page this machine cannot
// convert is Unknown: the conversion yields nothing, so that callers notice
// and retry with the system code page instead of getting some other code
// page's reading of the bytes.
Scheme SchemeOf(int codePage, bool decode, iconv_t& cd) {
  switch (codePage) {
    case kUtf8: return Scheme::Utf8;
    case kAscii: return Scheme::Ascii;
    case kWestern: return Scheme::Western;
    default: break;
  }
  if (!FindIconvNames(codePage)) return Scheme::Unknown;
  cd = Cache().Get(codePage, decode);
  return cd == IconvCache::Invalid() ? Scheme::Unknown : Scheme::Iconv;
}

// ---------------------------------------------------------------- lead bytes

bool IsLead(int codePage, uint8_t b) {
  switch (codePage) {
    case 936:
    case 950:
    case 949: return b >= 0x81 && b <= 0xFE;
    case 932: return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 1361: return (b >= 0x84 && b <= 0xD3) || (b >= 0xD8 && b <= 0xDE) || (b >= 0xE0 && b <= 0xF9);
    default: return false;
  }
}

// A byte that can follow a lead byte. Controls, space, digits and most
// punctuation never can, so a stray lead byte does not swallow a line break.
bool IsTrail(int codePage, uint8_t b) {
  switch (codePage) {
    case 936:
    case 950: return b >= 0x40 && b <= 0xFE && b != 0x7F;
    case 932: return b >= 0x40 && b <= 0xFC && b != 0x7F;
    case 949: return b >= 0x41 && b <= 0xFE && b != 0x7F;
    case 1361: return b >= 0x31 && b <= 0xFE && b != 0x7F;
    default: return false;
  }
}

bool IsDbcs(int codePage) {
  return codePage == 936 || codePage == 950 || codePage == 932 || codePage == 949 || codePage == 1361;
}

// Bytes in the character at i (i < size); codePage already resolved.
size_t CharLenAt(int codePage, std::string_view text, size_t i) {
  const auto b = static_cast<uint8_t>(text[i]);
  if (i + 1 < text.size() && IsLead(codePage, b) && IsTrail(codePage, static_cast<uint8_t>(text[i + 1]))) return 2;
  return 1;
}

// ---------------------------------------------------------------- UTF-8

// Ill-formed sequences become one U+FFFD per maximal subpart, as Unicode recommends.
void DecodeUtf8(std::string_view s, std::u16string& out) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    const auto b0 = static_cast<uint8_t>(s[i]);
    if (b0 < 0x80) {
      out.push_back(b0);
      ++i;
      continue;
    }
    int need;
    uint8_t lo = 0x80, hi = 0xBF;
    char32_t cp;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      need = 1;
      cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      need = 2;
      cp = b0 & 0x0F;
      if (b0 == 0xE0) lo = 0xA0;
      if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      need = 3;
      cp = b0 & 0x07;
      if (b0 == 0xF0) lo = 0x90;
      if (b0 == 0xF4) hi = 0x8F;
    } else {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < need; ++k, ++j) {
      if (j >= n) {
        ok = false;
        break;
      }
      const auto b = static_cast<uint8_t>(s[j]);
      if (b < lo || b > hi) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (b & 0x3F);
      lo = 0x80;
      hi = 0xBF;
    }
    if (!ok) {
      out.push_back(kReplacement);
      i = j;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i = j;
  }
}

// Unpaired surrogates become `replacement` (already UTF-8).
std::string EncodeUtf8(std::u16string_view s, std::string_view replacement, bool* replaced) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDFFF) {
      if (c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
        ++i;
      } else {
        out += replacement;
        if (replaced) *replaced = true;
        continue;
      }
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

// ---------------------------------------------------------------- iconv loops

constexpr size_t kChunk = 4096;

// Flushes any character the converter holds back (some combine diacritics)
// and returns it to its initial state.
void FlushInto(iconv_t cd, char* buf, std::string& bytes) {
  char* o = buf;
  size_t oLeft = kChunk;
  iconv(cd, nullptr, nullptr, &o, &oLeft);
  bytes.append(buf, static_cast<size_t>(o - buf));
}

void DecodeIconv(iconv_t cd, int codePage, std::string_view text, std::u16string& out) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char buf[kChunk];
  std::string bytes;  // UTF-16LE output, bounded by a few bytes per input byte
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  while (inLeft > 0) {
    char* o = buf;
    size_t oLeft = kChunk;
    const size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    bytes.append(buf, static_cast<size_t>(o - buf));
    if (r != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    FlushInto(cd, buf, bytes);
    // One replacement per bad character: a lead byte takes its trail byte with
    // it, as character stepping does; a truncated tail is one character.
    size_t skip = inLeft;
    if (errno == EILSEQ) skip = CharLenAt(codePage, std::string_view(in, inLeft), 0);
    bytes.push_back(static_cast<char>(kReplacement & 0xFF));
    bytes.push_back(static_cast<char>(kReplacement >> 8));
    in += skip;
    inLeft -= skip;
  }
  FlushInto(cd, buf, bytes);
  out.reserve(out.size() + bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    out.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8)));
}

std::string EncodeIconv(iconv_t cd, std::u16string_view text, bool& usedDefault) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char buf[kChunk];
  std::string out;
  char* in = const_cast<char*>(reinterpret_cast<const char*>(text.data()));
  const char* const start = in;
  size_t inLeft = text.size() * 2;
  while (inLeft > 0) {
    char* o = buf;
    size_t oLeft = kChunk;
    const size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    out.append(buf, static_cast<size_t>(o - buf));
    if (r != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    FlushInto(cd, buf, out);
    // An unmappable pair of surrogates is one character and one "?".
    size_t skip = inLeft;
    if (errno == EILSEQ) {
      const size_t unit = static_cast<size_t>(in - start) / 2;
      const char16_t c = text[unit];
      skip = 2;
      if (c >= 0xD800 && c <= 0xDBFF && unit + 1 < text.size() && text[unit + 1] >= 0xDC00 && text[unit + 1] <= 0xDFFF)
        skip = 4;
      skip = std::min(skip, inLeft);
    }
    out.push_back('?');
    usedDefault = true;
    in += skip;
    inLeft -= skip;
  }
  FlushInto(cd, buf, out);
  return out;
}

bool AllAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<uint8_t>(c) < 0x80; });
}

bool AllAscii(std::u16string_view s) {
  return std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x80; });
}

// Johab puts the won sign at 0x5C, so ASCII-only text is not plain ASCII there.
bool AsciiCompatible(int codePage) { return codePage != 1361; }

}  // namespace

// ---------------------------------------------------------------- system code page

int GetACP() { return g_acp.load(std::memory_order_relaxed); }

void SetACP(int codePage) {
  if (codePage == CP_ACP) return;
  codePage = ResolveCodePage(codePage);
  if (!IsValidCodePage(codePage)) throw std::invalid_argument("Unknown code page " + std::to_string(codePage));
  g_acp.store(codePage, std::memory_order_relaxed);
}

int ResolveCodePage(int codePage) {
  switch (codePage) {
    case CP_ACP: return GetACP();
    case CP_OEMCP: return kOem;
    case CP_MACCP: return kMac;
    default: return codePage;
  }
}

bool IsValidCodePage(int codePage) {
  codePage = ResolveCodePage(codePage);
  if (codePage == kUtf8 || codePage == kAscii || codePage == kWestern) return true;
  return FindIconvNames(codePage) && Cache().Get(codePage, true) != IconvCache::Invalid() &&
         Cache().Get(codePage, false) != IconvCache::Invalid();
}

int CharsetToCodePage(int charset) {
  switch (charset) {
    case ANSI_CHARSET: return 1252;
    case SYMBOL_CHARSET: return 1252;  // symbol fonts index their glyphs by byte
    case MAC_CHARSET: return kMac;
    case SHIFTJIS_CHARSET: return 932;
    case HANGEUL_CHARSET: return 949;
    case JOHAB_CHARSET: return 1361;
    case GB2312_CHARSET: return 936;
    case CHINESEBIG5_CHARSET: return 950;
    case GREEK_CHARSET: return 1253;
    case TURKISH_CHARSET: return 1254;
    case VIETNAMESE_CHARSET: return 1258;
    case HEBREW_CHARSET: return 1255;
    case ARABIC_CHARSET: return 1256;
    case BALTIC_CHARSET: return 1257;
    case RUSSIAN_CHARSET: return 1251;
    case THAI_CHARSET: return 874;
    case EASTEUROPE_CHARSET: return 1250;
    case OEM_CHARSET: return kOem;
    default: return GetACP();
  }
}

int CodePageToCharset(int codePage) {
  switch (ResolveCodePage(codePage)) {
    case 1252: return ANSI_CHARSET;
    case 10000: return MAC_CHARSET;
    case 932: return SHIFTJIS_CHARSET;
    case 949: return HANGEUL_CHARSET;
    case 1361: return JOHAB_CHARSET;
    case 936: return GB2312_CHARSET;
    case 950: return CHINESEBIG5_CHARSET;
    case 1253: return GREEK_CHARSET;
    case 1254: return TURKISH_CHARSET;
    case 1258: return VIETNAMESE_CHARSET;
    case 1255: return HEBREW_CHARSET;
    case 1256: return ARABIC_CHARSET;
    case 1257: return BALTIC_CHARSET;
    case 1251: return RUSSIAN_CHARSET;
    case 874: return THAI_CHARSET;
    case 1250: return EASTEUROPE_CHARSET;
    case 437: return OEM_CHARSET;
    default: return DEFAULT_CHARSET;
  }
}

// ---------------------------------------------------------------- conversion

std::u16string MultiByteToWideChar(int codePage, std::string_view text) {
  codePage = ResolveCodePage(codePage);
  std::u16string out;
  if (text.empty()) return out;
  iconv_t cd = IconvCache::Invalid();
  const Scheme scheme = SchemeOf(codePage, true, cd);
  if (scheme == Scheme::Unknown) return out;
  if (codePage != kUtf8 && AsciiCompatible(codePage) && AllAscii(text)) return std::u16string(text.begin(), text.end());
  switch (scheme) {
    case Scheme::Unknown: break;
    case Scheme::Utf8: DecodeUtf8(text, out); break;
    case Scheme::Ascii:
      out.reserve(text.size());
      for (char c : text) out.push_back(static_cast<uint8_t>(c) < 0x80 ? static_cast<char16_t>(c) : kReplacement);
      break;
    case Scheme::Western:
      out.reserve(text.size());
      for (char c : text) {
        const auto b = static_cast<uint8_t>(c);
        out.push_back(b >= 0x80 && b < 0xA0 ? kWestern80[b - 0x80] : static_cast<char16_t>(b));
      }
      break;
    case Scheme::Iconv: DecodeIconv(cd, codePage, text, out); break;
  }
  return out;
}

std::string WideCharToMultiByte(int codePage, std::u16string_view text, bool* usedDefaultChar) {
  codePage = ResolveCodePage(codePage);
  bool usedDefault = false;
  std::string out;
  iconv_t cd = IconvCache::Invalid();
  const Scheme scheme = SchemeOf(codePage, false, cd);
  if (scheme == Scheme::Unknown) {
    // Nothing converts; not a use of the default character.
  } else if (codePage != kUtf8 && AsciiCompatible(codePage) && AllAscii(text)) {
    out.assign(text.begin(), text.end());
  } else {
    switch (scheme) {
      case Scheme::Unknown: break;
      case Scheme::Utf8: out = EncodeUtf8(text, "?", &usedDefault); break;
      case Scheme::Ascii:
        out.reserve(text.size());
        for (char16_t c : text) {
          if (c >= 0x80) usedDefault = true;
          out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        }
        break;
      case Scheme::Western:
        out.reserve(text.size());
        for (size_t i = 0; i < text.size(); ++i) {
          const char16_t c = text[i];
          if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.push_back(static_cast<char>(c));
            continue;
          }
          const auto* hit = std::find(std::begin(kWestern80), std::end(kWestern80), c);
          if (hit != std::end(kWestern80)) {
            out.push_back(static_cast<char>(0x80 + (hit - std::begin(kWestern80))));
            continue;
          }
          out.push_back('?');
          usedDefault = true;
          // A surrogate pair is one character and one "?".
          if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
        }
        break;
      case Scheme::Iconv: out = EncodeIconv(cd, text, usedDefault); break;
    }
  }
  if (usedDefaultChar) *usedDefaultChar = usedDefault;
  return out;
}

// ---------------------------------------------------------------- character stepping

bool IsDBCSCodePage(int codePage) { return IsDbcs(ResolveCodePage(codePage)); }

bool IsDBCSLeadByteEx(int codePage, uint8_t byte) { return IsLead(ResolveCodePage(codePage), byte); }

size_t CharNextEx(int codePage, std::string_view text, size_t index) {
  if (index >= text.size()) return text.size();
  return index + CharLenAt(ResolveCodePage(codePage), text, index);
}

size_t CharPrevEx(int codePage, std::string_view text, size_t index) {
  codePage = ResolveCodePage(codePage);
  index = std::min(index, text.size());
  if (index == 0) return 0;
  if (!IsDbcs(codePage)) return index - 1;
  // A byte that is not a lead byte always ends a character (alone or as a
  // trail byte), so the position after the nearest one is a true boundary.
  // Step forward from there.
  size_t from = index - 1;
  while (from > 0 && IsLead(codePage, static_cast<uint8_t>(text[from - 1]))) --from;
  size_t prev = from;
  for (size_t i = from; i < index; i += CharLenAt(codePage, text, i)) prev = i;
  return prev;
}

TCodePageUnits::TCodePageUnits(int codePage)
    : codePage_(ResolveCodePage(codePage)), dbcs_(IsDbcs(codePage_)) {}

size_t TCodePageUnits::CharAt(std::string_view text, size_t i, uint16_t& code) const {
  const auto b = static_cast<uint8_t>(text[i]);
  if (dbcs_ && CharLenAt(codePage_, text, i) == 2) {
    code = static_cast<uint16_t>(b << 8 | static_cast<uint8_t>(text[i + 1]));
    return 2;
  }
  code = b;
  return 1;
}

char16_t TCodePageUnits::Unit(uint16_t code) {
  auto& page = pages_[code >> 8];
  if (!page) {
    page = std::make_unique<std::array<char16_t, 256>>();
    page->fill(0);
  }
  char16_t& unit = (*page)[code & 0xFF];
  // 0 marks "not converted yet"; the NUL byte itself converts to 0 each time.
  if (unit == 0 && code != 0) {
    char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    const std::string_view text = code > 0xFF ? std::string_view(bytes, 2) : std::string_view(bytes + 1, 1);
    const std::u16string units = MultiByteToWideChar(codePage_, text);
    unit = !units.empty() && units[0] != 0 ? units[0] : u'\xFFFD';
  }
  return unit;
}

TCodePageUnits& CodePageUnits(int codePage) {
  static std::map<int, std::unique_ptr<TCodePageUnits>> codePages;
  auto& units = codePages[ResolveCodePage(codePage)];
  if (!units) units = std::make_unique<TCodePageUnits>(codePage);
  return *units;
}

size_t CharCountEx(int codePage, std::string_view text) {
  codePage = ResolveCodePage(codePage);
  if (!IsDbcs(codePage)) return text.size();
  size_t count = 0;
  for (size_t i = 0; i < text.size(); i += CharLenAt(codePage, text, i)) ++count;
  return count;
}

bool AnsiSameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const int cp = GetACP();
  const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (size_t i = 0; i < a.size();) {
    if (i + 1 < a.size() && IsLead(cp, static_cast<uint8_t>(a[i]))) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      i += 2;
    } else {
      if (fold(a[i]) != fold(b[i])) return false;
      ++i;
    }
  }
  return true;
}

// ---------------------------------------------------------------- UTF-8 helpers

std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  DecodeUtf8(s, out);
  return out;
}

std::string Utf16ToUtf8(std::u16string_view s) { return EncodeUtf8(s, "\xEF\xBF\xBD", nullptr); }

std::string Utf8ToAnsi(std::string_view s) { return WideCharToMultiByte(CP_ACP, Utf8ToUtf16(s)); }

std::string AnsiToUtf8(std::string_view s) { return Utf16ToUtf8(MultiByteToWideChar(CP_ACP, s)); }

}  // namespace quillet
