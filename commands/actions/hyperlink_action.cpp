#include "commands/actions/hyperlink_action.h"

#include <QLineEdit>
#include <QPalette>

#include "commands/dialogs/hyperlink_dialog.h"
#include "commands/resource_strings.h"
#include "editing/control/editor.h"
#include "editing/table/table_types.h"
#include "engine/style/style_reuse.h"
#include "engine/style/style_sheet.h"
#include "engine/text/item_text.h"
#include "platform/core/code_page.h"

namespace quillet {

namespace {

bool IsPicture(int32_t style) { return style == dvsPicture || style == dvsHotPicture; }

bool IsLink(const TCustomDocViewEdit& editor, int itemNo) {
  const int32_t style = editor.EditData().GetItemStyle(itemNo);
  const TDVStyle* sheet = editor.Style();
  return style >= 0 && sheet && sheet->TextStyles().IsValidIndex(style) && sheet->TextStyles()[style].Jump;
}

void SelectWhole(TCustomDocViewEdit& editor, int itemNo) {
  const TDVEditDVData& data = editor.EditData();
  editor.SetSelectionBounds(itemNo, data.GetOffsBeforeItem(itemNo), itemNo, data.GetOffsAfterItem(itemNo));
  editor.Invalidate();
}

void SetStyleBit(TFontStyles& styles, TFontStyle bit, bool on) { styles = on ? styles | bit : styles & ~bit; }

}  // namespace

TdvActionInsertHyperlink::TdvActionInsertHyperlink(QObject* owner) : TdvActionTextStyles(owner) {}

TdvActionInsertHyperlink::~TdvActionInsertHyperlink() = default;

void TdvActionInsertHyperlink::UpdateTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  TCustomDocViewEdit* top = editor ? editor->GetTopLevelEditor() : nullptr;
  bool enabled = top && (top->Options() & dvoTagsArePChars) && !top->EditData().FPartialSelectedItem;
  if (enabled) {
    int startNo = -1, endNo = -1;
    GetSelectionBounds(*top, startNo, endNo);
    for (int i = std::max(startNo, 0); enabled && i <= endNo; ++i)
      enabled = top->EditData().GetItemStyle(i) != dvsTable;
  }
  setEnabled(enabled);
}

bool TdvActionInsertHyperlink::HasItems(TCustomDocViewEdit& editor, std::string& target) {
  target.clear();
  TCustomDocViewEdit& top = *editor.GetTopLevelEditor();
  const TDVEditDVData& data = top.EditData();
  if (!top.SelectionExists()) {
    const int cur = top.GetCurItemNo();
    if (cur < 0) return false;
    const int32_t offs = top.GetOffsetInCurItem();
    if (IsLink(top, cur))
      SelectWhole(top, cur);
    else if (offs <= data.GetOffsBeforeItem(cur) && cur > 0 && !data.IsFromNewLine(cur) && IsLink(top, cur - 1))
      SelectWhole(top, cur - 1);
    else if (offs >= data.GetOffsAfterItem(cur) && cur + 1 < data.ItemCount() && !data.IsFromNewLine(cur + 1) &&
             IsLink(top, cur + 1))
      SelectWhole(top, cur + 1);
    else if (SetToPictures && IsPicture(data.GetItemStyle(cur)))
      SelectWhole(top, cur);
  }
  if (!top.SelectionExists()) return false;
  int startNo = -1, endNo = -1;
  GetSelectionBounds(top, startNo, endNo);
  const TDVTag* common = nullptr;
  bool same = true;
  for (int i = std::max(startNo, 0); same && i <= endNo && i < data.ItemCount(); ++i) {
    const int32_t style = data.GetItemStyle(i);
    if (style < 0 && !(SetToPictures && IsPicture(style))) continue;
    const TDVTag& tag = data.GetItemTag(i);
    if (!common) common = &tag;
    else same = DV_CompareTags(*common, tag, true);
  }
  if (same && common && common->Str) target = AnsiToUtf8(*common->Str);
  return true;
}

std::string TdvActionInsertHyperlink::EncodeTarget(const std::string& target) const {
  if (SpaceFiller.find(' ') != std::string::npos) return target;
  std::string encoded;
  for (char c : target) {
    if (c == ' ') encoded += SpaceFiller;
    else encoded += c;
  }
  return encoded;
}

int32_t TdvActionInsertHyperlink::GetStyleNo(TCustomDocViewEdit& editor) {
  TFontInfos& styles = editor.Style()->TextStyles();
  TFontInfo link;
  link.Assign(styles[0]);
  ApplyConversion(link, 1);
  return FindOrAddTextStyle(styles, 0, link);
}

void TdvActionInsertHyperlink::ApplyConversion(TFontInfo& style, int32_t userData) {
  const bool make = userData == 1;
  TFontInfo plain;
  const TFontInfo& from = reference_ ? *reference_ : plain;
  if (Valid(dvhlJump)) style.Jump = make;
  if (Valid(dvhlColor)) style.Color = make ? Color : from.Color;
  if (Valid(dvhlBackColor)) style.BackColor = make ? BackColor : from.BackColor;
  if (Valid(dvhlHoverColor)) style.HoverColor = make ? HoverColor : from.HoverColor;
  if (Valid(dvhlHoverBackColor)) style.HoverBackColor = make ? HoverBackColor : from.HoverBackColor;
  if (Valid(dvhlCursor)) style.JumpCursor = make ? Cursor : from.JumpCursor;
  const TFontStyles bits = make ? Style : from.Style;
  const std::pair<TDVHyperlinkProperty, TFontStyle> styleBits[] = {
      {dvhlBold, fsBold}, {dvhlItalic, fsItalic}, {dvhlUnderline, fsUnderline}, {dvhlStrikeout, fsStrikeOut}};
  for (const auto& [property, bit] : styleBits)
    if (Valid(property)) SetStyleBit(style.Style, bit, (bits & bit) != 0);
}

void TdvActionInsertHyperlink::SetTags(TCustomDocViewEdit& editor, const std::string& target) {
  TCustomDocViewEdit& top = *editor.GetTopLevelEditor();
  TDVUndoGroupScope group(top, dvutTag);
  const bool make = !target.empty();
  if (!make) {
    reference_ = std::make_unique<TFontInfo>();
    reference_->Assign(editor.Style()->TextStyles()[0]);
  }
  struct TForget {
    std::unique_ptr<TFontInfo>& ref;
    ~TForget() { ref.reset(); }
  } forget{reference_};
  ExecuteCommand(editor, make ? 1 : 0);

  TDVTag tag;
  if (make) tag.Str = Utf8ToAnsi(target);
  const TDVEditDVData& data = top.EditData();
  int startNo = -1, endNo = -1;
  GetSelectionBounds(top, startNo, endNo);
  for (int i = std::max(startNo, 0); i <= endNo && i < data.ItemCount(); ++i) {
    if (SetToPictures && Valid(dvhlJump)) {
      if (make) top.ConvertToHotPicture(i);
      else top.ConvertToPicture(i);
    }
    const int32_t style = data.GetItemStyle(i);
    if (style >= 0 || (SetToPictures && IsPicture(style))) top.SetItemTagEd(i, tag);
  }
}

bool TdvActionInsertHyperlink::DoShowForm(bool insertNew, std::string& text, std::string& target) {
  if (OnHyperlinkForm) {
    bool goOn = true;
    OnHyperlinkForm(*this, insertNew, goOn, text, target);
    return goOn;
  }
  TfrmDVHyp form;
  QLineEdit* textBox = form.txtText();
  if (!insertNew) {
    textBox->setEnabled(false);
    textBox->setText(QString::fromStdString(text.empty() ? std::string(LoadResString(dvrsSelection)) : text));
    QPalette palette = textBox->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    textBox->setPalette(palette);
  } else {
    textBox->setText(QString::fromStdString(text));
  }
  form.txtTarget()->setText(QString::fromStdString(target));
  if (form.ShowModal() != mrOk) return false;
  text = textBox->text().toStdString();
  target = form.txtTarget()->text().toStdString();
  return true;
}

void TdvActionInsertHyperlink::InsertLink(TCustomDocViewEdit& editor, const std::string& text,
                                          const std::string& target) {
  TCustomDocViewEdit& top = *editor.GetTopLevelEditor();
  TDVEditDVData& data = top.EditData();
  TFontInfos& styles = top.Style()->TextStyles();
  int32_t style = GetStyleNo(top);
  const std::u16string units = Utf8ToUtf16(text);
  bool lost = false;
  std::string bytes;
  if (!data.IsUnicodeStyle(style)) bytes = WideCharToMultiByte(data.GetStyleCodePage(style), units, &lost);
  if (lost) {
    // The link style's code page cannot hold the text: its Unicode twin
    // keeps every character.
    TFontInfo twin;
    twin.Assign(styles[style]);
    twin.Unicode = true;
    style = FindOrAddTextStyle(styles, style, twin);
  }
  if (data.IsUnicodeStyle(style)) bytes = DVU_UnitBytes(units);
  top.SetCurTextStyleNo(style);
  TDVTag tag;
  if (!target.empty()) tag.Str = Utf8ToAnsi(target);
  top.InsertItem(bytes, data.CreateTextItem(tag, data.FCurParaStyleNo, false, false, style));
}

void TdvActionInsertHyperlink::ExecuteTarget(TCustomControl* target) {
  TCustomDocViewEdit* editor = GetControl(target);
  if (!editor || !editor->Style()) return;
  std::string linkTarget;
  const bool hasItems = HasItems(*editor, linkTarget);
  std::string text = Utf16ToUtf8(DVU_Units(editor->GetTopLevelEditor()->EditData().GetSelText(true)));
  if (text.find_first_of("\r\n") != std::string::npos) text.clear();
  if (!DoShowForm(!hasItems, text, linkTarget)) return;
  if (hasItems) {
    SetTags(*editor, EncodeTarget(linkTarget));
    return;
  }
  // A text item can hold neither nothing nor a line break.
  if (text.empty() || text.find_first_of("\r\n") != std::string::npos) return;
  InsertLink(*editor, text, EncodeTarget(linkTarget));
}

}  // namespace quillet
