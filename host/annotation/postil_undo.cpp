// Taking back and putting back new strokes and seals, and who wrote what.
#include <cmath>

#include "host/annotation/postil.h"
#include "platform/core/code_page.h"
#include "platform/gfx/graphic.h"

namespace quillet {

void TQvPostil::Undo() {
  if (slNewPostil.empty() || slUndoMList.empty()) return;
  const size_t start = slUndoMList.back();
  if (PostilTagOf(slNewPostil[start]) == TPostilTag::Seal && !tuzhangList.empty()) tuzhangList.pop_back();
  slNewPostil.resize(start);
  slUndoMList.pop_back();
  // The next stroke states its pen again instead of inheriting the pen of the
  // stroke before the one taken back.
  penColor = penSize = -1;
  QvBoolDraw = false;
  NewChanged();
}

void TQvPostil::Redo() {
  const size_t n = slUndoMList.size();
  if (slRedoMlist.size() <= n) return;
  const size_t first = slRedoMlist[n];
  const size_t end = n + 1 < slRedoMlist.size() ? slRedoMlist[n + 1] : slTempPostil.size();
  if (first != slNewPostil.size() || end > slTempPostil.size() || first >= end) return;
  slNewPostil.insert(slNewPostil.end(), slTempPostil.begin() + static_cast<std::ptrdiff_t>(first),
                     slTempPostil.begin() + static_cast<std::ptrdiff_t>(end));
  slUndoMList.push_back(first);
  if (PostilTagOf(slNewPostil[first]) == TPostilTag::Seal) tuzhangList.push_back(slNewPostil[first]);
  penColor = penSize = -1;
  QvBoolDraw = false;
  ++generation_;
}

std::string TQvPostil::ShowUserName(int32_t X, int32_t Y, int32_t HScrollPos, int32_t VScrollPos,
                                    int32_t VSmallStep) const {
  const auto [x, y] = DocumentPoint(X, Y, HScrollPos, VScrollPos, VSmallStep);
  std::vector<std::string_view> fields;
  auto field = [&fields](size_t i) { return i < fields.size() ? std::string(fields[i]) : std::string(); };
  for (const std::vector<std::string>* lines : {&slAllPostil, &slNewPostil}) {
    for (const std::string& line : *lines) {
      const TPostilTag tag = PostilTagOf(line);
      if (tag != TPostilTag::Seal && tag != TPostilTag::MoveTo && tag != TPostilTag::LineTo) continue;
      SplitPostilFields(line, fields);
      const std::optional<TPostilPoint> point = ReadPostilPoint(fields);
      if (!point) continue;
      const int64_t px = std::llrint(point->X), py = std::llrint(point->Y);
      if (tag == TPostilTag::Seal) {
        // A seal whose picture is missing has no extent; the search goes on.
        const TBitmap* bmp = fields.size() >= 4 ? GetBmp(field(3)) : nullptr;
        if (!bmp) continue;
        const int64_t w = bmp->Width() / 2, h = bmp->Height() / 2;
        if (px - w < x && x < px + w && py - h < y && y < py + h)
          return fields.size() <= 4 ? std::string() : field(4) + Utf8ToAnsi("加盖的图章") + ";" + field(5);
      } else if (std::llabs(px - x) < 10 && std::llabs(py - y) < 10) {
        return fields.size() <= 3 ? std::string() : field(3) + Utf8ToAnsi("-批注-") + ";" + field(4);
      }
    }
  }
  return {};
}

}  // namespace quillet
