// Arbitrary "QV" lines as a document brings them: read into the reviewer
// table, written, read and written again. Beyond not crashing: a refused
// read leaves the table as it was, a read table writes 15 lines that read
// back without error into the same table, and the second writing equals
// the first.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "host/review/reviewer_table.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find('\n', start);
    lines.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }

  TReviewerTable table;
  table.Enter("fuzz", "2026-12-10 00:00:00");
  std::vector<std::string> before;
  table.WriteLines(before);
  try {
    table.ReadLines(lines);
  } catch (const EReviewerError&) {
    std::vector<std::string> after;
    table.WriteLines(after);
    if (after != before) std::abort();
    return 0;
  }
  const int32_t cur = table.CurUserNo(), used = table.UsedUserNo();
  const bool drafterNamed = !table.Slot(0).Name.empty();
  std::vector<std::string> first;
  table.WriteLines(first);
  if (first.size() != TReviewerTable::kSlots) std::abort();

  TReviewerTable reread;
  reread.ReadLines(first);  // an error here escapes and fails the run
  for (int i = 1; i < TReviewerTable::kSlots; ++i)
    if (!(reread.Slot(i) == table.Slot(i))) std::abort();
  // Slot 0 is named on writing; the counters only differ when it was free.
  if (drafterNamed && (reread.CurUserNo() != cur || reread.UsedUserNo() != used)) std::abort();
  std::vector<std::string> second;
  reread.WriteLines(second);
  if (second != first) std::abort();
  // A new reviewer finds room, or is refused, without touching the lines.
  try {
    reread.Enter("newcomer", "2026-12-10 00:00:01");
  } catch (const EReviewerError&) {
    std::vector<std::string> third;
    reread.WriteLines(third);
    if (third != second) std::abort();
  }
  return 0;
}
