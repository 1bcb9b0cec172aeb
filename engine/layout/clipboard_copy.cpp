// Copying the selection to the clipboard in the formats the editor's paste
// reads back: "DocView Format", text, a picture, UTF-16 text and "Rich Text
// Format".
#include <climits>
#include <optional>

#include "engine/layout/formatted_data.h"
#include "engine/base/doc_view_error.h"
#include "engine/text/item_text.h"
#include "platform/core/stream.h"
#include "platform/gfx/graphic.h"
#include "platform/ui/clipboard.h"

namespace quillet {

namespace {

constexpr char kDocViewFormat[] = "DocView Format";
constexpr char kRTFFormat[] = "Rich Text Format";

[[noreturn]] void CopyFailed() { throw EDocViewError("Can't copy the selection"); }

std::string StreamBytes(const TMemoryStream& stream) {
  return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

// The clipboard takes bitmaps; other pictures are drawn into one.
TBitmap AsBitmap(const TGraphic& graphic) {
  if (auto* bitmap = dynamic_cast<const TBitmap*>(&graphic)) return *bitmap;
  TBitmap bitmap(graphic.Width(), graphic.Height());
  graphic.Paint(bitmap.Canvas(), Rect(0, 0, graphic.Width(), graphic.Height()));
  return bitmap;
}

}  // namespace

void TCustomDVFormattedData::Copy(TColor color, const TDVBackground* background) {
  if (TCustomDVFormattedData* chosen = ChosenFormattedData()) {
    chosen->Copy(color, background);
    return;
  }
  if (SelectionExists(true, true)) CopyFormats(cfDVF | cfText | cfImage | cfUnicodeText | cfRTF, color, background);
}

bool TCustomDVFormattedData::CopyDef(TColor color, const TDVBackground* background) {
  if (TCustomDVFormattedData* chosen = ChosenFormattedData()) return chosen->CopyDef(color, background);
  const TDVOptions options = GetOptions();
  if (!(options & (dvoAutoCopyText | dvoAutoCopyDVF | dvoAutoCopyUnicodeText | dvoAutoCopyRTF | dvoAutoCopyImage)) &&
      !IsAssignedCopy())
    return false;
  if (!SelectionExists(true, true)) return true;
  uint8_t formats = 0;
  if (options & dvoAutoCopyDVF) formats |= cfDVF;
  // With UTF-16 text on the clipboard the system answers for the 8-bit text.
  if ((options & dvoAutoCopyText) && !(DVNT && (options & dvoAutoCopyUnicodeText))) formats |= cfText;
  if (options & dvoAutoCopyImage) formats |= cfImage;
  if (options & dvoAutoCopyUnicodeText) formats |= cfUnicodeText;
  if (options & dvoAutoCopyRTF) formats |= cfRTF;
  CopyFormats(formats, color, background);
  return true;
}

void TCustomDVFormattedData::CopyFormats(uint8_t formats, TColor color, const TDVBackground* background) {
  // Every block is complete before the clipboard is opened, so a writer that
  // fails leaves the clipboard as it was.
  std::optional<std::string> dvf, text, unicodeText, rtf;
  std::optional<TBitmap> picture;
  if (formats & cfDVF) dvf = CopyDVF_(color, background);
  if (formats & cfText) text = CopyText_();
  if (formats & cfImage)
    if (const TGraphic* graphic = GetSelectedImage(); graphic && !graphic->Empty()) picture = AsBitmap(*graphic);
  if (formats & cfUnicodeText) unicodeText = CopyTextW_();
  if (formats & cfRTF) rtf = CopyRTF_(color, background);

  TClipboard& clipboard = Clipboard();
  clipboard.Open();
  struct CloseGuard {
    TClipboard& clipboard;
    ~CloseGuard() { clipboard.Close(); }
  } close{clipboard};
  // The first block set in the session replaces the old content, all of it
  // at the last close.
  DoCopy();
  if (dvf) clipboard.SetAsHandle(RegisterClipboardFormat(kDocViewFormat), *dvf);
  if (text) clipboard.SetAsHandle(CF_TEXT, *text);
  if (picture) clipboard.SetBitmap(*picture);
  if (unicodeText) clipboard.SetAsHandle(CF_UNICODETEXT, *unicodeText);
  if (rtf) clipboard.SetAsHandle(RegisterClipboardFormat(kRTFFormat), *rtf);
}

std::string TCustomDVFormattedData::CopyDVF_(TColor color, const TDVBackground* background) {
  // A 4-byte little-endian count of the DVF bytes that follow.
  TMemoryStream stream;
  WriteI32(stream, 0);
  if (!SaveDVFToStream(stream, true, color, background, nullptr)) CopyFailed();
  const int64_t size = stream.GetPosition() - 4;
  if (size > INT32_MAX) CopyFailed();
  stream.SetPosition(0);
  WriteI32(stream, static_cast<int32_t>(size));
  return StreamBytes(stream);
}

std::string TCustomDVFormattedData::CopyText_() {
  std::string text;
  if (!SaveSelText(false, text)) CopyFailed();
  return text;
}

std::string TCustomDVFormattedData::CopyTextW_() {
  std::string text;
  if (!SaveSelText(true, text)) CopyFailed();
  return text;
}

std::string TCustomDVFormattedData::CopyRTF_(TColor color, const TDVBackground* background) {
  TMemoryStream stream;
  if (!SaveRTFToStream(stream, true, color, background)) CopyFailed();
  return StreamBytes(stream);
}

}  // namespace quillet
