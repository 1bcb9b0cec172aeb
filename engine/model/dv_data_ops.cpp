// Operations of the document data on whole runs of items and on styles:
// paragraphs, BiDi lookups, export bracketing, character stepping, draining
// one document into another, merging text items, RTF loading and the clean-up
// of unused styles.
#include <algorithm>

#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "engine/text/item_text.h"
#include "platform/core/beep.h"

namespace quillet {

void TCustomDVData::AdjustInItemsRange(int& itemNo) const {
  itemNo = std::clamp(itemNo, 0, std::max(ItemCount() - 1, 0));
}

int TCustomDVData::GetFirstParaItem(int itemNo) const {
  while (itemNo > 0 && !IsParaStart(itemNo)) --itemNo;
  return itemNo;
}

int TCustomDVData::GetFirstParaSectionItem(int itemNo) const {
  while (itemNo > 0 && !IsFromNewLine(itemNo)) --itemNo;
  return itemNo;
}

TDVBiDiMode TCustomDVData::GetParaBiDiMode(int32_t paraNo) const {
  const TDVStyle* dvStyle = GetDVStyle();
  if (dvStyle && dvStyle->ParaStyles().IsValidIndex(paraNo)) {
    const TDVBiDiMode mode = dvStyle->ParaStyles()[paraNo].BiDiMode;
    if (mode != dvbdUnspecified) return mode;
  }
  return GetBiDiMode();
}

TDVBiDiMode TCustomDVData::GetItemBiDiMode(int itemNo) const {
  const TCustomDVItemInfo* item = GetItem(itemNo);
  const TDVStyle* dvStyle = GetDVStyle();
  if (item->StyleNo >= 0 && dvStyle && dvStyle->TextStyles().IsValidIndex(item->StyleNo)) {
    const TDVBiDiMode mode = dvStyle->TextStyles()[item->StyleNo].BiDiMode;
    if (mode != dvbdUnspecified) return mode;
  }
  return GetParaBiDiMode(item->ParaNo);
}

void TCustomDVData::Beep() const {
  const TDVStyle* dvStyle = GetDVStyle();
  if (dvStyle && dvStyle->UseSound) SystemBeep();
}

void TCustomDVData::StartExport() { StartPartialExport(0, ItemCount() - 1); }
void TCustomDVData::EndExport() { EndPartialExport(0, ItemCount() - 1); }

void TCustomDVData::StartPartialExport(int first, int last) {
  for (int i = std::max(first, 0); i <= last && i < ItemCount(); ++i) GetItem(i)->StartExport();
}

void TCustomDVData::EndPartialExport(int first, int last) {
  for (int i = std::max(first, 0); i <= last && i < ItemCount(); ++i) GetItem(i)->EndExport();
}

void TCustomDVData::Inserting(TCustomDVData* dvData, bool safe) {
  for (int i = 0; i < ItemCount(); ++i) GetItem(i)->Inserting(dvData, items_->MutableText(i), safe);
}

// Steps whole characters: double-byte characters, surrogate pairs and a
// character with its combining marks.
int TCustomDVData::NextCharStr(const std::string& s, int itemNo, int index) const {
  return DVU_NextCharIndex(s, index, GetItemOptions(itemNo), GetStyleCodePage(GetItemStyle(itemNo)));
}

int TCustomDVData::PrevCharStr(const std::string& s, int itemNo, int index) const {
  return DVU_PrevCharIndex(s, index, GetItemOptions(itemNo), GetStyleCodePage(GetItemStyle(itemNo)));
}

void TCustomDVData::DrainFrom(TCustomDVData* victim) {
  if (!victim || victim == this) return;
  if (victim->TagsArePChars() != TagsArePChars())
    throw EDocViewError("Can't assign DocView to DocView - tags types mismatch");
  // The victim gives up its whole list at once and its items join this
  // document in one pass: nothing is searched per item.
  TDVItemList moved = victim->items_->TakeFrom(0);
  // Markers leave the victim's list from the last one back: each sits next
  // to the one removed before it, where the list looks first, and erasing
  // moves none of the victim's markers.
  {
    TMarkerRecountBatch victimRecount(*victim);
    for (int i = moved.Count() - 1; i >= 0; --i) {
      TCustomDVItemInfo* item = moved.Item(i);
      if (item && item->StyleNo == dvsListMarker) victim->DeleteMarkerFromList(item, true);
    }
  }
  items_->Reserve(ItemCount() + moved.Count());
  TMarkerRecountBatch recount(*this);
  for (int i = 0; i < moved.Count(); ++i) {
    std::unique_ptr<TCustomDVItemInfo> item = moved.TakeItem(i);
    if (!item) continue;
    if (item->Checkpoint) {
      item->Checkpoint->Next = item->Checkpoint->Prev = nullptr;
      --victim->cpCount_;
    }
    if (item->SameAsPrev()) item->ParaNo = -1;
    AddItem(std::move(moved.MutableText(i)), std::move(item));
  }
  victim->firstCP_ = victim->lastCP_ = nullptr;
  // The victim's trailing checkpoint stood at its end, which is now this
  // document's end: it becomes this document's trailing checkpoint unless
  // one is pending here already.
  if (victim->notAddedCP_ && !notAddedCP_) {
    notAddedCP_ = std::move(victim->notAddedCP_);
    --victim->cpCount_;
    ++cpCount_;
  }
  victim->Clear();
}

namespace {

// Which of two adjacent text items a merge drops when one of them is empty:
// the empty one, keeping the other's text, style, tag and checkpoint. -1 when
// no checkpoint could keep its position.
int EmptyItemToDrop(const std::string& text1, const std::string& text2, const TCustomDVItemInfo& item1,
                    const TCustomDVItemInfo& item2) {
  if (!text2.empty()) return item1.Checkpoint && item2.Checkpoint ? -1 : 0;
  if (!text1.empty()) return item2.Checkpoint ? -1 : 1;
  if (!item2.Checkpoint) return 1;
  return item1.Checkpoint ? -1 : 0;
}

}  // namespace

bool TCustomDVData::DV_CanConcateItems(int firstItemNo, const TCustomDVItemInfo* item1,
                                       const TCustomDVItemInfo* item2, bool ignorePara) const {
  if (!item1 || !item2 || item1->StyleNo < 0 || item2->StyleNo < 0) return false;
  if (firstItemNo < 0 || firstItemNo + 1 >= ItemCount()) return false;
  const std::string& text1 = GetItemTextR(firstItemNo);
  const std::string& text2 = GetItemTextR(firstItemNo + 1);
  if (!ignorePara && !item2->SameAsPrev()) return false;
  if (text1.empty() || text2.empty()) return EmptyItemToDrop(text1, text2, *item1, *item2) >= 0;
  if (item1->StyleNo != item2->StyleNo || item1->IsUnicode() != item2->IsUnicode()) return false;
  if (!DV_CompareTags(item1->Tag, item2->Tag, TagsArePChars()) || item2->Checkpoint) return false;
  const TDVStyle* dvStyle = GetDVStyle();
  if (dvStyle && dvStyle->TextStyles().IsValidIndex(item1->StyleNo)) {
    const TDVProtectOptions protection = dvStyle->TextStyles()[item1->StyleNo].Protection;
    if (protection & (dvprModifyProtect | dvprConcateProtect)) return false;
  }
  return true;
}

void TCustomDVData::SimpleConcate(int firstItemNo) {
  TCustomDVItemInfo* item1 = GetItem(firstItemNo);
  TCustomDVItemInfo* item2 = GetItem(firstItemNo + 1);
  const std::string& text1 = GetItemTextR(firstItemNo);
  const std::string& text2 = GetItemTextR(firstItemNo + 1);
  if (text1.empty() || text2.empty()) {
    const int drop = EmptyItemToDrop(text1, text2, *item1, *item2);
    if (drop < 0) return;
    if (drop == 0) {
      // The kept item takes the dropped one's place in its paragraph, and its
      // checkpoint, which stood at the same position.
      const auto placement = static_cast<TDVItemOptions>(dvioSameAsPrev | dvioPageBreakBefore | dvioBR);
      item2->ItemOptions = static_cast<TDVItemOptions>((item2->ItemOptions & ~placement) |
                                                       (item1->ItemOptions & placement));
      item2->ParaNo = item1->ParaNo;
      if (item1->Checkpoint) {
        item2->Checkpoint = std::move(item1->Checkpoint);
        item2->Checkpoint->ItemInfo = item2;
      }
    }
    InternalFreeItem(items_->TakeItem(firstItemNo + drop), false);
    items_->Delete(firstItemNo + drop);
    return;
  }
  items_->MutableText(firstItemNo) += text2;
  InternalFreeItem(items_->TakeItem(firstItemNo + 1), false);
  items_->Delete(firstItemNo + 1);
}

void TCustomDVData::MassSimpleConcate(int firstItemNo, int lastItemNo) {
  lastItemNo = std::min(lastItemNo, ItemCount() - 1);
  firstItemNo = std::max(firstItemNo, 0);
  for (int i = lastItemNo; i > firstItemNo; --i)
    if (DV_CanConcateItems(i - 1, GetItem(i - 1), GetItem(i), false)) SimpleConcate(i - 1);
}

TDVRTFErrorCode TCustomDVData::LoadRTF(const std::string& fileName) {
  TDVRTFReaderProperties* properties = GetRTFProperties();
  if (!properties) return rtf_ec_Assertion;
  const int seam = ItemCount() - 1;
  const TDVRTFErrorCode result = properties->ReadFromFile(fileName, *this);
  MassSimpleConcate(seam, ItemCount() - 1);
  return result;
}

TDVRTFErrorCode TCustomDVData::LoadRTFFromStream(TStream& stream) {
  TDVRTFReaderProperties* properties = GetRTFProperties();
  if (!properties) return rtf_ec_Assertion;
  const int seam = ItemCount() - 1;
  const TDVRTFErrorCode result = properties->ReadFromStream(stream, *this);
  MassSimpleConcate(seam, ItemCount() - 1);
  return result;
}

void TCustomDVData::MarkStylesInUse(TDVIntegerList& usedText, TDVIntegerList& usedPara) const {
  for (int i = 0; i < ItemCount(); ++i) GetItem(i)->MarkStylesInUse(usedText, usedPara);
}

void TCustomDVData::UpdateStyles(const TDVIntegerList& textMap, const TDVIntegerList& paraMap) {
  for (int i = 0; i < ItemCount(); ++i) GetItem(i)->UpdateStyles(textMap, paraMap);
}

namespace {

// Marks of used styles become a renumbering map: a used style's entry is 1 +
// the number of unused styles before it; an unused style's entry is 0.
void MarksToMap(TDVIntegerList& marks) {
  int32_t counter = 1;
  for (int i = 0; i < marks.Count(); ++i) {
    if (marks[i] != 0)
      marks.Put(i, counter);
    else
      ++counter;
  }
}

// A reference held by a style, renumbered; a reference to a deleted style
// (or to none that exists) becomes -1.
int32_t MapReference(int32_t ref, const TDVIntegerList& map) {
  if (ref < 0 || ref >= map.Count() || map[ref] == 0) return -1;
  return ref - (map[ref] - 1);
}

void CleanCollection(TCustomDVInfos& styles, const TDVIntegerList& map) {
  for (int i = map.Count() - 1; i >= 0; --i)
    if (map[i] == 0) styles.Delete(i);
  for (int i = 0; i < styles.Count(); ++i) {
    TCustomDVInfo& style = styles.ItemAt(i);
    style.BaseStyleNo = MapReference(style.BaseStyleNo, map);
    style.SetNextStyleRef(MapReference(style.GetNextStyleRef(), map));
  }
}

}  // namespace

void TCustomDVData::DeleteUnusedStyles(bool textStyles, bool paraStyles) {
  TDVStyle* dvStyle = GetDVStyle();
  if (!dvStyle) return;
  TFontInfos& texts = dvStyle->TextStyles();
  TParaInfos& paras = dvStyle->ParaStyles();
  TDVIntegerList textMap = TDVIntegerList::CreateEx(texts.Count(), textStyles ? 0 : 1);
  TDVIntegerList paraMap = TDVIntegerList::CreateEx(paras.Count(), paraStyles ? 0 : 1);
  if (textStyles)
    for (int i = 0; i < texts.Count(); ++i)
      if (texts[i].Standard) textMap.Put(i, 1);
  if (paraStyles)
    for (int i = 0; i < paras.Count(); ++i)
      if (paras[i].Standard) paraMap.Put(i, 1);
  GetAbsoluteRootData()->MarkStylesInUse(textMap, paraMap);
  // A style that a kept style refers to stays too, so no reference dangles
  // (repeated until nothing more is kept: references may chain).
  for (bool changed = true; changed;) {
    changed = false;
    auto keepReferenced = [&changed](TCustomDVInfos& styles, TDVIntegerList& marks) {
      for (int i = 0; i < styles.Count(); ++i) {
        if (marks[i] == 0) continue;
        for (int32_t ref : {styles.ItemAt(i).BaseStyleNo, styles.ItemAt(i).GetNextStyleRef()}) {
          if (ref >= 0 && ref < marks.Count() && marks[ref] == 0) {
            marks.Put(ref, 1);
            changed = true;
          }
        }
      }
    };
    keepReferenced(texts, textMap);
    keepReferenced(paras, paraMap);
  }
  MarksToMap(textMap);
  MarksToMap(paraMap);
  CleanCollection(texts, textMap);
  CleanCollection(paras, paraMap);
  GetAbsoluteRootData()->UpdateStyles(textMap, paraMap);
  AfterDeleteStyles(textMap, paraMap);
}

}  // namespace quillet
