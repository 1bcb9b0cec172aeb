// Arbitrary bytes as a record's document stream, loaded through the record
// road into a form that holds a document, reviewers and annotations. Beyond
// not crashing: a refused load leaves the form's record (document, styles,
// reviewer and annotation lines) as it was, and a document that loaded is
// saved and loads again.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "fuzz/widget_application.h"
#include "host/annotation/postil.h"
#include "host/review/document_record.h"
#include "host/review/reviewer_table.h"
#include "platform/core/stream.h"

using namespace quillet;

namespace {

struct Form {
  Form() {
    editor.SetStyle(&sheet);
    editor.SetBounds(0, 0, 300, 200);
  }
  std::string Saved() {
    TMemoryStream stream;
    record.SaveToStream(stream);
    return stream.AsString();
  }
  TDVStyle sheet;
  TDocViewEdit editor;
  TReviewerTable table;
  TQvPostil postil;
  TDocumentRecord record{editor, table, postil};
};

TMemoryStream StreamOf(std::string_view bytes) { return TMemoryStream(std::vector<uint8_t>(bytes.begin(), bytes.end())); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr) return 0;
  fuzz::StartWidgetApplication("document_record_fuzz");
  Form form;
  form.editor.AddNL("kept", 0, 0);
  form.table.Enter("reviewer", "2026-12-10 00:00:00");
  form.postil.SetUser("writer");
  form.postil.AddPointM(5, 5, 255, 3, 0, 0, 1);
  form.postil.AddPointL(25, 15, 255, 3, 0, 0, 1);
  form.postil.EndDraw();
  const std::string before = form.Saved();

  TMemoryStream input = StreamOf(std::string_view(reinterpret_cast<const char*>(data), size));
  try {
    form.record.LoadFromStream(input);
  } catch (const std::exception&) {
    if (form.Saved() != before) std::abort();
    return 0;
  }
  TMemoryStream saved = StreamOf(form.Saved());
  Form reader;
  reader.record.LoadFromStream(saved);  // an error here escapes and fails the run
  return 0;
}
