#include "engine/model/list_numbering.h"

#include <cctype>

#include "platform/core/code_page.h"

namespace quillet {

std::string IntToRoman(int32_t value) {
  if (value < 1) return "?";
  if (value > DVMaxRomanValue) return std::to_string(value);
  static constexpr struct {
    int32_t value;
    const char* numeral;
  } kPairs[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"}, {50, "L"},
                {40, "XL"},  {10, "X"},   {9, "IX"},  {5, "V"},    {4, "IV"},   {1, "I"}};
  std::string roman;
  for (const auto& pair : kPairs) {
    while (value >= pair.value) {
      roman += pair.numeral;
      value -= pair.value;
    }
  }
  return roman;
}

namespace {

std::string Alpha(int32_t value, char first) {
  std::string letters;
  while (value > 0) {
    letters.insert(letters.begin(), static_cast<char>(first + (value - 1) % 26));
    value = (value - 1) / 26;
  }
  return letters;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

std::string Number2Str(int32_t value, TDVListType listType) {
  switch (listType) {
    case dvlstDecimal:
    case dvlstImageListCounter:
      return std::to_string(value);
    case dvlstLowerAlpha:
      return Alpha(value, 'a');
    case dvlstUpperAlpha:
      return Alpha(value, 'A');
    case dvlstLowerRoman:
      return Lower(IntToRoman(value));
    case dvlstUpperRoman:
      return IntToRoman(value);
    default:
      return {};
  }
}

std::string DVFormatLevelNumbers(std::string_view format, const std::vector<std::string>& levels) {
  // '%', ':' and digits are never trail bytes of the double-byte code pages,
  // so scanning bytes cannot split a character.
  std::string out;
  size_t i = 0;
  while (i < format.size()) {
    const char c = format[i];
    if (c != '%') {
      out += c;
      ++i;
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      out += '%';
      i += 2;
      continue;
    }
    // "%<digits>:s" with a level that exists; anything else stays literal.
    size_t j = i + 1;
    int32_t index = 0;
    while (j < format.size() && j - i <= 3 && std::isdigit(static_cast<unsigned char>(format[j]))) {
      index = index * 10 + (format[j] - '0');
      ++j;
    }
    const bool hasDigits = j > i + 1;
    if (hasDigits && index <= DVMaxListLevel && static_cast<size_t>(index) < levels.size() && j + 1 < format.size() && format[j] == ':' &&
        (format[j + 1] == 's' || format[j + 1] == 'S')) {
      out += levels[index];
      i = j + 2;
      continue;
    }
    out += c;
    ++i;
  }
  return out;
}

std::u16string DVMarkerTextToUnicode(std::string_view text, int codePage) {
  codePage = ResolveCodePage(codePage);
  std::u16string out;
  size_t i = 0;
  while (i < text.size()) {
    const size_t next = CharNextEx(codePage, text, i);
    const std::string_view ch = text.substr(i, next - i);
    if (ch.size() == 1 && IsDBCSLeadByteEx(codePage, static_cast<uint8_t>(ch[0])))
      out += MultiByteToWideChar(1252, ch);
    else
      out += MultiByteToWideChar(codePage, ch);
    i = next;
  }
  return out;
}

}  // namespace quillet
