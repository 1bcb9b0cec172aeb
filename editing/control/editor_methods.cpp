// The editor's public editing methods: each asks BeforeChange, wraps one of
// the data's operations in its undo group and reports the change.
#include "editing/control/editor.h"

#include <vector>

#include "engine/model/item_registry.h"
#include "engine/model/picture_item.h"
#include "engine/stream/compressed_form.h"
#include "engine/style/style_sheet.h"
#include "engine/text/charsets.h"
#include "engine/text/item_text.h"
#include "platform/core/code_page.h"
#include "platform/gfx/graphic.h"

namespace quillet {

// ---- insertion ----

bool TCustomDocViewEdit::Inserting(const std::function<bool()>& insert) {
  if (!BeforeChange(false)) return false;
  TDVInsertionScope insertion(*this);
  return insertion.Allowed() && insert();
}

bool TCustomDocViewEdit::InsertItem(const std::string& name, std::unique_ptr<TCustomDVItemInfo> item) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->InsertItem(name, std::move(item));
  // Refused, the item goes with this scope.
  return Inserting([&] {
    std::string text = name;
    return EditData().InsertSomething(item, text, false, false);
  });
}

bool TCustomDocViewEdit::InsertBreak(uint8_t width, TDVBreakStyle style, TColor color) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->InsertBreak(width, style, color);
  return InsertItem("", std::make_unique<TDVBreakItemInfo>(&EditData(), width, style, color));
}

bool TCustomDocViewEdit::InsertPicture(const std::string& name, std::unique_ptr<TGraphic> graphic,
                                       TDVVAlign vAlign) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->InsertPicture(name, std::move(graphic), vAlign);
  auto picture = std::make_unique<TDVGraphicItemInfo>(&EditData(), std::move(graphic), vAlign);
  picture->StyleNo = dvsPicture;
  return InsertItem(name, std::move(picture));
}

bool TCustomDocViewEdit::InsertStringTag(const std::string& s, const TDVTag& tag) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->InsertStringTag(s, tag);
  TDVEditDVData& data = EditData();
  const int32_t styleNo = data.FCurTextStyleNo;
  std::unique_ptr<TCustomDVItemInfo> item = data.CreateTextItem(tag, data.FCurParaStyleNo, false, false, styleNo);
  // A Unicode style keeps UTF-16: the text is converted with its code page.
  const std::string text = data.IsUnicodeStyle(styleNo) ? DVU_AnsiToUnicode(data.GetStyleCodePage(styleNo), s) : s;
  return InsertItem(text, std::move(item));
}

bool TCustomDocViewEdit::InsertText(const std::string& s, bool caretBefore) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->InsertText(s, caretBefore);
  return Inserting([&] {
    MarkTracedInsertion();
    return EditData().InsertText_(s, caretBefore);
  });
}

bool TCustomDocViewEdit::InsertTextW(std::u16string_view s, bool caretBefore) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->InsertTextW(s, caretBefore);
  return Inserting([&] {
    BeforeUnicode();
    MarkTracedInsertion();
    return EditData().InsertTextW_(DVU_UnitBytes(s), caretBefore);
  });
}

bool TCustomDocViewEdit::InsertTextAsTyped(std::u16string_view s, bool caretBefore) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->InsertTextAsTyped(s, caretBefore);
  return Inserting([&] { return InsertPreparedText(s, caretBefore); });
}

bool TCustomDocViewEdit::InsertTextW_(const std::string& s) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->InsertTextW_(s);
  return Inserting([&] {
    BeforeUnicode();
    MarkTracedInsertion();
    return EditData().InsertTextW_(s, false);
  });
}

void TCustomDocViewEdit::BeforeUnicode() {
  const TDVStyle* sheet = Style();
  if (!sheet || EditData().IsUnicodeStyle(CurTextStyleNo())) return;
  if (sheet->TextStyles().IsValidIndex(sheet->DefUnicodeStyle)) SetCurTextStyleNo(sheet->DefUnicodeStyle);
}

bool TCustomDocViewEdit::InsertTextFromFile(const std::string& fileName) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->InsertTextFromFile(fileName);
  return Inserting([&] { return EditData().InsertTextFromFile(fileName, false); });
}

bool TCustomDocViewEdit::InsertTextFromFileW(const std::string& fileName) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->InsertTextFromFileW(fileName);
  return Inserting([&] { return EditData().InsertTextFromFileW(fileName); });
}

bool TCustomDocViewEdit::InsertDVFFromStreamEd(TStream& stream) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->InsertDVFFromStreamEd(stream);
  return Inserting([&] { return EditData().InsertDVFFromStreamEd_(stream); });
}

bool TCustomDocViewEdit::InsertDVFFromFileEd(const std::string& fileName) {
  // Read and decompressed whole before anything changes: a bad file leaves
  // the document as it was.
  TFileStream file(fileName, fmOpenRead);
  TMemoryStream document;
  UnCompressDVF(file, document);
  document.SetPosition(0);
  return InsertDVFFromStreamEd(document);
}

bool TCustomDocViewEdit::InsertRTFFromStreamEd(TStream& stream) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->InsertRTFFromStreamEd(stream);
  return Inserting([&] { return EditData().InsertRTFFromStreamEd_(stream); });
}

bool TCustomDocViewEdit::InsertRTFFromFileEd(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead);
  return InsertRTFFromStreamEd(file);
}

void TCustomDocViewEdit::InsertPageBreak() {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->InsertPageBreak();
  if (!BeforeChange(false)) return;
  EditData().InsertPageBreak();
  Refresh();
}

void TCustomDocViewEdit::RemoveCurrentPageBreak() {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->RemoveCurrentPageBreak();
  if (!BeforeChange(false)) return;
  TDVEditDVData& data = EditData();
  int itemNo = data.GetCurItemNo();
  if (itemNo < 0) return;
  // A list paragraph's page break belongs to its marker.
  if (itemNo > 0 && data.GetItemStyle(itemNo - 1) == dvsListMarker) --itemNo;
  if (!data.GetItem(itemNo)->PageBreakBefore()) return;
  TDVEditOperation operation(data);
  data.BeginUndoSequence(dvutRemovePageBreak, true);
  data.Do_PageBreak(itemNo, false);
  data.UndoList->PopIfEmpty();
  DoChange(true);
  Invalidate();
}

// ---- styles ----

void TCustomDocViewEdit::ApplyStyleConversion(int32_t userData) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->ApplyStyleConversion(userData);
  if (!OnStyleConversion || !BeforeChange(false)) return;
  FCurStyleConversion = OnStyleConversion;
  EditData().ApplyStyleConversion_(userData);
  EditData().UndoList->PopIfEmpty();
  Refresh();
}

void TCustomDocViewEdit::ApplyParaStyleConversion(int32_t userData) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->ApplyParaStyleConversion(userData);
  if (!OnParaStyleConversion || !BeforeChange(false)) return;
  FCurStyleConversion = OnParaStyleConversion;
  ParaChange(userData, true);
}

void TCustomDocViewEdit::ApplyParaStyle(int32_t paraNo) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->ApplyParaStyle(paraNo);
  if (!BeforeChange(false)) return;
  ParaChange(paraNo, false);
}

void TCustomDocViewEdit::ParaChange(int32_t value, bool convertMode) {
  TDVEditDVData& data = EditData();
  TDVEditOperation operation(data);
  data.BeginUndoSequence(dvutPara, true);
  data.ApplyParaStyle(value, convertMode);
  const bool changed = data.UndoList->Top() && data.UndoList->Top()->Count() > 0;
  data.UndoList->PopIfEmpty();
  if (changed || UndoLimit() == 0) DoChange(true);
  Refresh();
}

// ---- items ----

TCustomDVItemInfo* TCustomDocViewEdit::GetCurrentItem() const {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->GetCurrentItem();
  const int itemNo = GetCurItemNo();
  return itemNo < 0 ? nullptr : EditData().GetItem(itemNo);
}

TCustomDVItemInfo* TCustomDocViewEdit::FindCurrentItem(const std::function<bool(const TCustomDVItemInfo&)>& matches,
                                                       TCustomDocViewEdit*& holder) const {
  std::vector<TCustomDocViewEdit*> chain;
  for (auto* each = const_cast<TCustomDocViewEdit*>(this); each;
       each = dynamic_cast<TCustomDocViewEdit*>(each->GetInplaceEditor()))
    chain.push_back(each);
  for (size_t i = chain.size(); i-- > 0;) {
    TDVEditDVData& data = chain[i]->EditData();
    TCustomDVItemInfo* item = nullptr;
    if (i + 1 < chain.size()) {
      // An outer editor holds the item whose cell the next editor edits.
      item = data.GetChosenItem();
    } else if (data.FPartialSelectedItem) {
      item = data.FPartialSelectedItem;
    } else {
      const int itemNo = data.GetCurItemNo();
      if (itemNo >= 0 && itemNo < data.ItemCount()) item = data.GetItem(itemNo);
    }
    if (item && matches(*item)) {
      holder = chain[i];
      return item;
    }
  }
  holder = nullptr;
  return nullptr;
}

void TCustomDocViewEdit::ModifyItem(int itemNo, TDVUndoType undoType, const std::function<void()>& modify,
                                    const std::string& caption) {
  if (!BeforeChange(false)) return;
  TDVEditDVData& data = EditData();
  TDVEditOperation operation(data);
  data.BeginNamedUndoSequence(undoType, caption, true);
  int32_t width;
  data.BeginItemModify(itemNo, width);
  modify();
  data.EndItemModify(itemNo, width);
  data.UndoList->PopIfEmpty();
  DoChange(true);
  Invalidate();
}

void TCustomDocViewEdit::SetBreakInfoEd(int itemNo, uint8_t width, TDVBreakStyle style, TColor color,
                                        const TDVTag& tag) {
  TDVEditDVData& data = EditData();
  data.CheckItemClass<TDVBreakItemInfo>(itemNo);
  ModifyItem(itemNo, dvutModifyItem, [&] {
    std::unique_ptr<TCustomDVItemInfo> copy = DV_DuplicateItem(*data.GetItem(itemNo), &data);
    auto& line = static_cast<TDVBreakItemInfo&>(*copy);
    line.LineWidth = width;
    line.Style = style;
    line.Color = color;
    data.Do_ModifyItem(itemNo, data.GetItemTextR(itemNo), std::move(copy));
    data.Do_Tag(itemNo, tag, false);
  });
}

void TCustomDocViewEdit::SetCurrentBreakInfo(uint8_t width, TDVBreakStyle style, TColor color, const TDVTag& tag) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->SetCurrentBreakInfo(width, style, color, tag);
  SetBreakInfoEd(GetCurItemNo(), width, style, color, tag);
}

void TCustomDocViewEdit::SetPictureInfoEd(int itemNo, const std::string& name, std::unique_ptr<TGraphic> graphic,
                                          TDVVAlign vAlign, const TDVTag& tag) {
  SetPictureInfo(itemNo, name, std::move(graphic), vAlign, tag, dvutModifyItem, std::string());
}

void TCustomDocViewEdit::SetPictureInfoEdMy(int itemNo, const std::string& name, std::unique_ptr<TGraphic> graphic,
                                            TDVVAlign vAlign, const TDVTag& tag) {
  SetPictureInfo(itemNo, name, std::move(graphic), vAlign, tag, dvutPicture, Utf8ToAnsi("图片痕迹保留"));
}

void TCustomDocViewEdit::SetPictureInfo(int itemNo, const std::string& name, std::unique_ptr<TGraphic> graphic,
                                        TDVVAlign vAlign, const TDVTag& tag, TDVUndoType undoType,
                                        const std::string& caption) {
  TDVEditDVData& data = EditData();
  data.CheckItemClass<TDVGraphicItemInfo>(itemNo);
  ModifyItem(itemNo, undoType, [&] {
    std::unique_ptr<TCustomDVItemInfo> copy = DV_DuplicateItem(*data.GetItem(itemNo), &data);
    auto& picture = static_cast<TDVGraphicItemInfo&>(*copy);
    if (graphic) picture.Image = std::move(graphic);
    picture.VAlign = vAlign;
    data.Do_ModifyItem(itemNo, name, std::move(copy));
    data.Do_Tag(itemNo, tag, false);
  }, caption);
}

void TCustomDocViewEdit::SetCurrentPictureInfo(const std::string& name, std::unique_ptr<TGraphic> graphic,
                                               TDVVAlign vAlign, const TDVTag& tag) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->SetCurrentPictureInfo(name, std::move(graphic), vAlign, tag);
  SetPictureInfoEd(GetCurItemNo(), name, std::move(graphic), vAlign, tag);
}

void TCustomDocViewEdit::SetItemExtraIntPropertyEd(int itemNo, TDVExtraItemProperty prop, int32_t value,
                                                   bool autoReformat) {
  TDVEditDVData& data = EditData();
  int32_t old = 0;
  if (!data.GetItemExtraIntProperty(itemNo, prop, old) || old == value) return;
  if (autoReformat) {
    ModifyItem(itemNo, dvutModifyItem, [&] { data.Do_ExtraIntProperty(itemNo, prop, value); });
    return;
  }
  if (!BeforeChange(false)) return;
  TDVEditOperation operation(data);
  data.BeginUndoSequence(dvutModifyItem, true);
  data.Do_ExtraIntProperty(itemNo, prop, value);
  data.UndoList->PopIfEmpty();
}

void TCustomDocViewEdit::SetCurrentItemExtraIntProperty(TDVExtraItemProperty prop, int32_t value,
                                                        bool autoReformat) {
  if (TCustomDocViewEdit* top = InplaceTarget()) return top->SetCurrentItemExtraIntProperty(prop, value, autoReformat);
  SetItemExtraIntPropertyEd(GetCurItemNo(), prop, value, autoReformat);
}

void TCustomDocViewEdit::EndItemModify(int itemNo, int32_t width) {
  EditData().EndItemModify(itemNo, width);
  DoChange(true);
  Invalidate();
}

void TCustomDocViewEdit::SetItemTagEd(int itemNo, const TDVTag& tag) {
  TDVEditDVData& data = EditData();
  if (DV_CompareTags(data.GetItemTag(itemNo), tag, data.TagsArePChars()) || !BeforeChange(false)) return;
  TDVEditOperation operation(data);
  data.BeginUndoSequence(dvutTag, true);
  data.Do_Tag(itemNo, tag, false);
  data.UndoList->PopIfEmpty();
  DoChange(true);
}

namespace {

// The picture at itemNo as the other kind: the same picture, alignment and
// name in an item of class To and style toStyle.
template <class To>
std::unique_ptr<TCustomDVItemInfo> Converted(TDVEditDVData& data, int itemNo, int32_t toStyle) {
  auto to = std::make_unique<To>(&data);
  to->Assign(data.CheckItemClass<TDVGraphicItemInfo>(itemNo));
  to->StyleNo = toStyle;
  return to;
}

}  // namespace

void TCustomDocViewEdit::ConvertToHotPicture(int itemNo) {
  itemNo = CurrentItemNo(itemNo);
  if (EditData().GetItemStyle(itemNo) == dvsPicture)
    ReplacePicture(itemNo, Converted<TDVHotGraphicItemInfo>(EditData(), itemNo, dvsHotPicture));
}

void TCustomDocViewEdit::ConvertToPicture(int itemNo) {
  itemNo = CurrentItemNo(itemNo);
  if (EditData().GetItemStyle(itemNo) == dvsHotPicture)
    ReplacePicture(itemNo, Converted<TDVGraphicItemInfo>(EditData(), itemNo, dvsPicture));
}

void TCustomDocViewEdit::ReplacePicture(int itemNo, std::unique_ptr<TCustomDVItemInfo> picture) {
  TDVEditDVData& data = EditData();
  ModifyItem(itemNo, dvutModifyItem,
             [&] { data.Do_ModifyItem(itemNo, data.GetItemTextR(itemNo), std::move(picture)); });
}

// ---- undo, search, events ----

void TCustomDocViewEdit::ClearUndo() {
  EditData().UndoList->Clear();
  EditData().RedoList->Clear();
}

bool TCustomDocViewEdit::SearchText(const std::string& s, TDVESearchOptions options) {
  return EditData().SearchText(options & dvseoDown, options & dvseoMatchCase, s, options & dvseoWholeWord);
}

void TCustomDocViewEdit::AssignEvents(const TCustomDocView& source) {
  TCustomDocView::AssignEvents(source);
  const auto* editor = dynamic_cast<const TCustomDocViewEdit*>(&source);
  if (!editor) return;
  OnStyleConversion = editor->OnStyleConversion;
  OnParaStyleConversion = editor->OnParaStyleConversion;
  OnCurParaStyleChanged = editor->OnCurParaStyleChanged;
  OnCurTextStyleChanged = editor->OnCurTextStyleChanged;
  OnCaretMove = editor->OnCaretMove;
}

}  // namespace quillet
