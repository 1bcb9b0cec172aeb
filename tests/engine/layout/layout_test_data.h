#pragma once
// A formatted document for layout tests: the geometry of a window (client
// size, margins, an optional vertical scroll bar that takes 16 pixels when
// the document is taller than the client) over the fixed-metrics canvas, and
// a style sheet with a Unicode twin of the normal text style.
//
// With the default text style (10 pt at 96 ppi, a 13-pixel font) a Latin
// character is 6 pixels wide and an ideograph 13; ascent 10, descent 3.
#include <memory>
#include <string>
#include <vector>

#include "engine/layout/formatted_data.h"
#include "engine/model/item_info.h"
#include "engine/style/style_sheet.h"
#include "engine/text/item_text.h"
#include "platform/gfx/recording_canvas.h"

namespace quillet::test {

constexpr int32_t kUnicodeStyle = 6;

class LayoutData : public TCustomDVFormattedData {
 public:
  LayoutData() {
    SetDVStyle(&sheet);
    TFontInfo& unicode = sheet.TextStyles().Add();
    unicode.Assign(sheet.TextStyles()[0]);
    unicode.Unicode = true;
  }
  ~LayoutData() override { Clear(); }

  TDVStyle sheet;
  TRecordingCanvas canvas;
  TCanvas* formatCanvas = &canvas;
  TDVFlags flags = dvflRoot;
  int32_t clientWidth = 200, clientHeight = 1000;
  int32_t left = 0, right = 0, top = 0, bottom = 0;
  int32_t minTextWidth = 0, maxTextWidth = 0;
  bool scrollBars = false;  // a vertical bar appears when the document is taller than the client
  bool hasVBar = false;
  bool flipEveryTime = false;  // a window whose bar comes and goes at every size change
  int32_t vOffs = 0;
  int passes = 0;       // layouts run (AdjustVScrollUnits is called once per layout)
  int areaCalls = 0;
  std::vector<int> formattedEvents;
  std::vector<TRect> invalidated;

  // Adds a paragraph style and answers its number.
  int AddPara(TDVAlignment alignment = dvaLeft) {
    TParaInfo& p = sheet.ParaStyles().Add();
    p.Alignment = alignment;
    return sheet.ParaStyles().Count() - 1;
  }
  // UTF-16 text as an item text of a Unicode style.
  static std::string U(std::u16string_view s) { return DVU_UnitBytes(s); }

  TDVFlags GetFlags() const override { return flags; }
  void SetFlags(TDVFlags f) override { flags = f; }
  int32_t GetAreaWidth() const override { return clientWidth; }
  int32_t GetLeftMargin() const override { return left; }
  int32_t GetRightMargin() const override { return right; }
  int32_t GetTopMargin() const override { return top; }
  int32_t GetBottomMargin() const override { return bottom; }
  int32_t GetMinTextWidth() const override { return minTextWidth; }
  int32_t GetMaxTextWidth() const override { return maxTextWidth; }
  TColor GetColor() const override { return clWindow; }
  void AdjustVScrollUnits() override { ++passes; }
  void SetDocumentAreaSize(int32_t, int32_t height, bool) override {
    ++areaCalls;
    if (!scrollBars) return;
    const bool want = flipEveryTime ? !hasVBar : height > clientHeight;
    if (want == hasVBar) return;
    hasVBar = want;
    clientWidth += want ? -16 : 16;
    // The window reports its new size at once, as a resize would.
    Format_(true, false, false, 0, canvas, false);
  }
  int32_t GetWidth() const override { return clientWidth; }
  int32_t GetHeight() const override { return clientHeight; }
  void ScrollTo(int32_t y, bool) override { vOffs = y; }
  void HScrollTo(int32_t) override {}
  int32_t GetVSmallStep() const override { return 10; }
  void DoDVMouseMove(int32_t) override {}
  int32_t GetVOffs() const override { return vOffs; }
  TCanvas* GetCanvas() override { return formatCanvas; }
  void InvalidateRect(const TRect& r) override {
    invalidated.push_back(r);
    TCustomDVFormattedData::InvalidateRect(r);
  }
  void Formatted(int first, int last, bool) override {
    formattedEvents.push_back(first);
    formattedEvents.push_back(last);
  }

  // Drawing items as "offs+len@left,top/width" (objects "obj@left,top/width").
  std::vector<std::string> Pieces() const {
    std::vector<std::string> out;
    for (int i = 0; i < DrawItems.Count(); ++i) {
      const TDVDrawLineInfo* d = DrawItems[i];
      std::string s = GetItemStyle(d->ItemNo) >= 0 ? std::to_string(d->Offs) + "+" + std::to_string(d->Length) : "obj";
      s += "@" + std::to_string(d->Left) + "," + std::to_string(d->Top) + "/" + std::to_string(d->Width);
      out.push_back(s);
    }
    return out;
  }
  // The text of every drawing item, one line per screen line joined by "|".
  std::string Lines() const {
    std::string out;
    for (int i = 0; i < DrawItems.Count(); ++i) {
      if (i > 0 && DrawItems[i]->FromNewLine) out += "|";
      const std::string piece = DrawItems.GetString(i, *this);
      if (GetItemOptions(DrawItems[i]->ItemNo) & dvioUnicode) {
        for (size_t k = 0; k + 1 < piece.size(); k += 2)
          out += piece[k + 1] == 0 ? std::string(1, piece[k]) : std::string("#");
      } else {
        // A double-byte character shows as one "#", as in a Unicode item.
        for (size_t k = 0; k < piece.size(); ++k) {
          const auto c = static_cast<unsigned char>(piece[k]);
          out += c < 0x80 ? std::string(1, static_cast<char>(c)) : std::string("#");
          if (c >= 0x80) ++k;
        }
      }
    }
    return out;
  }
};

// A rectangular object of a given size; hShift is asked for before it.
class TestRect : public TDVRectItemInfo {
 public:
  TestRect(TCustomDVData* data, int32_t w = 10, int32_t h = 10, int32_t shift = 0)
      : TDVRectItemInfo(data), w_(w), h_(h), shift_(shift) {
    StyleNo = dvsPicture;
  }
  TDVItemClass ItemClass() const override { return DVItemClassOf<TestRect>; }
  int32_t GetWidth() const override { return w_; }
  int32_t GetHeight() const override { return h_; }
  bool OnDocWidthChange(int32_t, TDVDrawLineInfo*, bool, TCanvas&, TCustomDVData*, const TDVScreenAndDevice*,
                        int32_t& hShift) override {
    hShift = shift_;
    return false;
  }

 private:
  int32_t w_, h_, shift_;
};

// A full-line object (like a table) of a given size.
class TestFullLine : public TDVFullLineItemInfo {
 public:
  TestFullLine(TCustomDVData* data, int32_t w = 10, int32_t h = 10) : TDVFullLineItemInfo(data), w_(w), h_(h) {
    StyleNo = -60;
  }
  TDVItemClass ItemClass() const override { return DVItemClassOf<TestFullLine>; }
  int32_t GetWidth() const override { return w_; }
  int32_t GetHeight() const override { return h_; }

 private:
  int32_t w_, h_;
};

}  // namespace quillet::test
