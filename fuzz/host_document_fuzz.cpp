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

#include "fuzz/host_form.h"
#include "fuzz/widget_application.h"
#include "host/control/document_exchange.h"

using namespace quillet;

namespace {

// A control's document side.
struct Control : fuzz::HostForm {
  TDocumentExchange exchange{record};
};

// A member that refuses the text must leave the document text as it was;
// one that takes it must leave a text another control takes.
template <class Member>
void Check(std::string_view text, Member member) {
  Control control;
  control.Populate();
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
