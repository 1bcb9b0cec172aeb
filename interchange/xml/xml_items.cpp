#include "interchange/xml/xml_items.h"

#include <string>

#include "engine/model/break_item.h"
#include "engine/model/bullet_item.h"
#include "engine/model/control_item.h"
#include "engine/model/dv_data.h"
#include "engine/model/item_registry.h"
#include "engine/model/picture_item.h"
#include "engine/style/style_sheet.h"
#include "interchange/xml/xml_item_reader.h"
#include "interchange/xml/xml_tag.h"
#include "interchange/xml/xml_values.h"
#include "platform/core/arith.h"
#include "platform/core/code_page.h"
#include "platform/core/control.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/image_list.h"
#include "platform/gfx/picture_file.h"

namespace quillet {

namespace {

template <class Infos>
int FindNamed(const Infos& infos, std::string_view name) {
  for (int i = 0; i < infos.Count(); ++i)
    if (AnsiSameText(infos[i].StyleName, name)) return i;
  return -1;
}

constexpr TXMLKeyword<TDVVAlign> kVAligns[] = {{"baseline", dvvaBaseline},
                                                                                     {"middle", dvvaMiddle}};

}  // namespace

int FindNamedStyleNo(const TDVStyle& dvStyle, std::string_view name) { return FindNamed(dvStyle.TextStyles(), name); }
int FindNamedParaNo(const TDVStyle& dvStyle, std::string_view name) { return FindNamed(dvStyle.ParaStyles(), name); }
int FindNamedListNo(const TDVStyle& dvStyle, std::string_view name) { return FindNamed(dvStyle.ListStyles(), name); }

TXMLItemReader::TXMLItemReader(TCustomDVData& dvData, TXMLLoadContext& context, TDocViewXMLStyle& defaults,
                               int insertPosition, bool firstTime)
    : dvData_(dvData), context_(context), defaults_(defaults), index_(insertPosition), firstTime_(firstTime) {}

// A number from the file goes through its map; one found by name is an index
// of the style sheet already. Either way one outside fails the load.
int32_t TXMLItemReader::Translate(TStyleRef ref, TStyleRef fallback, const TDVIntegerList& map, int count) {
  if (ref.no == -1) ref = fallback;
  if (!ref.byName) return map.Get(ref.no);
  if (ref.no < 0 || ref.no >= count) ThrowListIndexError(ref.no);
  return ref.no;
}

int32_t TXMLItemReader::TranslateStyle(TStyleRef ref) const {
  return Translate(ref, {defaults_.StyleNo, defaults_.StyleNoByName}, context_.StyleMap,
                   context_.DVStyle.TextStyles().Count());
}

int32_t TXMLItemReader::TranslatePara(TStyleRef ref) const {
  return Translate(ref, {defaults_.ParaNo, defaults_.ParaNoByName}, context_.ParaMap,
                   context_.DVStyle.ParaStyles().Count());
}

bool TXMLItemReader::ReadCommon(const TXMLAttr& attr, unsigned accepted, TCustomDVItemInfo& item, TStyleRef& style,
                                TStyleRef& para) const {
  const std::string_view v = attr.Value;
  const auto is = [&](std::string_view name) { return SameName(attr.Name, name); };
  if (accepted & kTag) {
    if (is("tag")) {
      if (context_.TagsArePChars) item.Tag.Str = attr.Value;
      return true;
    }
    if (is("tagnumber")) {
      if (!context_.TagsArePChars) ReadInt(v, item.Tag.Int);
      return true;
    }
  }
  if (accepted & kTextStyle) {
    if (is("textstyleno")) {
      if (StrToIntOpt(v)) style = {*StrToIntOpt(v), false};
      return true;
    }
    if (is("textstyle")) {
      style = {FindNamedStyleNo(context_.DVStyle, v), true};
      return true;
    }
  }
  if (accepted & kParaStyle) {
    if (is("parastyleno")) {
      if (StrToIntOpt(v)) para = {*StrToIntOpt(v), false};
      return true;
    }
    if (is("parastyle")) {
      para = {FindNamedParaNo(context_.DVStyle, v), true};
      return true;
    }
  }
  if (accepted & kLine) {
    if (is("br")) {
      if (v == "0") item.SetSameAsPrev(true);
      if (v == "1") item.SetSameAsPrev(false);
      return true;
    }
    if (is("newpara")) {
      if (v == "0") item.SetBR(true);
      if (v == "1") item.SetBR(false);
      return true;
    }
  }
  if (accepted & kRect) {
    auto& rect = static_cast<TDVRectItemInfo&>(item);
    if (is("valign")) {
      ReadKeyword(v, kVAligns, rect.VAlign);
      return true;
    }
    if (is("vshift")) {
      ReadInt(v, rect.VShift);
      return true;
    }
    if (is("vshiftabs")) {
      ReadFlag(v, rect.VShiftAbs);
      return true;
    }
  }
  return false;
}

void TXMLItemReader::InsertItem(std::string text, std::unique_ptr<TCustomDVItemInfo> item) {
  if (dvData_.ItemCount() == 0 || index_ == 0) {
    item->SetSameAsPrev(false);
  } else {
    const TCustomDVItemInfo* prev = dvData_.GetItem(index_ - 1);
    if (prev->GetBoolValue(dvbpFullWidth))
      item->SetSameAsPrev(false);
    else if (item->SameAsPrev())
      item->ParaNo = prev->ParaNo;
  }
  if (!context_.DVStyle.ParaStyles().IsValidIndex(item->ParaNo)) {
    const int32_t fallback = TranslatePara({-1, false});
    item->ParaNo = fallback;
  }
  if (item->GetBoolValue(dvbpFullWidth)) item->ItemOptions &= static_cast<TDVItemOptions>(~dvioBR);
  if (firstTime_) {
    int index = index_;
    dvData_.InsertFirstDVFItem(index, text, item, false);
    firstItemIndex_ = index;
    index_ = index + 1;
    firstTime_ = false;
    return;
  }
  item->Inserting(&dvData_, text, false);
  dvData_.Items().Insert(index_, std::move(text), std::move(item));
  ++index_;
  ++nonFirstItemsAdded_;
}

void TXMLItemReader::ReadText(const TXMLTag& node, bool unicode) {
  std::unique_ptr<TCustomDVItemInfo> item = DocViewTextItemClass(&dvData_);
  TStyleRef style{defaults_.StyleNo, defaults_.StyleNoByName}, para{defaults_.ParaNo, defaults_.ParaNoByName};
  for (int i = 0; i < node.Attributes().Count(); ++i)
    ReadCommon(*node.Attributes().Get(i), kTag | kTextStyle | kParaStyle | kLine, *item, style, para);
  item->StyleNo = TranslateStyle(style);
  item->ParaNo = TranslatePara(para);
  std::string text;
  if (unicode) {
    item->ItemOptions |= dvioUnicode;
    text.reserve(node.WValue.size() * 2);
    for (char16_t unit : node.WValue) {
      text.push_back(static_cast<char>(unit & 0xFF));
      text.push_back(static_cast<char>(unit >> 8));
    }
  } else {
    text = node.Value;
  }
  InsertItem(std::move(text), std::move(item));
}

void TXMLItemReader::ReadImage(const TXMLTag& node, bool hot) {
  std::unique_ptr<TDVGraphicItemInfo> item = hot ? std::make_unique<TDVHotGraphicItemInfo>(&dvData_)
                                                 : std::make_unique<TDVGraphicItemInfo>(&dvData_);
  item->StyleNo = hot ? dvsHotPicture : dvsPicture;
  item->VAlign = defaults_.VAlign;
  TStyleRef style{}, para{defaults_.ParaNo, defaults_.ParaNoByName};
  std::unique_ptr<TGraphic> picture;
  bool fromFile = false, hasData = false, transparent = false;
  TTransparentMode transparentMode = tmAuto;
  TColor transparentColor = 0;
  std::string data;
  for (int i = 0; i < node.Attributes().Count(); ++i) {
    const TXMLAttr& attr = *node.Attributes().Get(i);
    if (ReadCommon(attr, kTag | kParaStyle | kLine | kRect, *item, style, para)) continue;
    const std::string_view v = attr.Value;
    if (SameName(attr.Name, "class")) {
      picture = CreateGraphic(v);  // an unknown class gives no picture
      fromFile = false;
    } else if (SameName(attr.Name, "imgsource")) {
      picture = LoadPictureFile(FileReference(node, v));
      fromFile = true;
    } else if (SameName(attr.Name, "img")) {
      data = v;
      hasData = true;
    } else if (SameName(attr.Name, "width")) {
      ReadInt(v, item->ImageWidth);
    } else if (SameName(attr.Name, "height")) {
      ReadInt(v, item->ImageHeight);
    } else if (SameName(attr.Name, "transparent")) {
      ReadFlag(v, transparent);
    } else if (SameName(attr.Name, "transparentmode")) {
      ReadKeyword<TTransparentMode>(v, {{"auto", tmAuto}, {"fixed", tmFixed}}, transparentMode);
    } else if (SameName(attr.Name, "transparentcolor")) {
      transparentColor = ReadColor(v);
    }
  }
  item->ParaNo = TranslatePara(para);
  if (!picture || (!hasData && !fromFile)) return;
  if (hasData) LoadGraphicData(*picture, data);
  if (auto* bitmap = dynamic_cast<TBitmap*>(picture.get())) {
    bitmap->SetTransparent(transparent);
    bitmap->SetTransparentColor(transparentColor);
    bitmap->SetTransparentMode(transparentMode);
  }
  item->Image = std::move(picture);
  InsertItem(node.Value, std::move(item));
}

void TXMLItemReader::ReadBreak(const TXMLTag& node) {
  auto item = std::make_unique<TDVBreakItemInfo>(&dvData_);
  item->LineWidth = defaults_.BreakWidth;
  item->Color = defaults_.BreakColor;
  TStyleRef style{}, para{};
  for (int i = 0; i < node.Attributes().Count(); ++i) {
    const TXMLAttr& attr = *node.Attributes().Get(i);
    if (ReadCommon(attr, kTag, *item, style, para)) continue;
    if (SameName(attr.Name, "width")) ReadByte(attr.Value, item->LineWidth);
    if (SameName(attr.Name, "color")) item->Color = ReadColor(attr.Value);
  }
  // A break keeps paragraph 0, an index of the style sheet.
  item->ParaNo = 0;
  InsertItem(node.Value, std::move(item));
}

void TXMLItemReader::ReadBullet(const TXMLTag& node) {
  auto item = std::make_unique<TDVBulletItemInfo>(&dvData_);
  item->VAlign = defaults_.VAlign;
  TStyleRef style{}, para{defaults_.ParaNo, defaults_.ParaNoByName};
  TCustomImageList* list = nullptr;
  for (int i = 0; i < node.Attributes().Count(); ++i) {
    const TXMLAttr& attr = *node.Attributes().Get(i);
    if (ReadCommon(attr, kTag | kParaStyle | kLine | kRect, *item, style, para)) continue;
    if (SameName(attr.Name, "img")) {
      const std::optional<int32_t> index = StrToIntOpt(attr.Value);
      if (!index) ThrowInvalidInteger(attr.Value);
      list = context_.Bullets.Get(*index);
    }
  }
  item->ParaNo = TranslatePara(para);
  if (!list) return;
  item->ImageList = list;
  item->ImageIndex = 0;
  InsertItem(node.Value, std::move(item));
}

void TXMLItemReader::ReadHotSpot(const TXMLTag& node) {
  auto item = std::make_unique<TDVHotspotItemInfo>(&dvData_);
  item->VAlign = defaults_.VAlign;
  TStyleRef style{}, para{defaults_.ParaNo, defaults_.ParaNoByName};
  std::unique_ptr<TBitmap> normal, hot;
  const auto bitmapOf = [&](const TXMLAttr& attr, bool file) {
    auto bitmap = std::make_unique<TBitmap>();
    if (file)
      bitmap->LoadFromFile(FileReference(node, attr.Value));
    else
      LoadGraphicData(*bitmap, attr.Value);
    return bitmap;
  };
  for (int i = 0; i < node.Attributes().Count(); ++i) {
    const TXMLAttr& attr = *node.Attributes().Get(i);
    if (ReadCommon(attr, kTag | kParaStyle | kLine | kRect, *item, style, para)) continue;
    if (SameName(attr.Name, "img")) normal = bitmapOf(attr, false);
    if (SameName(attr.Name, "imgsource")) normal = bitmapOf(attr, true);
    if (SameName(attr.Name, "hotimg")) hot = bitmapOf(attr, false);
    if (SameName(attr.Name, "hotimgsource")) hot = bitmapOf(attr, true);
  }
  item->ParaNo = TranslatePara(para);
  if (!normal || normal->Empty()) return;
  TCustomImageList* list = context_.HotspotLists.AddBitmap(*normal);
  if (hot && !hot->Empty()) list->Add(*hot, hot->GetPixel(0, 0));
  item->ImageList = list;
  item->ImageIndex = 0;
  item->HotImageIndex = list->Count() > 1 ? 1 : 0;
  InsertItem(node.Value, std::move(item));
}

void TXMLItemReader::ReadControl(const TXMLTag& node) {
  auto item = std::make_unique<TDVControlItemInfo>(&dvData_);
  item->VAlign = defaults_.VAlign;
  TStyleRef style{}, para{defaults_.ParaNo, defaults_.ParaNoByName};
  std::string data, className;
  bool hasData = false, hasClass = false;
  for (int i = 0; i < node.Attributes().Count(); ++i) {
    const TXMLAttr& attr = *node.Attributes().Get(i);
    if (ReadCommon(attr, kTag | kParaStyle | kLine | kRect, *item, style, para)) continue;
    if (SameName(attr.Name, "data")) {
      if (context_.OnLoadControl) {
        item->Control = context_.OnLoadControl(attr.Value);
      } else {
        data = attr.Value;
        hasData = true;
      }
    } else if (SameName(attr.Name, "class")) {
      className = attr.Value;
      hasClass = true;
    }
  }
  item->ParaNo = TranslatePara(para);
  if (!item->Control && hasData && hasClass)
    item->Control = LoadControlFromText(data, className, dvData_.GetParentControl());
  if (!item->Control) return;
  InsertItem(node.Value, std::move(item));
}

void TXMLItemReader::ReadCheck(const TXMLTag& node) {
  if (index_ == 0 || dvData_.ItemCount() == 0) return;
  TDVTag tag;
  bool raiseEvent = true;
  for (int i = 0; i < node.Attributes().Count(); ++i) {
    const TXMLAttr& attr = *node.Attributes().Get(i);
    if (SameName(attr.Name, "tag") && context_.TagsArePChars) tag.Str = attr.Value;
    if (SameName(attr.Name, "tagnumber") && !context_.TagsArePChars) ReadInt(attr.Value, tag.Int);
    if (SameName(attr.Name, "vis")) ReadFlag(attr.Value, raiseEvent);
  }
  dvData_.SetCheckpointInfo(index_ - 1, std::move(tag), node.Value, raiseEvent);
}

void TXMLItemReader::ReadMarker(const TXMLTag& node) {
  int32_t listNo = -1, level = 0, start = 0;
  TStyleRef para{0, false};
  bool listByName = false, useStart = false;
  for (int i = 0; i < node.Attributes().Count(); ++i) {
    const TXMLAttr& attr = *node.Attributes().Get(i);
    const std::string_view v = attr.Value;
    if (SameName(attr.Name, "style")) {
      listNo = FindNamedListNo(context_.DVStyle, v);
      listByName = true;
    } else if (SameName(attr.Name, "styleno")) {
      if (StrToIntOpt(v)) {
        listNo = *StrToIntOpt(v);
        listByName = false;
      }
    } else if (SameName(attr.Name, "parastyleno")) {
      para = {StrToIntOpt(v).value_or(0), false};
    } else if (SameName(attr.Name, "parastyle")) {
      para = {FindNamedParaNo(context_.DVStyle, v), true};
    } else if (SameName(attr.Name, "level")) {
      ReadInt(v, level);
    } else if (SameName(attr.Name, "start")) {
      ReadInt(v, start);
    } else if (SameName(attr.Name, "usestart")) {
      ReadFlag(v, useStart);
    }
  }
  if (listNo < 0) return;
  if (!listByName) listNo = context_.ListMap.Get(listNo);
  const int32_t paraNo = TranslatePara(para);
  if (dvData_.SetListMarkerInfo(index_, listNo, level, start, paraNo, useStart) >= 0) ++index_;
}

void TXMLItemReader::ReadDefault(const TXMLTag& node) {
  for (int i = 0; i < node.Attributes().Count(); ++i) {
    const TXMLAttr& attr = *node.Attributes().Get(i);
    const std::string_view v = attr.Value;
    // A name that no style bears leaves the default as it was.
    const auto byName = [&](int found, int32_t& no, bool& flag) {
      if (found < 0) return;
      no = found;
      flag = true;
    };
    if (SameName(attr.Name, "textstyleno")) {
      if (StrToIntOpt(v)) defaults_.StyleNo = *StrToIntOpt(v), defaults_.StyleNoByName = false;
    } else if (SameName(attr.Name, "parastyleno")) {
      if (StrToIntOpt(v)) defaults_.ParaNo = *StrToIntOpt(v), defaults_.ParaNoByName = false;
    } else if (SameName(attr.Name, "textstyle")) {
      byName(FindNamedStyleNo(context_.DVStyle, v), defaults_.StyleNo, defaults_.StyleNoByName);
    } else if (SameName(attr.Name, "parastyle")) {
      byName(FindNamedParaNo(context_.DVStyle, v), defaults_.ParaNo, defaults_.ParaNoByName);
    } else if (SameName(attr.Name, "valign")) {
      ReadKeyword(v, kVAligns, defaults_.VAlign);
    } else if (SameName(attr.Name, "breakwidth")) {
      ReadByte(v, defaults_.BreakWidth);
    } else if (SameName(attr.Name, "breakcolor")) {
      defaults_.BreakColor = ReadColor(v);
    }
  }
  if (defaults_.StyleNo == -2) defaults_.StyleNo = 0;
  if (defaults_.ParaNo == -2) defaults_.ParaNo = 0;
}

void TXMLItemReader::ReadChild(const TXMLTag& child) {
  const std::string_view name = child.Name;
  if (SameName(name, "text")) ReadText(child, false);
  else if (SameName(name, "utext")) ReadText(child, true);
  else if (SameName(name, "image")) ReadImage(child, false);
  else if (SameName(name, "hotimage")) ReadImage(child, true);
  else if (SameName(name, "break")) ReadBreak(child);
  else if (SameName(name, "bullet")) ReadBullet(child);
  else if (SameName(name, "hotspot")) ReadHotSpot(child);
  else if (SameName(name, "control")) ReadControl(child);
  else if (SameName(name, "table")) ReadTable(child);
  else if (SameName(name, "check")) ReadCheck(child);
  else if (SameName(name, "marker")) ReadMarker(child);
  else if (SameName(name, "default")) ReadDefault(child);
  else if (context_.OnUnknownTag) {
    // The handler may insert any number of items, or none.
    const int before = dvData_.ItemCount();
    context_.OnUnknownTag(child, dvData_, index_);
    index_ += dvData_.ItemCount() - before;
  }
}

void TXMLItemReader::ReadChildren(const TXMLTag& node) {
  for (int i = 0; i < node.Children().Count(); ++i) {
    const TXMLTag& child = *node.Children().Get(i);
    if (SameName(child.Name, "pagebreak")) {
      pageBreak_ = true;
      continue;
    }
    ReadChild(child);
    if (pageBreak_ && index_ > 0 && index_ <= dvData_.ItemCount()) dvData_.GetItem(index_ - 1)->SetPageBreakBefore(true);
    pageBreak_ = false;
  }
}

void LoadDVDataFromXML(TCustomDVData& dvData, const TXMLTag& node, TXMLLoadContext& context,
                       TDocViewXMLStyle* defaults, int& insertPosition, bool firstTime, int& nonFirstItemsAdded) {
  TDocViewXMLStyle own = DefaultXMLStyle;
  TXMLItemReader reader(dvData, context, defaults ? *defaults : own, insertPosition, firstTime);
  if (!defaults)
    if (const TXMLTag* first = node.Children().FindTagOfName("default")) reader.ReadDefault(*first);
  reader.ReadChildren(node);
  if (reader.FirstItemIndex() >= 0) insertPosition = reader.FirstItemIndex();
  nonFirstItemsAdded = reader.NonFirstItemsAdded();
}

}  // namespace quillet
