// Paste: the clipboard's best format goes in at the caret as one undo group;
// with tracking what went in then takes the "inserted" style and its
// pictures the reviewer's inserted name. Clipboard data comes from any
// program, so it is checked before anything changes.
#include <algorithm>
#include <optional>

#include "editing/control/editor.h"
#include "engine/model/picture_item.h"
#include "engine/text/item_text.h"
#include "platform/core/code_page.h"
#include "platform/core/scoped_value.h"
#include "platform/core/stream.h"
#include "platform/gfx/graphic.h"
#include "platform/ui/clipboard.h"

namespace quillet {

namespace {

TClipboardFormat DocViewFormat() { return RegisterClipboardFormat("DocView Format"); }
TClipboardFormat RtfFormat() { return RegisterClipboardFormat("Rich Text Format"); }

// The DVF stream of a "DocView Format" block: a 4-byte little-endian length,
// then that many bytes (the rest ignored). Nothing for a block that is
// shorter than it says.
std::optional<std::string> DocViewStream() {
  std::optional<std::string> block = Clipboard().GetAsHandle(DocViewFormat());
  if (!block || block->size() < 4) return std::nullopt;
  const auto byte = [&](size_t i) { return static_cast<uint64_t>(static_cast<uint8_t>((*block)[i])); };
  const uint64_t length = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
  if (length > block->size() - 4) return std::nullopt;
  return block->substr(4, static_cast<size_t>(length));
}

std::u16string ClipboardText() {
  const std::optional<std::string> units = Clipboard().GetAsHandle(CF_UNICODETEXT);
  return units ? DVU_Units(*units) : std::u16string();
}

TMemoryStream StreamOf(const std::string& bytes) {
  TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  stream.SetPosition(0);
  return stream;
}

bool IsPicture(int32_t styleNo) { return styleNo == dvsPicture || styleNo == dvsHotPicture; }

// The first format Paste can use.
TPasteFormatKind BestFormat() {
  TClipboard& clipboard = Clipboard();
  if (clipboard.HasFormat(DocViewFormat())) return DocViewStream() ? TPasteFormatKind::DocView : TPasteFormatKind::None;
  if (clipboard.HasFormat(RtfFormat())) return TPasteFormatKind::Rtf;
  if (clipboard.HasFormat(CF_UNICODETEXT)) return ClipboardText().empty() ? TPasteFormatKind::None : TPasteFormatKind::Text;
  if (clipboard.HasFormat(CF_BITMAP)) return TPasteFormatKind::Bitmap;
  return TPasteFormatKind::None;
}

}  // namespace

bool TCustomDocViewEdit::CanPaste() const { return !ReadOnly && BestFormat() != TPasteFormatKind::None; }
bool TCustomDocViewEdit::CanPasteDVF() const { return !ReadOnly && DocViewStream().has_value(); }
bool TCustomDocViewEdit::CanPasteRTF() const { return !ReadOnly && Clipboard().HasFormat(RtfFormat()); }

bool TCustomDocViewEdit::PasteDVF() {
  const std::optional<std::string> dvf = DocViewStream();
  if (!dvf) return false;
  TDVInsertionScope insertion(*this);
  if (!insertion.Allowed()) return false;
  TMemoryStream stream = StreamOf(*dvf);
  return EditData().InsertDVFFromStreamEd_(stream);
}

bool TCustomDocViewEdit::PasteRTF() {
  const std::optional<std::string> rtf = Clipboard().GetAsHandle(RtfFormat());
  if (!rtf) return false;
  if (!EditData().GetRTFProperties()) {
    EditData().Beep();
    return false;
  }
  TDVInsertionScope insertion(*this);
  if (!insertion.Allowed()) return false;
  TMemoryStream stream = StreamOf(*rtf);
  return EditData().InsertRTFFromStreamEd_(stream);
}

bool TCustomDocViewEdit::PasteText() {
  const std::u16string text = ClipboardText();
  if (text.empty()) return false;
  TDVInsertionScope insertion(*this);
  return insertion.Allowed() && InsertPreparedText(text, false);
}

bool TCustomDocViewEdit::PasteBitmap(bool textAsName) {
  auto bitmap = std::make_unique<TBitmap>();
  if (!Clipboard().GetBitmap(*bitmap)) return false;
  std::string name = textAsName ? WideCharToMultiByte(GetACP(), ClipboardText()) : std::string();
  TDVInsertionScope insertion(*this);
  if (!insertion.Allowed()) return false;
  TDVEditDVData& data = EditData();
  std::unique_ptr<TCustomDVItemInfo> item =
      std::make_unique<TDVGraphicItemInfo>(&data, std::move(bitmap), dvvaBaseline);
  item->StyleNo = dvsPicture;
  return data.InsertSomething(item, name, false, false);
}

void TCustomDocViewEdit::Paste() {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->Paste();
  TDVEditDVData& data = EditData();
  const TPasteFormatKind format = ReadOnly ? TPasteFormatKind::None : BestFormat();
  // Nothing usable: the selection stays.
  if (format == TPasteFormatKind::None) {
    data.Beep();
    return;
  }
  // Deleted (or marked) before the host may cancel: a host that pastes
  // itself relies on it.
  if (data.SelectionExists(false, false) && (!DeleteSelection() || data.SelectionExists(false, false))) return;
  if (!BeforeChange(false)) return;
  bool doDefault = true;
  if (OnPaste) OnPaste(*this, doDefault);
  if (!doDefault) return;

  // The paste's start as a position that stays put while the paste goes in
  // after it: the previous item's end rather than an item's start.
  int startNo = data.GetCurItemNo();
  int32_t startOffs = data.GetOffsetInCurItem();
  if (startNo > 0 && startOffs <= data.GetOffsBeforeItem(startNo)) {
    --startNo;
    startOffs = data.GetOffsAfterItem(startNo);
  }
  const bool atDocStart = startNo <= 0 && startOffs <= data.GetOffsBeforeItem(std::max(startNo, 0));

  TDVEditOperation operation(data);
  data.BeginUndoSequence(dvutInsert, true);
  {
    // The insertion, its marks and its names: one group.
    TDVUndoGroupMode group(data);
    if (PasteFormat(format)) MarkPasted(startNo, startOffs, atDocStart);
  }
  data.UndoList->PopIfEmpty();
  Refresh();
}

bool TCustomDocViewEdit::PasteFormat(TPasteFormatKind format) {
  try {
    switch (format) {
      case TPasteFormatKind::DocView: return PasteDVF();
      case TPasteFormatKind::Rtf: return PasteRTF();
      case TPasteFormatKind::Text: return PasteText();
      default: return PasteBitmap(false);
    }
  } catch (const std::exception&) {
    EditData().Beep();
    return false;
  }
}

void TCustomDocViewEdit::MarkPasted(int startNo, int32_t startOffs, bool atDocStart) {
  TDVEditDVData& data = EditData();
  if (data.ItemCount() == 0) return;
  if (atDocStart) {
    startNo = 0;
    startOffs = data.GetOffsBeforeItem(0);
  }
  data.SetSelectionBounds(startNo, startOffs, data.GetCurItemNo(), data.GetOffsetInCurItem());
  if (TraceOn) {
    const TScopedValue<int> paste(data.IsPaste, 1);
    ApplyTraceConversion(Orvane_TraceSaveInsert);
  }
  // Only the pictures the paste put in are named: not one before its start
  // or after its end.
  int first, last;
  int32_t firstOffs, lastOffs;
  data.GetSelectionBoundsEx(first, firstOffs, last, lastOffs, true);
  if (first >= 0 && data.GetItemStyle(first) < 0 && firstOffs >= 1 && !atDocStart) ++first;
  if (last >= 0 && data.GetItemStyle(last) < 0 && lastOffs < 1) --last;
  const std::string name = TraceOn ? InsertedPictureName() : Utf8ToAnsi("图片");
  for (int i = std::max(first, 0); i <= last; ++i)
    if (IsPicture(data.GetItemStyle(i))) data.Do_ChangeText(i, name);
  data.CaretMoveBack();
}

}  // namespace quillet
