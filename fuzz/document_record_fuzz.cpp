// Arbitrary bytes as a record's document stream, loaded through the record
// road into a form that holds a document, reviewers and annotations. Beyond
// not crashing: a refused load leaves the form's record (document, styles,
// reviewer and annotation lines) as it was, and a document that loaded is
// saved and loads again.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "fuzz/host_form.h"
#include "fuzz/widget_application.h"
#include "platform/core/stream.h"

using namespace quillet;

namespace {

struct Form : fuzz::HostForm {
  std::string Saved() {
    TMemoryStream stream;
    record.SaveToStream(stream);
    return stream.AsString();
  }
};

TMemoryStream StreamOf(std::string_view bytes) { return TMemoryStream(std::vector<uint8_t>(bytes.begin(), bytes.end())); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr) return 0;
  fuzz::StartWidgetApplication("document_record_fuzz");
  Form form;
  form.Populate();
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
