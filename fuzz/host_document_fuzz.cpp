// Arbitrary bytes as the host's document text, through the whole road a
// control's PutAsciiData takes (hexadecimal text, compressed form, document
// stream, reviewer and annotation lines) into a control that holds a
// document, reviewers and annotations, and through InsertAsciiData. Beyond
// not crashing: a refused text leaves the control's document text as it
// was, and a text that was taken gives a document text that another control
// takes again.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "fuzz/widget_application.h"
#include "host/annotation/postil.h"
#include "host/control/document_exchange.h"
#include "host/review/document_record.h"
#include "host/review/reviewer_table.h"

using namespace quillet;

namespace {

// A control's document side, never shown.
struct Control {
  Control() {
    editor.SetStyle(&sheet);
    editor.SetBounds(0, 0, 300, 200);
    postil.Today = [] { return std::string("2026-12-10"); };
  }
  TDVStyle sheet;
  TDocViewEdit editor;
  TReviewerTable table;
  TQvPostil postil;
  TDocumentRecord record{editor, table, postil};
  TDocumentExchange exchange{record};
};

void Populate(Control& control) {
  control.editor.AddNL("kept", 0, 0);
  control.editor.Format();
  control.table.Enter("reviewer", "2026-12-10 00:00:00");
  control.postil.SetUser("writer");
  control.postil.BeginDraw();
  control.postil.AddPointM(5, 5, 255, 3, 0, 0, 1);
  control.postil.AddPointL(25, 15, 255, 3, 0, 0, 1);
  control.postil.EndDraw();
}

// A member that refuses the text must leave the document text as it was;
// one that takes it must leave a text another control takes.
template <class Member>
void Check(std::string_view text, Member member) {
  Control control;
  Populate(control);
  const std::string before = control.exchange.GetAsciiData();
  try {
    member(control.exchange, text);
  } catch (const std::exception&) {
    if (control.exchange.GetAsciiData() != before) std::abort();
    return;
  }
  const std::string after = control.exchange.GetAsciiData();
  Control reader;
  reader.exchange.PutAsciiData(after);  // an error here escapes and fails the run
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr) return 0;
  fuzz::StartWidgetApplication("host_document_fuzz");
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Check(text, [](TDocumentExchange& exchange, std::string_view t) { exchange.PutAsciiData(t); });
  Check(text, [](TDocumentExchange& exchange, std::string_view t) { exchange.InsertAsciiData(t); });
  return 0;
}
