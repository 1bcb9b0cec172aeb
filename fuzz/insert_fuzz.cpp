// Inserts bytes at a caret inside a word of an editor, as a DVF stream and
// as UTF-16 text. A refused insertion leaves the document's DVF bytes as
// they were and no undo group; a successful one is undone back to them.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "fuzz/widget_application.h"
#include "platform/core/stream.h"

using namespace quillet;

namespace {

std::string Bytes(TDVEditDVData& data) {
  TMemoryStream stream;
  if (!data.SaveDVFToStream(stream, false, clNone, nullptr, nullptr)) std::abort();
  return stream.AsString();
}

// A GBK text, a Unicode one and a list paragraph, the caret inside "hello".
void Prepare(TDocViewEdit& editor) {
  TDVEditDVData& data = editor.EditData();
  data.Clear();
  data.AddNL("hello world", 0, 0);
  data.AddNL(std::string("a\0b\0", 4), 1, -1);
  data.AddNL("second", 0, 1);
  data.Format();
  data.SetCaretAtItem(0, 3);
}

void UndoAll(TDVEditDVData& data, const std::string& before) {
  while (data.UndoList->Count() > 0) data.UndoList->Undo(data);
  if (Bytes(data) != before) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  fuzz::StartWidgetApplication("insert_fuzz");
  static TDVStyle sheet;
  static bool styled = [] {
    sheet.TextStyles()[0].Charset = 134;
    sheet.TextStyles().Add().Assign(sheet.TextStyles()[0]);
    sheet.TextStyles()[1].Unicode = true;
    while (sheet.ParaStyles().Count() < 2) sheet.ParaStyles().Add();
    return true;
  }();
  (void)styled;
  if (bytes == nullptr) return 0;
  const std::string input(reinterpret_cast<const char*>(bytes), size);

  TDocViewEdit editor;
  editor.SetStyle(&sheet);
  editor.SetBounds(0, 0, 300, 200);
  TDVEditDVData& data = editor.EditData();

  Prepare(editor);
  std::string before = Bytes(data);
  TMemoryStream stream;
  stream.WriteString(input);
  stream.SetPosition(0);
  if (data.InsertDVFFromStreamEd_(stream)) {
    UndoAll(data, before);
  } else if (Bytes(data) != before || data.UndoList->Count() != 0) {
    std::abort();
  }

  Prepare(editor);
  before = Bytes(data);
  const std::string text = input.substr(0, input.size() & ~size_t{1});
  bool ok;
  {
    TDVEditOperation operation(data);
    data.BeginUndoSequence(dvutInsert, true);
    ok = data.InsertTextW_(text, (size & 1) != 0);
    data.UndoList->PopIfEmpty();
  }
  if (ok) {
    UndoAll(data, before);
  } else if (Bytes(data) != before || data.UndoList->Count() != 0) {
    std::abort();
  }
  return 0;
}
