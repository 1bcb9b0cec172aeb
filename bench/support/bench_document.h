#pragma once
// A laid-out document for the benchmarks: fixed geometry (a window of
// width x height with even margins), the canvas it measures on, and a style
// sheet whose text styles use the pinned Chinese font.
#include <cstdint>
#include <initializer_list>

#include "engine/layout/formatted_data.h"
#include "engine/style/style_sheet.h"
#include "platform/core/code_page.h"

namespace quillet::bench {

class BenchDocument : public TCustomDVFormattedData {
 public:
  BenchDocument(TCanvas& canvas, int32_t width, int32_t height, int32_t margin, int32_t pointSize,
                std::initializer_list<int> chineseStyles = {0})
      : canvas_(canvas), width_(width), height_(height), margin_(margin) {
    SetDVStyle(&sheet_);
    for (int i : chineseStyles) {
      TFontInfo& font = sheet_.TextStyles()[i];
      font.FontName = "宋体";
      font.Charset = GB2312_CHARSET;
      font.Size = pointSize;
    }
  }
  ~BenchDocument() override { Clear(); }
  int32_t vOffs = 0;

  TDVFlags GetFlags() const override { return dvflRoot | dvflTrim; }
  void SetFlags(TDVFlags) override {}
  int32_t GetAreaWidth() const override { return width_; }
  int32_t GetLeftMargin() const override { return margin_; }
  int32_t GetRightMargin() const override { return margin_; }
  int32_t GetTopMargin() const override { return margin_; }
  int32_t GetBottomMargin() const override { return margin_; }
  int32_t GetMinTextWidth() const override { return 0; }
  int32_t GetMaxTextWidth() const override { return 0; }
  TColor GetColor() const override { return clWindow; }
  void AdjustVScrollUnits() override {}
  void SetDocumentAreaSize(int32_t, int32_t, bool) override {}
  int32_t GetWidth() const override { return width_; }
  int32_t GetHeight() const override { return height_; }
  void ScrollTo(int32_t, bool) override {}
  void HScrollTo(int32_t) override {}
  int32_t GetVSmallStep() const override { return 10; }
  void DoDVMouseMove(int32_t) override {}
  int32_t GetVOffs() const override { return vOffs; }
  TCanvas* GetCanvas() override { return &canvas_; }

 private:
  TDVStyle sheet_;
  TCanvas& canvas_;
  int32_t width_, height_, margin_;
};

}  // namespace quillet::bench
