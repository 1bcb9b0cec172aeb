// The smaller services of the editable data: the selection seen from the
// caret, protection tests, the Shift-selection bracket, list-marker caret
// rules, section edges, style bookkeeping, search and the save wrappers.
#include "editing/control/editor.h"
#include "editing/edit/edit_data.h"
#include "engine/style/style_sheet.h"

namespace quillet {

void TDVEditDVData::GetSelectionBoundsEx(int& startItemNo, int32_t& startItemOffs, int& endItemNo,
                                         int32_t& endItemOffs, bool normalize) {
  if (!GetChosenDVData() && !SelectionExists(false, false) && CaretDrawItemNo >= 0) {
    startItemNo = endItemNo = GetCurItemNo();
    startItemOffs = endItemOffs = GetOffsetInCurItem();
    return;
  }
  TDocViewDVData::GetSelectionBoundsEx(startItemNo, startItemOffs, endItemNo, endItemOffs, normalize);
}

void TDVEditDVData::GetSelStart(int& drawItemNo, int32_t& drawItemOffs) {
  TDocViewDVData::GetSelStart(drawItemNo, drawItemOffs);
  if (drawItemNo >= 0 || CaretOffs < 0 || CaretOffs >= static_cast<int32_t>(CharEnds.size())) return;
  drawItemNo = CaretDrawItemNo;
  drawItemOffs = CharEnds[static_cast<size_t>(CaretOffs)].Offset;
}

void TDVEditDVData::GetIMEWinCoord(TPoint& point) const {
  if (CaretOffs < 0 || CaretOffs >= static_cast<int32_t>(CharEnds.size())) return;
  const TDVCharPos& stop = CharEnds[static_cast<size_t>(CaretOffs)];
  point.X = stop.X - 1 + stop.MoveRightTo - GetHOffs();
  point.Y = DrawItems[CaretDrawItemNo]->Top - 1 - GetVOffs();
}

// ---- protection ----

bool TDVEditDVData::IsProtected(int itemNo, TDVProtectOption option) const {
  const int32_t styleNo = GetItemStyle(itemNo);
  const TDVStyle* sheet = GetDVStyle();
  return styleNo >= 0 && sheet && sheet->TextStyles().IsValidIndex(styleNo) &&
         (sheet->TextStyles()[styleNo].Protection & option) != 0;
}

bool TDVEditDVData::IsParaProtected(int32_t paraNo, TDVParaOption option) const {
  const TDVStyle* sheet = GetDVStyle();
  return sheet && sheet->ParaStyles().IsValidIndex(paraNo) && (sheet->ParaStyles()[paraNo].Options & option) != 0;
}

bool TDVEditDVData::IsItemParaProtected(int itemNo) const {
  return IsParaProtected(GetItemPara(itemNo), dvpaoReadOnly);
}

bool TDVEditDVData::IsSticking(int firstItemNo) {
  const int count = ItemCount();
  // Nothing to read in a document without items.
  if (count == 0) return false;
  bool sticking;
  if (firstItemNo < 0)
    sticking = IsProtected(0, dvprSticking);
  else if (firstItemNo >= count - 1)
    sticking = IsProtected(count - 1, dvprSticking);
  else
    sticking = IsProtected(firstItemNo, dvprSticking) && IsProtected(firstItemNo + 1, dvprSticking);
  if (sticking) Beep();
  return sticking;
}

// ---- Shift selection and the caret ----

void TDVEditDVData::StartShiftMoving() {
  if (SelectionExists(false, false) || CaretOffs < 0 || CaretOffs >= static_cast<int32_t>(CharEnds.size())) return;
  FSelStartNo = FSelEndNo = CaretDrawItemNo;
  FSelStartOffs = FSelEndOffs = CharEnds[static_cast<size_t>(CaretOffs)].Offset;
}

void TDVEditDVData::EndShiftMoving() {
  if (CaretOffs < 0 || CaretOffs >= static_cast<int32_t>(CharEnds.size())) return;
  FSelEndNo = CaretDrawItemNo;
  FSelEndOffs = CharEnds[static_cast<size_t>(CaretOffs)].Offset;
  DoSelect();
  Invalidate();
}

void TDVEditDVData::SelectBackWord() {
  const int itemNo = GetCurItemNo();
  const int32_t offs = GetOffsetInCurItem();
  if (itemNo < 0 || offs <= GetOffsBeforeItem(itemNo)) return;
  const int32_t start =
      GetItemStyle(itemNo) >= 0 ? PrevCharStr(GetItemTextR(itemNo), itemNo, offs) : GetOffsBeforeItem(itemNo);
  RestoreSelBounds(itemNo, itemNo, start, offs);
  Invalidate();
}

void TDVEditDVData::CaretMoveBack() {
  if (CaretOffs < 0 || CaretOffs >= static_cast<int32_t>(CharEnds.size())) return;
  FSelStartNo = FSelEndNo = CaretDrawItemNo;
  FSelStartOffs = FSelEndOffs = CharEnds[static_cast<size_t>(CaretOffs)].Offset;
  Invalidate();
}

void TDVEditDVData::AdjustMarkerPos(int& itemNo, int32_t& offs) const {
  if (itemNo < 0 || itemNo >= ItemCount() || GetItemStyle(itemNo) != dvsListMarker) return;
  if ((itemNo == 0 || offs >= 1) && itemNo + 1 < ItemCount()) {
    ++itemNo;
    offs = GetOffsBeforeItem(itemNo);
  } else if (itemNo > 0) {
    --itemNo;
    offs = GetOffsAfterItem(itemNo);
  }
}

void TDVEditDVData::AdjustMarkerCaret(bool right, int32_t& offs) {
  if (CaretDrawItemNo < 0 || GetItemStyle(DrawItems[CaretDrawItemNo]->ItemNo) != dvsListMarker) return;
  if ((right || CaretDrawItemNo == 0) && CaretDrawItemNo + 1 < DrawItems.Count()) {
    ++CaretDrawItemNo;
    offs = GetOffsBeforeDrawItem(CaretDrawItemNo);
  } else if (CaretDrawItemNo > 0) {
    --CaretDrawItemNo;
    offs = GetOffsAfterDrawItem(CaretDrawItemNo);
  }
}

bool TDVEditDVData::CaretAtTheBeginningOfParaSection() const {
  if (CaretOffs != 0 || CharEnds.empty()) return false;
  int itemNo;
  int32_t offs;
  DrawItem2Item(CharEnds.front().DrawItemNo, CharEnds.front().Offset, itemNo, offs);
  return offs <= GetOffsBeforeItem(itemNo) &&
         (IsFromNewLine(itemNo) || (itemNo > 0 && GetItemStyle(itemNo - 1) == dvsListMarker));
}

bool TDVEditDVData::CaretAtTheEndOfParaSection() const {
  if (CharEnds.empty() || CaretOffs != static_cast<int32_t>(CharEnds.size()) - 1) return false;
  int itemNo;
  int32_t offs;
  DrawItem2Item(CharEnds.back().DrawItemNo, CharEnds.back().Offset, itemNo, offs);
  if (itemNo + 1 < ItemCount() && !IsFromNewLine(itemNo + 1)) return false;
  return GetItemStyle(itemNo) < 0 || offs >= GetOffsAfterItem(itemNo);
}

// ---- styles ----

namespace {
// A style number through the deletion map: 0 when its style went.
int32_t Renumbered(int32_t no, const TDVIntegerList& map) {
  if (no < 0 || no >= map.Count()) return no;
  return map[no] == 0 ? 0 : no - (map[no] - 1);
}
}  // namespace

void TDVEditDVData::MarkStylesInUse(TDVIntegerList& usedText, TDVIntegerList& usedPara) const {
  TDocViewDVData::MarkStylesInUse(usedText, usedPara);
  if (FCurTextStyleNo >= 0 && FCurTextStyleNo < usedText.Count()) usedText.Put(FCurTextStyleNo, 1);
  if (FCurParaStyleNo >= 0 && FCurParaStyleNo < usedPara.Count()) usedPara.Put(FCurParaStyleNo, 1);
}

void TDVEditDVData::AfterDeleteStyles(const TDVIntegerList& textMap, const TDVIntegerList& paraMap) {
  UndoList->Clear();
  RedoList->Clear();
  FCurTextStyleNo = Renumbered(FCurTextStyleNo, textMap);
  FPrevTextStyleNo = Renumbered(FPrevTextStyleNo, textMap);
  FCurParaStyleNo = Renumbered(FCurParaStyleNo, paraMap);
  TDocViewDVData::AfterDeleteStyles(textMap, paraMap);
  // The numbers changed under the host: both events fire, once the items
  // are renumbered too.
  if (GetInplaceEditor()) return;
  State |= dvstForceStyleChangeEvent;
  SetCurParaStyleNo(FCurParaStyleNo);
  State |= dvstForceStyleChangeEvent;
  SetCurTextStyleNo(FCurTextStyleNo);
}

void TDVEditDVData::DeselectPartiallySelectedItem(TCustomDVItemInfo* newPartiallySelected) {
  const bool had = FPartialSelectedItem != nullptr;
  TDocViewDVData::DeselectPartiallySelectedItem(newPartiallySelected);
  if ((had || newPartiallySelected) && !DocView().Destroying()) Editor().AfterCaretMove();
}

void TDVEditDVData::SetPartialSelectedItem(TCustomDVItemInfo* item) {
  const bool changes = item != FPartialSelectedItem;
  TDocViewDVData::SetPartialSelectedItem(item);
  if (changes && !DocView().Destroying()) Editor().AfterCaretMove();
}

// ---- search ----

void TDVEditDVData::SrchStart(bool down, int& itemNo, int32_t& offs) {
  if (SelectionExists(false, false) || GetChosenItem() || CaretDrawItemNo < 0) {
    TDocViewDVData::SrchStart(down, itemNo, offs);
    return;
  }
  itemNo = GetCurItemNo();
  offs = GetOffsetInCurItem();
  if (down && offs >= GetOffsAfterItem(itemNo) && itemNo + 1 < ItemCount()) {
    ++itemNo;
    offs = GetOffsBeforeItem(itemNo);
  } else if (!down && offs <= GetOffsBeforeItem(itemNo) && itemNo > 0) {
    --itemNo;
    offs = GetOffsAfterItem(itemNo);
  }
}

void TDVEditDVData::SrchSelectIt(int itemNo, int32_t offs, int32_t len, bool invert) {
  Deselect(nullptr, false);
  TDocViewDVData::SrchSelectIt(itemNo, offs, len, invert);
}

// ---- saving with the hyperlink areas in place ----

namespace {

// The root editor keeps no hyperlink areas while editing; the writers get
// them for the length of one save.
class TScopedJumps {
 public:
  // Areas that are there already (a read-only editor) stay.
  explicit TScopedJumps(TDVEditDVData& data)
      : data_(data), built_((data.GetFlags() & (dvflRootEditor | dvflUseJumps)) == dvflRootEditor) {
    if (!built_) return;
    // The pass numbers every link: the caret's hot one gives its own number
    // back first and is made hot again afterwards.
    hotDrawItemNo_ = data_.HotItem() ? data_.LastDIMovedAbove : -1;
    data_.MakeCold();
    data_.ClearJumps();
    int32_t jumpNo = 0;
    data_.BuildJumpsCoords(jumpNo, data_.Jumps);
  }
  ~TScopedJumps() {
    if (!built_) return;
    data_.ClearJumps();
    if (hotDrawItemNo_ >= 0 && hotDrawItemNo_ < data_.DrawItems.Count()) data_.MakeHot(hotDrawItemNo_);
  }
  TScopedJumps(const TScopedJumps&) = delete;
  TScopedJumps& operator=(const TScopedJumps&) = delete;

 private:
  TDVEditDVData& data_;
  bool built_;
  int hotDrawItemNo_ = -1;
};

}  // namespace

bool TDVEditDVData::SaveRTFToStream(TStream& stream, bool selectionOnly, int level, TColor color,
                                    const TDVBackground* background, TDVColorList* colorList,
                                    TDVIntegerList* styleToFont, TDVIntegerList* fontTable, double twipsPerPixel) {
  TScopedJumps jumps(*this);
  return TDocViewDVData::SaveRTFToStream(stream, selectionOnly, level, color, background, colorList, styleToFont,
                                         fontTable, twipsPerPixel);
}

bool TDVEditDVData::SaveHTMLToStream(TStream& stream, const std::string& path, const std::string& title,
                                     const std::string& imagesPrefix, TDVSaveOptions options, TColor color,
                                     const TDVBackground* background, const TDVHTMLMargins& margins) {
  TScopedJumps jumps(*this);
  return TDocViewDVData::SaveHTMLToStream(stream, path, title, imagesPrefix, options, color, background, margins);
}

bool TDVEditDVData::SaveHTMLToStreamEx(TStream& stream, const std::string& path, const std::string& title,
                                       const std::string& imagesPrefix, const std::string& extraStyles,
                                       const std::string& externalCSS, TDVSaveOptions options, TColor color,
                                       const TDVBackground* background, const TDVHTMLMargins& margins) {
  TScopedJumps jumps(*this);
  return TDocViewDVData::SaveHTMLToStreamEx(stream, path, title, imagesPrefix, extraStyles, externalCSS, options,
                                            color, background, margins);
}

}  // namespace quillet
