// The table in an RTF file: a row group per row with the row's and cells'
// definitions, then the cells' content written by their own documents one
// nesting level deeper. Nested tables keep their row definitions inside
// "\*\nesttableprops" after the cells, so that the cells' text stays in
// the body where readers look for it.
#include <cmath>

#include "editing/table/table_item.h"
#include "engine/base/doc_view_error.h"
#include "engine/export/rtf_tables.h"
#include "engine/export/rtf_writer.h"
#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

class TTableRTFWriter {
 public:
  TTableRTFWriter(const TDVTableItemInfo& table, TCustomDVData& dvData, double twipsPerPixel, int level,
                  const TDVColorList& colorList)
      : T(table), data_(dvData), tpp_(twipsPerPixel), level_(level), colors_(colorList) {}

  int Twips(int32_t pixels) const { return RTFTwips(pixels, tpp_); }
  int HalfTwips(int32_t pixels) const { return RTFTwips(pixels, tpp_ / 2.0); }
  std::string ColorNo(TColor color) const { return std::to_string(std::max(colors_.IndexOf(color), 0)); }

  std::string BorderString(TDVTableBorderStyle style, int width, TColor color) const {
    const std::string w = std::to_string(width);
    switch (style) {
      case dvtbRaised: return "\\brdroutset\\brdrw" + w;
      case dvtbLowered: return "\\brdrinset\\brdrw" + w;
      default: return "\\brdrs\\brdrw" + w + "\\brdrcf" + ColorNo(color);
    }
  }

  std::string Border(TDVTableBorderStyle style, int32_t width, TColor color, TColor lightColor,
                     const TDVBooleanRect& sides, const char* prefix) const {
    if (width <= 0) return {};
    const int w = Twips(width);
    TColor upper = color, lower = color;
    if (style == dvtbRaisedColor) upper = lightColor;
    if (style == dvtbLoweredColor) lower = lightColor;
    const std::string p = std::string("\\") + prefix;
    std::string out;
    if (sides.Left) out += p + "brdrl" + BorderString(style, w, upper);
    if (sides.Top) out += p + "brdrt" + BorderString(style, w, upper);
    if (sides.Right) out += p + "brdrr" + BorderString(style, w, lower);
    if (sides.Bottom) out += p + "brdrb" + BorderString(style, w, lower);
    return out;
  }

  // The row's properties and its cells' definitions, up to the last "\cellx".
  std::string RowDefinition(int r) const {
    const int rows = T.Rows.Count(), cols = T.Rows.GetColCount(), itap = level_ + 1;
    std::string out = "\\trowd" + RowAlignment() + "\\trgaph" +
                      std::to_string(HalfTwips(2 * (T.CellPadding + T.CellBorderWidth) + T.CellHSpacing)) +
                      "\\trleft0\\itap" + std::to_string(itap);
    const int32_t bestHeight = T.Rows[r]->GetBestHeight();
    if (bestHeight > 0) out += "\\trrh" + std::to_string(Twips(bestHeight));
    const std::string pad = std::to_string(Twips(T.CellPadding));
    out += "\\trpaddl" + pad + "\\trpaddt" + pad + "\\trpaddr" + pad + "\\trpaddb" + pad +
           "\\trpaddfl3\\trpaddft3\\trpaddfr3\\trpaddfb3";
    const std::string hs = std::to_string(HalfTwips(T.CellHSpacing));
    out += "\\trspdl" + hs + "\\trspdr" + hs + "\\trspdfl3\\trspdfr3";
    out += "\\trspdt" + std::to_string(HalfTwips(r == 0 ? T.BorderVSpacing : T.CellVSpacing)) + "\\trspdb" +
           std::to_string(HalfTwips(r == rows - 1 ? T.BorderVSpacing : T.CellVSpacing)) + "\\trspdft3\\trspdfb3";
    if (T.BestWidth > 0)
      out += "\\trwWidth" + std::to_string(Twips(Clamp32(int64_t{T.BestWidth} + 2 * int64_t{T.BorderWidth}))) +
             "\\trftsWidth3";
    else if (T.BestWidth < 0)
      out += "\\trwWidth" + std::to_string(-int64_t{T.BestWidth} * 50) + "\\trftsWidth2";
    else
      out += "\\trftsWidth1";
    out += "\\docviewtbw" + std::to_string(T.BestWidth);
    out += Border(T.BorderStyle, T.BorderWidth, T.BorderColor, T.BorderLightColor, TDVBooleanRect(true), "tr");
    out += data_.GetExtraRTFCode(dv_rtfs_RowProps, &T, r, -1, false);
    for (int c = 0; c < cols; ++c) out += CellDefinition(r, c);
    return out;
  }

  std::string CellDefinition(int r, int c) const {
    int mr = 0, mc = 0;
    const TDVTableCellData& m = *T.Rows.GetMainCell(r, c, mr, mc);
    const TDVTableCellData* own = T.GetCells(r, c);
    std::string out;
    if (!own) {
      if (r > mr) {
        out += "\\clvmrg";
        if (c == mc && m.ColSpan > 1) out += "\\clmgf";
      }
      if (c > mc) {
        out += "\\clmrg";
        if (r == mr && m.RowSpan > 1) out += "\\clvmgf";
      }
    } else {
      if (own->RowSpan > 1) out += "\\clvmgf";
      if (own->ColSpan > 1) out += "\\clmgf";
      if (own->BestWidth > 0 && (T.Options & dvtoRTFSaveCellPixelBestWidth))
        out += "\\clwWidth" + std::to_string(Twips(own->BestWidth)) + "\\clftsWidth3";
      else if (own->BestWidth < 0)
        out += "\\clwWidth" + std::to_string(-int64_t{own->BestWidth} * 50) + "\\clftsWidth2";
      else if (own->BestWidth == 0)
        out += "\\clftsWidth1";
      out += "\\docviewcbw" + std::to_string(own->BestWidth) + "\\docviewcbh" + std::to_string(own->BestHeight);
    }
    out += Border(T.CellBorderStyle, T.CellBorderWidth, m.BorderColor != clNone ? m.BorderColor : T.CellBorderColor,
                  m.BorderLightColor != clNone ? m.BorderLightColor : T.CellBorderLightColor, m.VisibleBorders, "cl");
    const TColor color = EffectiveColor(m);
    if (color != clNone) out += "\\clcbpat" + ColorNo(color);
    switch (m.GetRealVAlign()) {
      case dvcMiddle: out += "\\clvertalc"; break;
      case dvcBottom: out += "\\clvertalb"; break;
      default: break;
    }
    out += data_.GetExtraRTFCode(dv_rtfs_CellProps, &T, r, c, false);
    const auto& f = T.Fmt;
    const double right = (int64_t{f.ColStarts[static_cast<size_t>(c)]} + f.ColWidths[static_cast<size_t>(c)] +
                          2 * int64_t{T.CellPadding}) * tpp_ + T.CellHSpacing * tpp_ / 2.0;
    out += "\\cellx" + std::to_string(static_cast<int64_t>(std::nearbyint(right)));
    return out;
  }

  // The cell's colour, else the table's, else that of the cell the table is in.
  TColor EffectiveColor(const TDVTableCellData& cell) const {
    if (cell.Color != clNone) return cell.Color;
    if (T.Color != clNone) return T.Color;
    const auto* outer = dynamic_cast<const TDVTableCellData*>(&data_);
    return outer ? outer->Color : clNone;
  }

  std::string RowAlignment() const {
    const TDVStyle* sheet = data_.GetDVStyle();
    if (!sheet || !sheet->ParaStyles().IsValidIndex(T.ParaNo)) return {};
    switch (sheet->ParaStyles()[T.ParaNo].Alignment) {
      case dvaRight: return "\\trqr";
      case dvaCenter: return "\\trqc";
      default: return {};
    }
  }

 private:
  const TDVTableItemInfo& T;
  TCustomDVData& data_;
  double tpp_;
  int level_;
  const TDVColorList& colors_;
};

}  // namespace

void TDVTableItemInfo::FillRTFColorTable(TDVColorList& colorList) const {
  colorList.AddUnique(Color);
  const auto borderColors = [&](TDVTableBorderStyle style, TColor color, TColor light) {
    switch (style) {
      case dvtbRaised:
      case dvtbLowered:
        for (TColor c : {clBtnHighlight, clBtnShadow, clBtnFace}) colorList.AddUnique(c);
        break;
      case dvtbColor: colorList.AddUnique(color); break;
      case dvtbRaisedColor:
      case dvtbLoweredColor:
        colorList.AddUnique(color);
        colorList.AddUnique(light);
        break;
    }
  };
  borderColors(BorderStyle, BorderColor, BorderLightColor);
  borderColors(CellBorderStyle, CellBorderColor, CellBorderLightColor);
  if (VRuleWidth > 0) colorList.AddUnique(VRuleColor);
  if (HRuleWidth > 0) colorList.AddUnique(HRuleColor);
  for (int r = 0; r < Rows.Count(); ++r)
    for (int c = 0; c < Rows[r]->Count(); ++c)
      if (const TDVTableCellData* cell = Rows.CellAt(r, c)) {
        for (TColor color : {cell->Color, cell->BorderColor, cell->BorderLightColor}) colorList.AddUnique(color);
        if (const TDVStyle* sheet = cell->GetDVStyle()) MakeRTFColorTable(*cell, *sheet, colorList, false);
      }
}

void TDVTableItemInfo::SaveRTF(TStream& stream, TCustomDVData& dvData, int, const std::string&, double twipsPerPixel,
                               int level, TDVColorList& colorList, TDVIntegerList& styleToFont,
                               TDVIntegerList& fontTable) const {
  const int rows = Rows.Count(), cols = Rows.GetColCount();
  if (static_cast<int>(Fmt.ColStarts.size()) != cols || static_cast<int>(Fmt.RowStarts.size()) != rows) {
    auto* formatted = dynamic_cast<TCustomDVFormattedData*>(&dvData);
    TCanvas* canvas = formatted ? formatted->GetCanvas() : nullptr;
    if (!canvas) throw EDocViewError("A table without a layout needs a canvas to be written");
    int32_t shift = 0;
    const_cast<TDVTableItemInfo*>(this)->OnDocWidthChange(600, nullptr, false, *canvas, &dvData, nullptr, shift);
  }
  TTableRTFWriter w(*this, dvData, twipsPerPixel, level, colorList);
  const bool nested = level > 0;
  const std::string itap = std::to_string(level + 1);
  for (int r = 0; r < rows; ++r) {
    std::string out = "{";
    if (!nested) out += w.RowDefinition(r);
    stream.WriteString(out + "\\pard\\intbl\\itap" + itap + "{");
    for (int c = 0; c < cols; ++c) {
      stream.WriteString("{");
      if (TDVTableCellData* cell = Rows.CellAt(r, c)) {
        if (!cell->SaveRTFToStream(stream, false, level + 1, clNone, nullptr, &colorList, &styleToFont, &fontTable,
                                   twipsPerPixel))
          throw EDocViewError("A table cell could not be written");
      }
      stream.WriteString(nested ? "\\nestcell}" : "\\cell}");
    }
    out = "}\\pard\\intbl\\itap" + itap;
    if (nested)
      out += "{\\*\\nesttableprops" + w.RowDefinition(r) + "\\nestrow}}";
    else
      out += "\\row}";
    stream.WriteString(out);
  }
  dvData.State |= dvstRTFSkipPar;
}

}  // namespace quillet
