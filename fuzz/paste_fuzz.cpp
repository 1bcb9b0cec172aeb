// Pastes bytes from the clipboard over a selection of an editor, as a
// "DocView Format" block (a 4-byte length, then DVF) or as UTF-16 text, with
// revision tracking on or off. The first byte chooses: bit 0 tracking, bit 1
// text rather than DocView, bits 2-3 the selection. Whatever the paste did,
// undoing everything gives back the document's DVF bytes from before.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "fuzz/widget_application.h"
#include "platform/core/stream.h"
#include "platform/ui/clipboard.h"

using namespace quillet;

namespace {

constexpr TColor kReviewer = clRed;
// Styles: GBK, Unicode, then inserted and deleted of each.
constexpr int32_t kGbk = 0, kUni = 1, kInsGbk = 2, kDelGbk = 3, kInsUni = 4, kDelUni = 5;

void MakeSheet(TDVStyle& sheet) {
  TFontInfos& styles = sheet.TextStyles();
  styles[kGbk].Charset = 134;
  while (styles.Count() < 6) styles.Add();
  styles[kUni].Assign(styles[kGbk]);
  styles[kUni].Unicode = true;
  for (int32_t no : {kInsGbk, kDelGbk, kInsUni, kDelUni}) {
    styles[no].Assign(styles[no < kInsUni ? kGbk : kUni]);
    styles[no].Color = kReviewer;
    styles[no].Style = (no == kInsGbk || no == kInsUni) ? fsUnderline : fsStrikeOut;
  }
  sheet.DefUnicodeStyle = kUni;
  while (sheet.ParaStyles().Count() < 2) sheet.ParaStyles().Add();
}

// The reviewer's marks: by the Unicode flag of the style marked.
void Mark(void*, int32_t styleNo, int32_t code, bool, int32_t& newStyleNo) {
  const bool unicode = styleNo == kUni || styleNo == kInsUni || styleNo == kDelUni;
  if (code == Orvane_TraceSaveInsert) newStyleNo = unicode ? kInsUni : kInsGbk;
  if (code == Orvane_TraceSaveDelet) newStyleNo = unicode ? kDelUni : kDelGbk;
}

std::string Bytes(TDVEditDVData& data) {
  TMemoryStream stream;
  if (!data.SaveDVFToStream(stream, false, clNone, nullptr, nullptr)) std::abort();
  return stream.AsString();
}

// Others' text, the reviewer's own insertion, Unicode text, a second
// paragraph; one of four selections.
void Prepare(TDocViewEdit& editor, int selection) {
  TDVEditDVData& data = editor.EditData();
  data.Clear();
  data.AddNL("hello world", kGbk, 0);
  data.AddNL("own", kInsGbk, -1);
  data.AddNL(std::string("a\0b\0", 4), kUni, -1);
  data.AddNL("second", kGbk, 1);
  data.Format();
  switch (selection) {
    case 0: data.SetCaretAtItem(0, 3); break;
    case 1: data.SetSelectionBounds(0, 3, 0, 7); break;
    case 2: data.SetSelectionBounds(1, 1, 1, 3); break;
    default: data.SetSelectionBounds(0, 2, 3, 3); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  fuzz::StartWidgetApplication("paste_fuzz");
  static TDVStyle sheet;
  static bool styled = (MakeSheet(sheet), true);
  (void)styled;
  if (bytes == nullptr || size == 0) return 0;
  const uint8_t mode = bytes[0];
  const std::string input(reinterpret_cast<const char*>(bytes) + 1, size - 1);

  TDocViewEdit editor;
  editor.SetStyle(&sheet);
  editor.SetBounds(0, 0, 300, 200);
  editor.TraceOn = (mode & 1) != 0;
  editor.TraceUserColor = kReviewer;
  editor.TraceUserName = "r";
  editor.OnStyleConversion = Mark;
  Prepare(editor, (mode >> 2) & 3);
  TDVEditDVData& data = editor.EditData();
  const std::string before = Bytes(data);

  Clipboard().Clear();
  if (mode & 2)
    Clipboard().SetAsHandle(CF_UNICODETEXT, input);
  else
    Clipboard().SetAsHandle(RegisterClipboardFormat("DocView Format"), input);
  editor.Paste();
  while (data.UndoList->Count() > 0) editor.Undo();
  if (Bytes(data) != before) std::abort();
  return 0;
}
