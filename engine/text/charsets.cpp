#include "engine/text/charsets.h"

#include "engine/text/item_text.h"
#include "platform/core/code_page.h"

namespace quillet {

int DVU_Charset2CodePage(int charset) {
  switch (charset) {
    case DEFAULT_CHARSET:
    case SYMBOL_CHARSET: return CP_ACP;
    case MAC_CHARSET: return CP_MACCP;
    case OEM_CHARSET: return CP_OEMCP;
    default: break;
  }
  // The platform's table, for the sets it knows; every other set is the system's.
  const int codePage = CharsetToCodePage(charset);
  return CodePageToCharset(codePage) == charset ? codePage : CP_ACP;
}

int DVU_Charset2Language(int charset) {
  switch (charset) {
    case SHIFTJIS_CHARSET: return 1041;
    case HANGEUL_CHARSET: return 1042;
    case JOHAB_CHARSET: return 2066;
    case GB2312_CHARSET: return 2052;
    case CHINESEBIG5_CHARSET: return 1028;
    case GREEK_CHARSET: return 1032;
    case TURKISH_CHARSET: return 1055;
    case VIETNAMESE_CHARSET: return 1066;
    case HEBREW_CHARSET: return 1037;
    case RUSSIAN_CHARSET: return 1049;
    case THAI_CHARSET: return 1054;
    default: return 1024;
  }
}

std::string DVU_AnsiToUnicode(int codePage, std::string_view s) {
  if (s.empty()) return {};
  std::u16string units = MultiByteToWideChar(codePage, s);
  // The system code page converts every byte (bad ones to U+FFFD).
  if (units.empty()) units = MultiByteToWideChar(CP_ACP, s);
  return DVU_UnitBytes(units);
}

std::string DVU_UnicodeToAnsi(int codePage, std::string_view s) {
  DVCheckUni(s.size());
  if (s.empty()) return {};
  const std::u16string units = DVU_Units(s);
  std::string out = WideCharToMultiByte(codePage, units);
  if (out.empty()) out = WideCharToMultiByte(CP_ACP, units);
  return out;
}

int DVU_GetKeyboardCodePage() { return GetACP(); }

std::string DVU_KeyToUnicode(std::string_view s) { return DVU_AnsiToUnicode(DVU_GetKeyboardCodePage(), s); }

}  // namespace quillet
