#include "commands/actions/para_dialog_actions.h"

#include <optional>

#include "commands/actions/control_panel.h"
#include "commands/actions/para_actions.h"
#include "commands/dialogs/para_border_dialog.h"
#include "commands/dialogs/para_dialog.h"
#include "commands/controls/spin_edit.h"
#include "commands/settings_file.h"
#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"
#include "platform/ui/common_dialogs.h"

namespace quillet {

namespace {

// A paragraph's line spacing in per cent; a space-between of 0 is single
// spacing, any other space-between has no per cent.
std::optional<int32_t> PercentSpacing(const TParaInfo& style) {
  if (style.LineSpacingType == dvlsPercent) return style.LineSpacing;
  if (style.LineSpacingType == dvlsSpaceBetween && style.LineSpacing == 0) return 100;
  return std::nullopt;
}

// The paragraph style of an item, when the walk should look at it.
const TParaInfo* NextParaStyle(TCustomDVData& dvData, int itemNo, int& data, const TCustomDocViewEdit& editor) {
  const int32_t paraNo = dvData.GetItemPara(itemNo);
  const TDVStyle* sheet = editor.Style();
  if (paraNo == data || !sheet || !sheet->ParaStyles().IsValidIndex(paraNo)) return nullptr;
  data = paraNo;
  return &sheet->ParaStyles()[paraNo];
}

template <class Action>
void Walk(Action& action, TCustomDocViewEdit& editor) {
  TCustomDocViewEdit& top = *editor.GetTopLevelEditor();
  int startNo = -1, endNo = -1, data = -1;
  GetSelectionBounds(top, startNo, endNo);
  action.IterateDVData(top.EditData(), top, data, startNo, endNo);
}

}  // namespace

// ---- paragraph dialog ----

void TdvActionParagraph::TakeFirst(const TParaInfo& style) {
  FirstIndent = style.FirstIndent;
  LeftIndent = style.LeftIndent;
  RightIndent = style.RightIndent;
  SpaceBefore = style.SpaceBefore;
  SpaceAfter = style.SpaceAfter;
  Alignment = style.Alignment;
  if (const std::optional<int32_t> spacing = PercentSpacing(style)) LineSpacing = *spacing;
  else ValidProperties &= ~(1u << dvpimLineSpacing);
  gathered_ = true;
}

void TdvActionParagraph::IterateProc(TCustomDVData& dvData, int itemNo, int& data, TCustomDocViewEdit& editor) {
  const TParaInfo* s = NextParaStyle(dvData, itemNo, data, editor);
  if (!s) return;
  if (!gathered_) {
    TakeFirst(*s);
    return;
  }
  const auto drop = [this](TDVParaInfoMainProperty p, bool differs) {
    if (differs) ValidProperties &= ~(1u << p);
  };
  drop(dvpimFirstIndent, s->FirstIndent != FirstIndent);
  drop(dvpimLeftIndent, s->LeftIndent != LeftIndent);
  drop(dvpimRightIndent, s->RightIndent != RightIndent);
  drop(dvpimSpaceBefore, s->SpaceBefore != SpaceBefore);
  drop(dvpimSpaceAfter, s->SpaceAfter != SpaceAfter);
  drop(dvpimAlignment, s->Alignment != Alignment);
  drop(dvpimLineSpacing, PercentSpacing(*s) != std::optional<int32_t>(LineSpacing));
}

void TdvActionParagraph::Gather(TCustomDocViewEdit& editor) {
  ValidProperties = DVAllParaMainProperties;
  gathered_ = false;
  Walk(*this, editor);
  if (!gathered_)
    if (const TParaInfo* style = CaretParaStyle(editor)) TakeFirst(*style);
}

void TdvActionParagraph::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  // Without a style sheet there is nothing to show or to convert.
  if (!editor || !editor->Style()) return;
  if (!UserInterface) {
    ExecuteCommand(*editor, 0);
    return;
  }
  Gather(*editor);
  TDVSettingsFile settings(kLineSpaceFile);
  // The stored default replaces the gathered spacing; a value that is
  // missing, 0 or no sensible spacing leaves the gathered one.
  const int32_t stored = settings.ReadInteger("LineSpace", "Value", 0);
  if (stored >= kLeastDefaultSpacing && stored <= kGreatestDefaultSpacing) LineSpacing = stored;

  TfrmDVPara form;
  form.seLeftIndent->MinValue = -editor->LeftMargin;
  form.seRightIndent->MinValue = -editor->RightMargin;
  form.dv->View().LeftMargin = editor->LeftMargin / 2;
  form.dv->View().RightMargin = editor->RightMargin / 2;
  const auto defined = [this](TDVParaInfoMainProperty p, auto value) {
    return TDefined<decltype(value)>{value, Has(p)};
  };
  TParaDialogValues in;
  in.Alignment = defined(dvpimAlignment, Alignment);
  in.LeftIndent = defined(dvpimLeftIndent, LeftIndent);
  in.RightIndent = defined(dvpimRightIndent, RightIndent);
  in.FirstIndent = defined(dvpimFirstIndent, FirstIndent);
  in.SpaceBefore = defined(dvpimSpaceBefore, SpaceBefore);
  in.SpaceAfter = defined(dvpimSpaceAfter, SpaceAfter);
  in.LineSpacing = defined(dvpimLineSpacing, LineSpacing);
  form.SetValues(in);
  if (form.ShowModal() != mrOk) return;
  const TParaDialogValues out = form.GetValues();

  ValidProperties = 0;
  const auto take = [this](TDVParaInfoMainProperty p, const auto& value, auto& field) {
    if (!value.Defined) return;
    ValidProperties |= 1u << p;
    field = value.Value;
  };
  take(dvpimAlignment, out.Alignment, Alignment);
  take(dvpimLeftIndent, out.LeftIndent, LeftIndent);
  take(dvpimRightIndent, out.RightIndent, RightIndent);
  take(dvpimFirstIndent, out.FirstIndent, FirstIndent);
  take(dvpimSpaceBefore, out.SpaceBefore, SpaceBefore);
  take(dvpimSpaceAfter, out.SpaceAfter, SpaceAfter);
  take(dvpimLineSpacing, out.LineSpacing, LineSpacing);
  if (CommonDialogs().MessageBox({"是否设为默认值?", "提示", MB_YESNO, MB_ICONQUESTION}) == IDYES)
    settings.WriteInteger("LineSpace", "Value", LineSpacing);
  ExecuteCommand(*editor, 0);
}

void TdvActionParagraph::ApplyConversion(TParaInfo& style, int32_t) {
  if (Has(dvpimFirstIndent)) style.FirstIndent = FirstIndent;
  if (Has(dvpimLeftIndent)) style.LeftIndent = LeftIndent;
  if (Has(dvpimRightIndent)) style.RightIndent = RightIndent;
  if (Has(dvpimSpaceBefore)) style.SpaceBefore = SpaceBefore;
  if (Has(dvpimSpaceAfter)) style.SpaceAfter = SpaceAfter;
  if (Has(dvpimAlignment)) style.Alignment = Alignment;
  if (Has(dvpimLineSpacing)) {
    style.LineSpacing = LineSpacing;
    style.LineSpacingType = dvlsPercent;
  }
  CoverParaBorder(style);
}

// ---- paragraph border dialog ----

void TdvActionParaBorder::TakeFirst(const TParaInfo& style) {
  Border.Assign(style.Border());
  Background.Assign(style.Background());
  gathered_ = true;
}

void TdvActionParaBorder::IterateProc(TCustomDVData& dvData, int itemNo, int& data, TCustomDocViewEdit& editor) {
  const TParaInfo* s = NextParaStyle(dvData, itemNo, data, editor);
  if (!s) return;
  if (!gathered_) {
    TakeFirst(*s);
    return;
  }
  const TDVBorder& b = s->Border();
  const TDVBackgroundRect& g = s->Background();
  const struct {
    TDVParaInfoBorderProperty p;
    bool differs;
  } checks[] = {
      {dvpibBackground_Color, g.Color != Background.Color},
      {dvpibBackground_BO_Left, g.BorderOffsets.Left != Background.BorderOffsets.Left},
      {dvpibBackground_BO_Top, g.BorderOffsets.Top != Background.BorderOffsets.Top},
      {dvpibBackground_BO_Right, g.BorderOffsets.Right != Background.BorderOffsets.Right},
      {dvpibBackground_BO_Bottom, g.BorderOffsets.Bottom != Background.BorderOffsets.Bottom},
      {dvpibBorder_Color, b.Color != Border.Color},
      {dvpibBorder_Style, b.Style != Border.Style},
      {dvpibBorder_Width, b.Width != Border.Width},
      {dvpibBorder_InternalWidth, b.InternalWidth != Border.InternalWidth},
      {dvpibBorder_BO_Left, b.BorderOffsets.Left != Border.BorderOffsets.Left},
      {dvpibBorder_BO_Top, b.BorderOffsets.Top != Border.BorderOffsets.Top},
      {dvpibBorder_BO_Right, b.BorderOffsets.Right != Border.BorderOffsets.Right},
      {dvpibBorder_BO_Bottom, b.BorderOffsets.Bottom != Border.BorderOffsets.Bottom},
      {dvpibBorder_Vis_Left, b.VisibleBorders.Left != Border.VisibleBorders.Left},
      {dvpibBorder_Vis_Top, b.VisibleBorders.Top != Border.VisibleBorders.Top},
      {dvpibBorder_Vis_Right, b.VisibleBorders.Right != Border.VisibleBorders.Right},
      {dvpibBorder_Vis_Bottom, b.VisibleBorders.Bottom != Border.VisibleBorders.Bottom},
  };
  for (const auto& c : checks)
    if (c.differs) ValidProperties &= ~(1u << c.p);
}

void TdvActionParaBorder::Gather(TCustomDocViewEdit& editor) {
  ValidProperties = DVAllParaBorderProperties;
  gathered_ = false;
  Walk(*this, editor);
  if (!gathered_)
    if (const TParaInfo* style = CaretParaStyle(editor)) TakeFirst(*style);
}

void TdvActionParaBorder::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor || !editor->Style()) return;
  if (!UserInterface) {
    ExecuteCommand(*editor, 0);
    return;
  }
  Gather(*editor);
  TParaBorderValues in;
  in.Style = {Border.Style, Has(dvpibBorder_Style)};
  in.Color = {Border.Color, Has(dvpibBorder_Color)};
  in.Width = {Border.Width, Has(dvpibBorder_Width)};
  in.InternalWidth = {Border.InternalWidth, Has(dvpibBorder_InternalWidth)};
  in.Visible = Border.VisibleBorders;
  in.VisibleDefined.SetValues(Has(dvpibBorder_Vis_Left), Has(dvpibBorder_Vis_Top), Has(dvpibBorder_Vis_Right),
                              Has(dvpibBorder_Vis_Bottom));
  in.Offsets.Values = Border.BorderOffsets;
  in.Offsets.Defined.SetValues(Has(dvpibBorder_BO_Left), Has(dvpibBorder_BO_Top), Has(dvpibBorder_BO_Right),
                               Has(dvpibBorder_BO_Bottom));
  in.BackColor = {Background.Color, Has(dvpibBackground_Color)};
  in.Padding.Values = Background.BorderOffsets;
  in.Padding.Defined.SetValues(Has(dvpibBackground_BO_Left), Has(dvpibBackground_BO_Top),
                               Has(dvpibBackground_BO_Right), Has(dvpibBackground_BO_Bottom));

  TfrmDVParaBrdr form;
  form.SetColorDialog(DVA_ColorDialog.get());
  form.SetValues(in);
  if (form.ShowModal() != mrOk) return;
  const TParaBorderValues out = form.GetValues();

  ValidProperties = 0;
  const auto take = [this](TDVParaInfoBorderProperty p, bool defined, auto& field, auto value) {
    if (!defined) return;
    ValidProperties |= 1u << p;
    field = value;
  };
  take(dvpibBorder_Style, out.Style.Defined, Border.Style, out.Style.Value);
  take(dvpibBorder_Color, out.Color.Defined, Border.Color, out.Color.Value);
  take(dvpibBorder_Width, out.Width.Defined, Border.Width, out.Width.Value);
  take(dvpibBorder_InternalWidth, out.InternalWidth.Defined, Border.InternalWidth, out.InternalWidth.Value);
  take(dvpibBorder_Vis_Left, out.VisibleDefined.Left, Border.VisibleBorders.Left, out.Visible.Left);
  take(dvpibBorder_Vis_Top, out.VisibleDefined.Top, Border.VisibleBorders.Top, out.Visible.Top);
  take(dvpibBorder_Vis_Right, out.VisibleDefined.Right, Border.VisibleBorders.Right, out.Visible.Right);
  take(dvpibBorder_Vis_Bottom, out.VisibleDefined.Bottom, Border.VisibleBorders.Bottom, out.Visible.Bottom);
  const TFourValues& o = out.Offsets;
  take(dvpibBorder_BO_Left, o.Defined.Left, Border.BorderOffsets.Left, o.Values.Left);
  take(dvpibBorder_BO_Top, o.Defined.Top, Border.BorderOffsets.Top, o.Values.Top);
  take(dvpibBorder_BO_Right, o.Defined.Right, Border.BorderOffsets.Right, o.Values.Right);
  take(dvpibBorder_BO_Bottom, o.Defined.Bottom, Border.BorderOffsets.Bottom, o.Values.Bottom);
  take(dvpibBackground_Color, out.BackColor.Defined, Background.Color, out.BackColor.Value);
  const TFourValues& p = out.Padding;
  take(dvpibBackground_BO_Left, p.Defined.Left, Background.BorderOffsets.Left, p.Values.Left);
  take(dvpibBackground_BO_Top, p.Defined.Top, Background.BorderOffsets.Top, p.Values.Top);
  take(dvpibBackground_BO_Right, p.Defined.Right, Background.BorderOffsets.Right, p.Values.Right);
  take(dvpibBackground_BO_Bottom, p.Defined.Bottom, Background.BorderOffsets.Bottom, p.Values.Bottom);
  ExecuteCommand(*editor, 0);
}

void TdvActionParaBorder::ApplyConversion(TParaInfo& style, int32_t) {
  TDVBorder& b = style.Border();
  TDVBackgroundRect& g = style.Background();
  const auto set = [this](TDVParaInfoBorderProperty p, auto& field, auto value) {
    if (Has(p)) field = value;
  };
  set(dvpibBorder_Style, b.Style, Border.Style);
  set(dvpibBorder_Color, b.Color, Border.Color);
  set(dvpibBorder_Width, b.Width, Border.Width);
  set(dvpibBorder_InternalWidth, b.InternalWidth, Border.InternalWidth);
  set(dvpibBorder_Vis_Left, b.VisibleBorders.Left, Border.VisibleBorders.Left);
  set(dvpibBorder_Vis_Top, b.VisibleBorders.Top, Border.VisibleBorders.Top);
  set(dvpibBorder_Vis_Right, b.VisibleBorders.Right, Border.VisibleBorders.Right);
  set(dvpibBorder_Vis_Bottom, b.VisibleBorders.Bottom, Border.VisibleBorders.Bottom);
  set(dvpibBorder_BO_Left, b.BorderOffsets.Left, Border.BorderOffsets.Left);
  set(dvpibBorder_BO_Top, b.BorderOffsets.Top, Border.BorderOffsets.Top);
  set(dvpibBorder_BO_Right, b.BorderOffsets.Right, Border.BorderOffsets.Right);
  set(dvpibBorder_BO_Bottom, b.BorderOffsets.Bottom, Border.BorderOffsets.Bottom);
  set(dvpibBackground_Color, g.Color, Background.Color);
  set(dvpibBackground_BO_Left, g.BorderOffsets.Left, Background.BorderOffsets.Left);
  set(dvpibBackground_BO_Top, g.BorderOffsets.Top, Background.BorderOffsets.Top);
  set(dvpibBackground_BO_Right, g.BorderOffsets.Right, Background.BorderOffsets.Right);
  set(dvpibBackground_BO_Bottom, g.BorderOffsets.Bottom, Background.BorderOffsets.Bottom);
  CoverParaBorder(style);
}

}  // namespace quillet
