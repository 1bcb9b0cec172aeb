#include "host/annotation/stroke_smoothing.h"

#include <algorithm>
#include <string>

#include "host/annotation/postil.h"
#include "host/annotation/postil_record.h"

namespace quillet {

void SmoothFivePoint(const std::vector<float>& a, std::vector<float>& s) {
  const size_t k = a.size();
  s = a;
  if (k < 5) return;
  auto at = [&a](size_t i) { return static_cast<double>(a[i]); };
  s[0] = static_cast<float>((69 * at(0) + 4 * at(1) - 6 * at(2) + 4 * at(3) - at(4)) / 70);
  s[1] = static_cast<float>((2 * at(0) + 27 * at(1) + 12 * at(2) - 8 * at(3) + 2 * at(4)) / 35);
  for (size_t i = 2; i + 2 < k; ++i)
    s[i] = static_cast<float>((-3 * at(i - 2) + 12 * at(i - 1) + 17 * at(i) + 12 * at(i + 1) - 3 * at(i + 2)) / 35);
  s[k - 2] = static_cast<float>((2 * at(k - 5) - 8 * at(k - 4) + 12 * at(k - 3) + 27 * at(k - 2) + 2 * at(k - 1)) / 35);
  s[k - 1] = static_cast<float>((-at(k - 5) + 4 * at(k - 4) - 6 * at(k - 3) + 4 * at(k - 2) + 69 * at(k - 1)) / 70);
}

// The last stroke's points and widths smoothed in place of its records.
// Smoothing works in document pixels: it commutes with the shift to the
// window, so the scroll position at pen-up does not matter.
void TQvPostil::QvFilter() {
  if (slUndoMList.empty()) return;
  const size_t start = slUndoMList.back();
  // What the first pass learnt of each record: whether it is a pen or a
  // point, and where the fields it keeps begin (a pen's colour, a point's
  // user and date), so that the rewrite reads nothing twice.
  struct Seen {
    TPostilTag Tag = TPostilTag::Other;
    size_t Kept = 0;
  };
  std::vector<Seen> seen(slNewPostil.size() - start);
  std::vector<std::string_view> fields;
  std::vector<float> xs, ys, widths;
  float ps = static_cast<float>(penSize);
  for (size_t i = start; i < slNewPostil.size(); ++i) {
    const std::string& record = slNewPostil[i];
    SplitPostilFields(record, fields);
    Seen& s = seen[i - start];
    const TPostilTag tag = PostilTagOf(record);
    if (tag == TPostilTag::Pen) {
      const std::optional<TPostilPen> pen = ReadPostilPen(fields);
      if (!pen) continue;
      ps = static_cast<float>(pen->Width);
      s = Seen{tag, static_cast<size_t>(fields[1].data() - record.data())};
    } else if (tag != TPostilTag::MoveTo && tag != TPostilTag::LineTo) {
      continue;
    } else if (const std::optional<TPostilPoint> point = ReadPostilPoint(fields)) {
      xs.push_back(static_cast<float>(point->X));
      ys.push_back(static_cast<float>(point->Y));
      widths.push_back(ps);
      s = Seen{tag, static_cast<size_t>(fields[2].data() + fields[2].size() - record.data())};
    }
  }
  // Four points or fewer keep their records as written.
  if (xs.size() <= 4) return;
  std::vector<float> xsm, ysm, psm;
  SmoothFivePoint(xs, xsm);
  SmoothFivePoint(ys, ysm);
  SmoothFivePoint(widths, psm);
  // The weights go negative: after a pressure dip they would push a width
  // below anything drawn, even below zero.
  const float thinnest = *std::min_element(widths.begin(), widths.end());
  for (float& w : psm) w = std::max(w, thinnest);

  size_t j = 0;
  std::string rewritten;
  for (size_t i = start; i < slNewPostil.size() && j < xs.size(); ++i) {
    const Seen& s = seen[i - start];
    std::string& record = slNewPostil[i];
    rewritten.clear();
    if (s.Tag == TPostilTag::Pen) {
      // "QPP;" and the colour stay; the width is the next point's.
      const size_t colourEnd = record.find(';', s.Kept);
      rewritten.append(record, 0, colourEnd + 1);
      AppendPostilNumber(rewritten, psm[j]);
    } else if (s.Tag != TPostilTag::Other) {
      rewritten.append(PostilTagText(s.Tag));
      rewritten += ';';
      AppendPostilNumber(rewritten, xsm[j]);
      rewritten += ';';
      AppendPostilNumber(rewritten, ysm[j]);
      rewritten.append(record, s.Kept);  // user and date
      ++j;
    } else {
      continue;
    }
    record.assign(rewritten);
  }
  NewChanged();
}

}  // namespace quillet
