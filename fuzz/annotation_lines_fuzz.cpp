// Arbitrary "QP" lines as a document brings them: loaded, painted, printed,
// looked up, saved and loaded again. Beyond not crashing: every line comes
// back verbatim, a save followed by a load and a save writes the same lines,
// and nothing is drawn from a damaged record.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "host/annotation/postil.h"
#include "platform/gfx/recording_canvas.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (data == nullptr) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines;
  for (size_t start = 0; start <= text.size();) {
    const size_t end = text.find('\n', start);
    lines.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }

  TQvPostil postil;
  postil.loadPostil(lines);
  if (postil.AllPostil() != lines) std::abort();
  TRecordingCanvas screen;
  postil.Paint(screen, 7, 3, 10);
  TRecordingCanvas paper(600);
  postil.PrintPaint(paper, {100, 100, 4000, 6000}, {});
  postil.PrintPaint(paper, {100, 100, 4000, 6000}, {1000, 2000, 1000, 40});
  (void)postil.ShowUserName(50, 50, 0, 0, 1);
  (void)postil.GetBmpIDs();
  // A stroke over the loaded records, undone and done again.
  postil.BeginDraw();
  postil.AddPointM(1, 2, 255, 2, 0, 0, 1);
  for (int i = 0; i < 6; ++i) postil.AddPointL(3 * i, i * i, 255, 2 + i % 3, 0, 0, 1);
  postil.EndDraw();
  postil.Undo();
  postil.Redo();

  std::vector<std::string> saved;
  postil.Save(saved);
  if (saved.size() < lines.size() || !std::equal(lines.begin(), lines.end(), saved.begin())) std::abort();
  TQvPostil reloaded;
  reloaded.loadPostil(saved);
  std::vector<std::string> again;
  reloaded.Save(again);
  if (again != saved) std::abort();
  return 0;
}
