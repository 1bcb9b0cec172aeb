#pragma once
// The annotation records as screen drawing, read once per change instead of
// once per paint: stroke segments grouped in runs of one pen (each with its
// bounds, so that a paint draws only what it can see) and seals, in record
// order.
#include <cstddef>
#include <string>
#include <vector>

#include "host/annotation/postil_record.h"
#include "platform/gfx/canvas.h"

namespace quillet {

class TQvPostil;

class TPostilScene {
 public:
  struct Item {
    int Seal = -1;  // index into Seals; otherwise a run of Segments
    TPostilPen Pen;
    size_t First = 0, Count = 0;
    double Left = 0, Top = 0, Right = 0, Bottom = 0;  // document pixels, pen width included
  };
  struct SealMark {
    double X = 0, Y = 0;
    std::string Id;
  };

  std::vector<TLineF> Segments;  // document pixels
  std::vector<Item> Items;
  std::vector<SealMark> Seals;

  // Reads the records from `from` on. The pen and the current point carry
  // over from the records read before; damaged records are skipped.
  void Add(const std::vector<std::string>& lines, size_t from = 0);
  // Starts over, with the pen and current point another scene ended with.
  void Reset(const TPostilScene* continueFrom);

  // Draws the items whose bounds meet `visible` (document pixels) from item
  // `firstItem` and segment `firstSegment` on, moved by (dx, dy).
  void Draw(const TQvPostil& postil, TCanvas& canvas, const TRect& visible, double dx, double dy, size_t firstItem = 0,
            size_t firstSegment = 0) const;

 private:
  void AddSegment(double x, double y);

  TPostilPen pen_;
  bool hasPoint_ = false;
  double x_ = 0, y_ = 0;
  std::vector<std::string_view> fields_;
};

}  // namespace quillet
