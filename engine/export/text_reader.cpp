// Plain text into the document: 8-bit and UTF-16 files and streams become
// items of one text style, a line each.
#include <string>
#include <string_view>

#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "engine/text/charsets.h"
#include "engine/text/item_text.h"
#include "platform/core/scoped_value.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

constexpr char16_t kParaSeparator = 0x2029, kLineSeparator = 0x2028, kVerticalTab = 0x0B, kFormFeed = 0x0C;

std::string ReadRest(TStream& stream) {
  const int64_t size = stream.Remaining();
  if (size <= 0) return {};
  if (size > TMemoryStream::MaxSize) throw EReadError("Text too large");
  std::string bytes(static_cast<size_t>(size), '\0');
  stream.ReadBuffer(bytes.data(), size);
  return bytes;
}

// The lines of 8-bit text. A line ends at CR or LF; the other one of the
// pair right after it belongs to the same line end, so "\n\n" is two line
// ends with a blank line between. A line end at the very end starts no line.
template <class Line>
void ForEachLine(std::string_view text, Line line) {
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    line(text.substr(start, i - start));
    const char opposite = c == '\r' ? '\n' : '\r';
    if (i + 1 < text.size() && text[i + 1] == opposite) ++i;
    start = i + 1;
  }
  if (start < text.size()) line(text.substr(start));
}

}  // namespace

bool TCustomDVData::LoadTextFromStream(TStream& stream, int32_t styleNo, int32_t paraNo, bool asSingleParagraph) {
  const std::string text = ReadRest(stream);
  const TScopedValue<bool> restore(allowNewPara_, allowNewPara_);
  const bool unicode = IsUnicodeStyle(styleNo);
  const int codePage = GetStyleCodePage(styleNo);
  const bool pageBreaks = SupportsPageBreaks();
  bool pageBreakPending = false;
  auto add = [&](std::string_view part) {
    std::string s(part);
    Replace0(s);
    if (unicode) s = DVU_AnsiToUnicode(codePage, s);
    AddNL(std::move(s), styleNo, paraNo);
    if (pageBreakPending) GetItem(ItemCount() - 1)->SetPageBreakBefore(true);
    pageBreakPending = false;
    if (asSingleParagraph) allowNewPara_ = false;
  };
  ForEachLine(text, [&](std::string_view line) {
    if (!pageBreaks || line.find('\f') == std::string_view::npos) {
      add(line);
      return;
    }
    for (size_t ff; (ff = line.find('\f')) != std::string_view::npos; line.remove_prefix(ff + 1)) {
      if (ff > 0) add(line.substr(0, ff));
      pageBreakPending = true;
    }
    if (!line.empty()) add(line);
  });
  return true;
}

bool TCustomDVData::LoadText(const std::string& fileName, int32_t styleNo, int32_t paraNo, bool asSingleParagraph) {
  TFileStream file(fileName, fmOpenRead);
  return LoadTextFromStream(file, styleNo, paraNo, asSingleParagraph);
}

bool TCustomDVData::LoadTextFromStreamW(TStream& stream, int32_t styleNo, int32_t paraNo,
                                        bool defAsSingleParagraph) {
  std::string text = ReadRest(stream);
  // Half a code unit is no text: refused before anything is added.
  if (text.size() % 2 != 0) return false;
  size_t start = 0;
  if (text.size() >= 2) {
    const auto mark = static_cast<uint16_t>(static_cast<uint8_t>(text[0]) | (static_cast<uint8_t>(text[1]) << 8));
    if (mark == 0xFEFF) {
      start = 2;
    } else if (mark == 0xFFFE) {
      start = 2;
      DVU_SwapWordBytes(text);
    }
  }
  AddTextNLW(text.substr(start), styleNo, paraNo, paraNo, defAsSingleParagraph);
  return true;
}

bool TCustomDVData::LoadTextW(const std::string& fileName, int32_t styleNo, int32_t paraNo,
                              bool defAsSingleParagraph) {
  TFileStream file(fileName, fmOpenRead);
  return LoadTextFromStreamW(file, styleNo, paraNo, defAsSingleParagraph);
}

void TCustomDVData::AddTextNLW(const std::string& text, int32_t styleNo, int32_t firstParaNo,
                               int32_t otherParaNo, bool asSingleParagraph) {
  if (text.empty()) {
    if (firstParaNo != -1) AddNL(std::string(), styleNo, firstParaNo);
    return;
  }
  DVCheckUni(text.size());
  // The first run starts a paragraph as any appended item would; each
  // separator decides how the run after it starts.
  const TScopedValue<bool> restore(allowNewPara_, allowNewPara_);
  const bool unicode = IsUnicodeStyle(styleNo);
  const int codePage = GetStyleCodePage(styleNo);
  const bool pageBreaks = SupportsPageBreaks();
  const std::u16string units = DVU_Units(text);
  int32_t paraNo = firstParaNo;
  bool pageBreakPending = false;
  size_t runStart = 0;

  // The run [runStart, end) ends at a separator (or the end of the text). An
  // empty run adds nothing while the paragraph continues or a page break
  // waits for text, but its line end still counts: the next run starts a
  // line of its own.
  auto cut = [&](size_t end) {
    const std::u16string_view run(units.data() + runStart, end - runStart);
    if (!run.empty() || (paraNo != -1 && !pageBreakPending)) {
      std::string s = DVU_UnitBytes(run);
      if (!unicode) s = DVU_UnicodeToAnsi(codePage, s);
      AddNL(std::move(s), styleNo, paraNo);
      if (pageBreakPending) GetItem(ItemCount() - 1)->SetPageBreakBefore(true);
      pageBreakPending = false;
    }
    paraNo = otherParaNo;
  };

  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t c = units[i];
    switch (c) {
      case kParaSeparator:
        cut(i);
        allowNewPara_ = true;
        break;
      case kLineSeparator:
      case kVerticalTab:
      case 0:
        cut(i);
        allowNewPara_ = false;
        break;
      case u'\r':
      case u'\n': {
        cut(i);
        allowNewPara_ = !asSingleParagraph;
        const char16_t opposite = c == u'\r' ? u'\n' : u'\r';
        if (i + 1 < units.size() && units[i + 1] == opposite) ++i;
        break;
      }
      case kFormFeed:
        if (i > runStart) {
          cut(i);
          allowNewPara_ = !asSingleParagraph;
        }
        if (pageBreaks) pageBreakPending = true;
        runStart = i + 1;
        continue;
      default:
        continue;
    }
    runStart = i + 1;
  }
  cut(units.size());
}

}  // namespace quillet
