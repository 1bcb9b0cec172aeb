#include "commands/dialogs/dialog_preview.h"

#include "editing/table/table_cell.h"
#include "editing/table/table_item.h"
#include "engine/style/style_sheet.h"
#include "engine/text/item_text.h"
#include "engine/view/docview.h"
#include "platform/core/code_page.h"
#include "platform/gfx/canvas.h"

namespace quillet {

TDialogPreview::TDialogPreview(QWidget* parent, int32_t width, int32_t height)
    : style_(std::make_unique<TDVStyle>()), view_(std::make_unique<TDocView>(parent)) {
  style_->TextStyles().Clear();
  style_->ParaStyles().Clear();
  view_->SetStyle(style_.get());
  view_->SetBounds(0, 0, width, height);
}

TDialogPreview::~TDialogPreview() {
  // The viewer refers to the sheet up to its end.
  view_.reset();
}

TFontInfo& TDialogPreview::AddTextStyle(std::string_view name, TFontRole role, int32_t size, TColor color) {
  TFontInfo& style = style_->TextStyles().Add();
  style.StyleName = std::string(name);
  style.FontName = std::string(FontFamily(role));
  style.Size = size;
  style.Color = color;
  style.Unicode = true;
  return style;
}

TParaInfo& TDialogPreview::AddParaStyle(std::string_view name) {
  TParaInfo& style = style_->ParaStyles().Add();
  style.StyleName = std::string(name);
  return style;
}

TDVTableItemInfo& TDialogPreview::AddCellTable(int32_t paraNo, int32_t heightLess) {
  view_->Clear();
  auto table = std::make_unique<TDVTableItemInfo>(1, 1, &view_->DVData());
  table->CellPadding = 0;
  table->BorderVSpacing = table->BorderHSpacing = 0;
  table->CellVSpacing = table->CellHSpacing = 0;
  TDVTableCellData& cell = *table->GetCells(0, 0);
  cell.VAlign = dvcMiddle;
  cell.BestHeight = view_->Height() - heightLess;
  table->ParaNo = paraNo;
  table_ = table.get();
  view_->DVData().AddItem("", std::move(table));
  return *table_;
}

TCustomDVData& TDialogPreview::TextData() const {
  if (table_) return *table_->GetCells(0, 0);
  return view_->DVData();
}

void TDialogPreview::AddText(std::string_view utf8, int32_t styleNo, int32_t paraNo) {
  TCustomDVData& data = TextData();
  data.SetAddParagraphMode(true);
  data.AddNL(DVU_UnitBytes(Utf8ToUtf16(utf8)), styleNo, paraNo);
}

void TDialogPreview::AddLine(std::string_view utf8, int32_t styleNo) {
  TCustomDVData& data = TextData();
  data.SetAddParagraphMode(false);
  data.AddNL(DVU_UnitBytes(Utf8ToUtf16(utf8)), styleNo, 0);
  data.SetAddParagraphMode(true);
}

void TDialogPreview::ClearText() {
  if (table_) table_->GetCells(0, 0)->Clear();
  else view_->Clear();
}

void TDialogPreview::Reformat() {
  if (table_) table_->MarkChanged();
  view_->Format();
  view_->Invalidate();
}

void TDialogPreview::DrawBaselines() {
  style_->OnDrawStyleText = [this](TDVStyle&, const std::string&, TCanvas& canvas, int32_t, int32_t, int32_t,
                                   int32_t top, int32_t, int32_t, TDVTextDrawStates, bool&) {
    const int32_t y = top + canvas.GetTextMetrics().tmAscent;
    const TPen saved = canvas.Pen();
    canvas.Pen() = TPen{canvas.Font().Color, 1, psSolid, pmCopy};
    canvas.MoveTo(-view_->Width(), y);
    canvas.LineTo(2 * view_->Width(), y);
    canvas.Pen() = saved;
  };
}

}  // namespace quillet
