#pragma once
// A document to print and the pieces print tests share: a source over a plain
// document with its own style sheet, a fake printer, and split items of a
// fixed content (rows) that stand in for table rows.
#include <memory>
#include <string>
#include <vector>

#include "engine/layout/multi_draw_item.h"
#include "engine/model/dv_data.h"
#include "engine/model/item_info.h"
#include "engine/print/print_component.h"
#include "engine/print/print_source.h"
#include "engine/style/style_sheet.h"
#include "platform/gfx/fake_printer_device.h"

namespace quillet::test {

class PrintDoc : public TDVPrintSource {
 public:
  PrintDoc() { data.SetDVStyle(&sheet); }

  TDVStyle sheet;
  TCustomDVData data;
  int32_t left = 0, right = 0, top = 0, bottom = 0;
  TColor color = clWhite;

  int AddPara() {
    sheet.ParaStyles().Add();
    return sheet.ParaStyles().Count() - 1;
  }
  // Paragraphs of one character each.
  void AddLines(const std::string& letters, int32_t paraNo = 0) {
    for (char c : letters) data.AddNL(std::string(1, c), 0, paraNo);
  }

  TCustomDVData& PrintSourceData() override { return data; }
  TDVStyle* PrintSourceStyle() const override { return const_cast<TDVStyle*>(&sheet); }
  int32_t PrintSourceLeftMargin() const override { return left; }
  int32_t PrintSourceRightMargin() const override { return right; }
  int32_t PrintSourceTopMargin() const override { return top; }
  int32_t PrintSourceBottomMargin() const override { return bottom; }
  TColor PrintSourceColor() const override { return color; }
  const TDVBackground* PrintSourceBackground() const override { return nullptr; }
};

// A printer at the screen's resolution with no unprintable border, so that
// printer pixels are document pixels: a line of the default text is 13 high.
inline TFakePrinterSetup ScreenPrinter(int32_t width, int32_t height) {
  TFakePrinterSetup s;
  s.PixelsPerInchX = s.PixelsPerInchY = 96;
  s.PhysicalWidth = s.PageWidth = width;
  s.PhysicalHeight = s.PageHeight = height;
  s.PhysicalOffsetX = s.PhysicalOffsetY = 0;
  return s;
}

// Content of rows of fixed heights, cut at row boundaries; a row taller than
// the height asked for is cut inside, or, with RefuseTall, the cut is refused.
class RowsDrawItem : public TDVMultiDrawItemInfo {
 public:
  std::vector<int32_t> Rows;
  bool RefuseTall = false;
  // Each part as [start, end) in the content.
  std::vector<std::pair<int32_t, int32_t>> Spans;

  int32_t Total() const {
    int32_t t = 0;
    for (int32_t r : Rows) t += r;
    return t;
  }
  bool InitSplit() override {
    PartsList.clear();
    Spans.clear();
    AddPart(0, Total());
    return true;
  }
  bool CanSplitFirst(int32_t y) override { return !Rows.empty() && Rows[0] <= y; }
  bool SplitAt(int32_t y) override {
    auto [s, e] = Spans.back();
    if (e - s <= y) return false;
    int32_t cut = s, b = 0;
    for (int32_t r : Rows) {
      b += r;
      if (b > s && b <= s + y) cut = b;
    }
    if (cut == s) {
      if (RefuseTall) return false;
      cut = s + y;
    }
    Spans.back().second = cut;
    PartsList.back()->Height = cut - s;
    AddPart(cut, e);
    return true;
  }

 private:
  void AddPart(int32_t s, int32_t e) {
    auto part = std::make_unique<TDVMultiDrawItemPart>();
    part->Height = e - s;
    PartsList.push_back(std::move(part));
    Spans.emplace_back(s, e);
  }
};

// A full-line item (like a table) whose printed drawing item is RowsDrawItem;
// every Print is logged as "part N at y".
class RowsItem : public TDVFullLineItemInfo {
 public:
  RowsItem(TCustomDVData* data, std::vector<int32_t> rows = {}, bool refuseTall = false)
      : TDVFullLineItemInfo(data), rows_(std::move(rows)), refuseTall_(refuseTall) {
    StyleNo = -60;
  }
  TDVItemClass ItemClass() const override { return DVItemClassOf<RowsItem>; }
  // Printed by Print, as tables are.
  bool GetBoolValueEx(TDVItemBoolPropertyEx, TDVStyle*) const override { return false; }
  int32_t GetWidth() const override { return 50; }
  int32_t GetHeight() const override {
    int32_t t = 0;
    for (int32_t r : rows_) t += r;
    return t;
  }
  std::unique_ptr<TDVDrawLineInfo> CreatePrintingDrawItem(TCustomDVData*, const TDVScreenAndDevice*) const override {
    auto info = std::make_unique<RowsDrawItem>();
    info->Rows = rows_;
    info->RefuseTall = refuseTall_;
    return info;
  }
  void Print(TCanvas&, int32_t, int32_t y, int32_t, bool, bool, const TDVScreenAndDevice&, TCustomDVData*,
             const TDVDrawLineInfo*, int part) const override {
    Log->push_back("part " + std::to_string(part) + " at " + std::to_string(y));
  }
  std::vector<std::string>* Log = &ownLog_;

 private:
  std::vector<int32_t> rows_;
  bool refuseTall_;
  std::vector<std::string> ownLog_;
};

// An inline object of a fixed size that never splits.
class TallRect : public TDVRectItemInfo {
 public:
  TallRect(TCustomDVData* data, int32_t w = 10, int32_t h = 10) : TDVRectItemInfo(data), w_(w), h_(h) {
    StyleNo = dvsPicture;
  }
  TDVItemClass ItemClass() const override { return DVItemClassOf<TallRect>; }
  int32_t GetWidth() const override { return w_; }
  int32_t GetHeight() const override { return h_; }

 private:
  int32_t w_, h_;
};

}  // namespace quillet::test
