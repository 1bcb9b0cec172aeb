// Text at the caret: 8-bit and UTF-16 strings and text files, cut into
// pieces at their separators and put in as items of the current text style.
#include <string_view>
#include <vector>

#include "editing/edit/edit_data.h"
#include "engine/text/charsets.h"
#include "engine/text/item_text.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

constexpr char16_t kParaSeparator = 0x2029, kLineSeparator = 0x2028, kVerticalTab = 0x0B, kFormFeed = 0x0C;

template <class Char>
struct TRawPiece {
  std::basic_string_view<Char> Text;
  TDVTextPiece::TStart Start = TDVTextPiece::tpsCaret;
  bool PageBreak = false;
};

// Cuts text at its line ends (CR, LF, CR LF, LF CR: a paragraph each); with
// wide also at U+2029 (a paragraph) and U+2028, VT and NUL (a line of the
// same paragraph). With formFeeds a form feed ends the piece before it
// (unless that is empty and not the first) and the next piece starts a
// paragraph on a new page. A separator at the very end gives an empty last
// piece only when trailing.
template <class Char>
std::vector<TRawPiece<Char>> SplitPieces(std::basic_string_view<Char> text, bool wide, bool formFeeds,
                                         bool trailing) {
  std::vector<TRawPiece<Char>> pieces;
  TRawPiece<Char> next;
  size_t start = 0;
  bool cutAtEnd = false;
  auto cut = [&](size_t end, TDVTextPiece::TStart following) {
    next.Text = text.substr(start, end - start);
    pieces.push_back(next);
    next = TRawPiece<Char>();
    next.Start = following;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<char16_t>(static_cast<std::make_unsigned_t<Char>>(text[i]));
    if (c == u'\r' || c == u'\n') {
      cut(i, TDVTextPiece::tpsPara);
      const char16_t partner = c == u'\r' ? u'\n' : u'\r';
      if (i + 1 < text.size() && static_cast<char16_t>(static_cast<std::make_unsigned_t<Char>>(text[i + 1])) == partner)
        ++i;
    } else if (wide && c == kParaSeparator) {
      cut(i, TDVTextPiece::tpsPara);
    } else if (wide && (c == kLineSeparator || c == kVerticalTab || c == 0)) {
      cut(i, TDVTextPiece::tpsLine);
    } else if (formFeeds && c == kFormFeed) {
      if (i > start || pieces.empty()) {
        cut(i, TDVTextPiece::tpsPara);
      } else {
        next.Start = TDVTextPiece::tpsPara;
      }
      next.PageBreak = true;
    } else {
      cutAtEnd = false;
      continue;
    }
    start = i + 1;
    cutAtEnd = true;
  }
  if (start < text.size() || !cutAtEnd || trailing) cut(text.size(), TDVTextPiece::tpsPara);
  return pieces;
}

}  // namespace

bool TDVEditDVData::InsertText_(const std::string& s, bool caretBefore) {
  if (s.empty()) {
    Invalidate();
    return true;
  }
  const int codePage = GetStyleCodePage(FCurTextStyleNo);
  const bool unicode = IsUnicodeStyle(FCurTextStyleNo);
  std::vector<TDVTextPiece> pieces;
  for (const TRawPiece<char>& raw : SplitPieces<char>(s, false, false, true)) {
    std::string text(raw.Text);
    if (unicode) text = DVU_AnsiToUnicode(codePage, text);
    ReplaceTabs(text, FCurTextStyleNo, false);
    pieces.push_back({std::move(text), raw.Start, raw.PageBreak});
  }
  return InsertTextPieces(pieces, caretBefore);
}

bool TDVEditDVData::InsertTextW_(const std::string& s, bool caretBefore) {
  if (s.empty()) {
    Invalidate();
    return true;
  }
  DVCheckUni(s.size());
  const int codePage = GetStyleCodePage(FCurTextStyleNo);
  const bool unicode = IsUnicodeStyle(FCurTextStyleNo);
  const std::u16string units = DVU_Units(s);
  std::vector<TDVTextPiece> pieces;
  for (const TRawPiece<char16_t>& raw : SplitPieces<char16_t>(units, true, true, true)) {
    std::string text = DVU_UnitBytes(raw.Text);
    if (!unicode) text = DVU_UnicodeToAnsi(codePage, text);
    ReplaceTabs(text, FCurTextStyleNo, false);
    pieces.push_back({std::move(text), raw.Start, raw.PageBreak});
  }
  return InsertTextPieces(pieces, caretBefore);
}

namespace {

// The whole file, so that a read error leaves the document as it was.
std::string ReadWholeFile(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead);
  const int64_t size = file.Remaining();
  if (size > TMemoryStream::MaxSize) throw EReadError("Text too large");
  std::string bytes(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
  if (size > 0) file.ReadBuffer(bytes.data(), size);
  return bytes;
}

// A file's text in an insertion group of its own.
template <class Insert>
bool InsertInGroup(TDVEditDVData& data, Insert insert) {
  TDVEditOperation operation(data);
  data.BeginUndoSequence(dvutInsert, true);
  const bool ok = insert();
  if (ok) data.Change();
  data.UndoList->PopIfEmpty();
  return ok;
}

}  // namespace

bool TDVEditDVData::InsertTextFromFile(const std::string& fileName, bool oem) {
  std::string bytes = ReadWholeFile(fileName);
  Replace0(bytes);
  const int codePage = GetStyleCodePage(FCurTextStyleNo);
  const bool unicode = IsUnicodeStyle(FCurTextStyleNo);
  std::vector<TDVTextPiece> pieces;
  for (const TRawPiece<char>& raw : SplitPieces<char>(bytes, false, true, false)) {
    std::string text(raw.Text);
    // OEM text goes through UTF-16 into the style's form.
    if (oem) {
      text = DVU_AnsiToUnicode(CP_OEMCP, text);
      if (!unicode) text = DVU_UnicodeToAnsi(codePage, text);
    } else if (unicode) {
      text = DVU_AnsiToUnicode(codePage, text);
    }
    ReplaceTabs(text, FCurTextStyleNo, false);
    pieces.push_back({std::move(text), raw.Start, raw.PageBreak});
  }
  if (pieces.empty()) return true;
  return InsertInGroup(*this, [&] { return InsertTextPieces(pieces, false); });
}

bool TDVEditDVData::InsertTextFromFileW(const std::string& fileName) {
  std::string bytes = ReadWholeFile(fileName);
  // Half a code unit is no text.
  if (bytes.size() % 2 != 0) {
    Beep();
    return false;
  }
  if (bytes.size() >= 2) {
    const auto mark = static_cast<uint16_t>(static_cast<uint8_t>(bytes[0]) | (static_cast<uint8_t>(bytes[1]) << 8));
    if (mark == 0xFFFE) DVU_SwapWordBytes(bytes);
    if (mark == 0xFEFF || mark == 0xFFFE) bytes.erase(0, 2);
  }
  if (bytes.empty()) return true;
  return InsertInGroup(*this, [&] { return InsertTextW_(bytes, false); });
}

}  // namespace quillet
