#include "commands/actions/font_dialog_actions.h"

#include <QString>
#include <string>

#include "commands/actions/control_panel.h"
#include "commands/dialogs/font_dialog.h"
#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "platform/core/code_page.h"
#include "platform/ui/common_dialogs.h"

namespace quillet {

namespace {

bool IsUtf8(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())).toStdString() == s; }

void SetBits(TFontStyles& set, TFontStyles bits, bool on) { set = on ? set | bits : set & ~bits; }

// The selected text up to its first line end, as the dialog's sample.
std::string SampleText(TCustomDocViewEdit& editor) {
  const std::string bytes = editor.EditData().GetSelText(true);
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) | static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
  if (const size_t cr = units.find(u'\r'); cr != std::u16string::npos) units.resize(cr);
  return Utf16ToUtf8(units);
}

}  // namespace

std::string DialogFontName(const std::string& name) { return IsUtf8(name) ? name : AnsiToUtf8(name); }

std::string DocumentFontName(const std::string& utf8) {
  if (!IsUtf8(utf8)) return utf8;
  std::string ansi = Utf8ToAnsi(utf8);
  // A name the code page cannot hold stays in UTF-8 rather than losing characters.
  return AnsiToUtf8(ansi) == utf8 ? ansi : utf8;
}

void TdvActionFonts::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  // Without a style sheet there is nothing to show or to convert.
  if (!editor || !editor->Style()) return;
  if (UserInterface) {
    if (const TFontInfo* style = CaretTextStyle(*editor)) {
      style->AssignTo(Font);
      Font.Charset = style->Charset;
    }
    const std::string shown = Font.Name;
    if (!CommonDialogs().ChooseFont(Font)) return;
    if (Font.Name != shown) Font.Name = DocumentFontName(Font.Name);
  }
  ExecuteCommand(*editor, 0);
}

void TdvActionFonts::ApplyConversion(TFontInfo& style, int32_t) { style.Assign(Font); }

void TdvActionFontEx::TakeFirst(const TFontInfo& style) {
  style.AssignTo(Font);
  Font.Charset = style.Charset;
  StyleEx = style.StyleEx;
  VShift = style.VShift;
  CharScale = style.CharScale;
  CharSpacing = style.CharSpacing;
  gathered_ = true;
}

void TdvActionFontEx::IterateProc(TCustomDVData& dvData, int itemNo, int& data, TCustomDocViewEdit& editor) {
  const int32_t styleNo = dvData.GetItemStyle(itemNo);
  const TDVStyle* sheet = editor.Style();
  if (styleNo < 0 || styleNo == data || !sheet || !sheet->TextStyles().IsValidIndex(styleNo)) return;
  data = styleNo;
  const TFontInfo& s = sheet->TextStyles()[styleNo];
  if (!gathered_) {
    TakeFirst(s);
    return;
  }
  if (!DV_SameFontName(Font.Name, s.FontName)) Drop(dvfimFontName);
  if (Font.GetSize() != s.Size) Drop(dvfimSize);
  if (Font.Charset != s.Charset) Drop(dvfimCharset);
  const TFontStyles styleDiff = Font.Style ^ s.Style;
  if (styleDiff & fsBold) Drop(dvfimBold);
  if (styleDiff & fsItalic) Drop(dvfimItalic);
  if (styleDiff & fsUnderline) Drop(dvfimUnderline);
  if (styleDiff & fsStrikeOut) Drop(dvfimStrikeout);
  const TDVFontStyles exDiff = StyleEx ^ s.StyleEx;
  if (exDiff & dvfsOverline) Drop(dvfimOverline);
  if (exDiff & dvfsAllCaps) Drop(dvfimAllCaps);
  if (VShift != s.VShift) Drop(dvfimVShift);
  if (Font.Color != s.Color) Drop(dvfimColor);
  if (CharScale != s.CharScale) Drop(dvfimCharScale);
  if (CharSpacing != s.CharSpacing) Drop(dvfimCharSpacing);
}

bool TdvActionFontEx::ContinueIteration(int&) { return ValidProperties != 0; }

void TdvActionFontEx::Gather(TCustomDocViewEdit& editor) {
  TCustomDocViewEdit& top = *editor.GetTopLevelEditor();
  ValidProperties = DVAllFontMainProperties;
  gathered_ = false;
  int startNo = -1, endNo = -1, data = -1;
  GetSelectionBounds(top, startNo, endNo);
  IterateDVData(top.EditData(), top, data, startNo, endNo);
  // Without text in the selection the caret's style fills the dialog, not
  // whatever an earlier run left in the fields.
  if (!gathered_)
    if (const TFontInfo* style = CaretTextStyle(editor)) TakeFirst(*style);
}

void TdvActionFontEx::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor || !editor->Style()) return;
  if (!UserInterface) {
    ExecuteCommand(*editor, 0);
    return;
  }
  Gather(*editor);
  const auto defined = [this](TDVFontInfoMainProperty p, auto value) {
    return TDefined<decltype(value)>{value, Has(p)};
  };
  TFontDialogValues in;
  const std::string shownName = DialogFontName(Font.Name);
  in.FontName = defined(dvfimFontName, shownName);
  in.Size = defined(dvfimSize, Font.GetSize());
  in.Charset = defined(dvfimCharset, int{Font.Charset});
  in.Bold = defined(dvfimBold, bool(Font.Style & fsBold));
  in.Italic = defined(dvfimItalic, bool(Font.Style & fsItalic));
  in.Underline = defined(dvfimUnderline, bool(Font.Style & fsUnderline));
  in.StrikeOut = defined(dvfimStrikeout, bool(Font.Style & fsStrikeOut));
  in.Overline = defined(dvfimOverline, bool(StyleEx & dvfsOverline));
  in.AllCaps = defined(dvfimAllCaps, bool(StyleEx & dvfsAllCaps));
  in.Color = defined(dvfimColor, Font.Color);
  in.CharSpacing = defined(dvfimCharSpacing, CharSpacing);
  in.VShift = defined(dvfimVShift, VShift);
  in.CharScale = defined(dvfimCharScale, CharScale);

  TfrmDVFont form;
  form.SetColorDialog(DVA_ColorDialog.get());
  form.SetValues(in);
  form.SetSampleText(SampleText(*editor->GetTopLevelEditor()));
  if (form.ShowModal() != mrOk) return;
  const TFontDialogValues out = form.GetValues();

  ValidProperties = 0;
  const auto take = [this](TDVFontInfoMainProperty p, const auto& value, auto&& set) {
    if (!value.Defined) return;
    ValidProperties |= DVFontMainProp(p);
    set(value.Value);
  };
  take(dvfimFontName, out.FontName, [&](const std::string& v) {
    if (v != shownName) Font.Name = DocumentFontName(v);
  });
  take(dvfimSize, out.Size, [&](int32_t v) { Font.SetSize(v); });
  take(dvfimCharset, out.Charset, [&](int v) { Font.Charset = static_cast<uint8_t>(v); });
  take(dvfimBold, out.Bold, [&](bool v) { SetBits(Font.Style, fsBold, v); });
  take(dvfimItalic, out.Italic, [&](bool v) { SetBits(Font.Style, fsItalic, v); });
  take(dvfimUnderline, out.Underline, [&](bool v) { SetBits(Font.Style, fsUnderline, v); });
  take(dvfimStrikeout, out.StrikeOut, [&](bool v) { SetBits(Font.Style, fsStrikeOut, v); });
  take(dvfimOverline, out.Overline, [&](bool v) { SetBits(StyleEx, dvfsOverline, v); });
  take(dvfimAllCaps, out.AllCaps, [&](bool v) { SetBits(StyleEx, dvfsAllCaps, v); });
  take(dvfimColor, out.Color, [&](TColor v) { Font.Color = v; });
  take(dvfimCharSpacing, out.CharSpacing, [&](int32_t v) { CharSpacing = v; });
  take(dvfimVShift, out.VShift, [&](int32_t v) { VShift = v; });
  take(dvfimCharScale, out.CharScale, [&](int32_t v) { CharScale = v; });
  ExecuteCommand(*editor, 0);
}

void TdvActionFontEx::ApplyConversion(TFontInfo& style, int32_t) {
  if (Has(dvfimFontName)) style.FontName = Font.Name;
  if (Has(dvfimSize)) style.Size = Font.GetSize();
  if (Has(dvfimCharset)) style.Charset = Font.Charset;
  if (Has(dvfimColor)) style.Color = Font.Color;
  const struct {
    TDVFontInfoMainProperty p;
    TFontStyles bit;
  } styles[] = {{dvfimBold, fsBold}, {dvfimItalic, fsItalic}, {dvfimUnderline, fsUnderline},
                {dvfimStrikeout, fsStrikeOut}};
  for (const auto& s : styles)
    if (Has(s.p)) SetBits(style.Style, s.bit, Font.Style & s.bit);
  if (Has(dvfimOverline)) SetBits(style.StyleEx, dvfsOverline, StyleEx & dvfsOverline);
  if (Has(dvfimAllCaps)) SetBits(style.StyleEx, dvfsAllCaps, StyleEx & dvfsAllCaps);
  if (Has(dvfimVShift)) style.VShift = VShift;
  if (Has(dvfimCharScale)) style.CharScale = CharScale;
  if (Has(dvfimCharSpacing)) style.CharSpacing = CharSpacing;
}

}  // namespace quillet
