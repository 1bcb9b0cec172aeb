// Reads list-marker record tails and puts the markers into a document whose
// list levels take their format strings from the input too: every marker
// that reads must number, measure and draw without crashing, and a marker
// that reads has a level the numbering can hold.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "editing/table/table_item.h"
#include "engine/model/dv_data.h"
#include "engine/model/list_numbering.h"
#include "engine/model/marker_item.h"
#include "engine/model/marker_list.h"
#include "engine/style/style_sheet.h"
#include "platform/gfx/recording_canvas.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool tables = (RegisterTableItem(), true);
  (void)tables;
  if (data == nullptr) return 0;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  // The first line is the format string of every level; each later line a
  // marker record's tail.
  const size_t end = input.find('\n');
  const std::string_view format = input.substr(0, end);
  input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);

  TDVStyle style;
  style.ListStyles().Clear();
  for (int list = 0; list < 2; ++list) {
    TDVListInfo& info = style.ListStyles().Add();
    for (int level = 0; level < 4; ++level) {
      TDVListLevel& l = info.Levels().Add();
      l.ListType = static_cast<TDVListType>((list * 4 + level) % 9);
      l.FormatString = std::string(format);
      l.Options = static_cast<TDVListLevelOptions>(level);
    }
  }
  style.ListStyles().Add();  // a list without levels

  TCustomDVData doc;
  doc.SetDVStyle(&style);
  TRecordingCanvas canvas;
  for (int records = 0; !input.empty() && records < 64; ++records) {
    const size_t lineEnd = input.find('\n');
    std::string_view tail = input.substr(0, lineEnd);
    input = lineEnd == std::string_view::npos ? std::string_view() : input.substr(lineEnd + 1);
    auto marker = std::make_unique<TDVMarkerItemInfo>(nullptr);
    if (!marker->ReadDVFHeader(tail, &doc)) continue;
    if (marker->ListNo < 0 || marker->Level < 0 || marker->Level > DVMaxListLevel) std::abort();
    TDVMarkerItemInfo* added = marker.get();
    doc.AddItem("", std::move(marker));
    doc.AddNL("x", 0, -1);
    added->CalcSize(canvas, &doc, nullptr);
    added->Paint(0, 0, canvas, 0, &style, nullptr);
    canvas.ClearLog();
  }
  // Removing markers from the front recounts what stays.
  while (doc.ItemCount() > 0) doc.DeleteItems(0, 2);
  if (doc.GetMarkers(false) != nullptr) std::abort();
  return 0;
}
