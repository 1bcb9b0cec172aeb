#include "interchange/xml/xml_style_import.h"

#include <string>

#include "engine/print/print_component.h"
#include "engine/style/list_style.h"
#include "engine/style/para_style.h"
#include "engine/style/style_sheet.h"
#include "engine/style/text_style.h"
#include "interchange/xml/xml_tag.h"
#include "interchange/xml/xml_values.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/image_list.h"
#include "platform/gfx/picture_file.h"

namespace quillet {

namespace {

using Sv = std::string_view;

void Identity(TDVIntegerList& map, int count) {
  map.Clear();
  for (int i = 0; i < count; ++i) map.Add(i);
}

constexpr TXMLKeyword<TDVBiDiMode> kBiDiModes[] = {
    {"none", dvbdUnspecified}, {"ltr", dvbdLeftToRight}, {"rtl", dvbdRightToLeft}};

const TXMLAttrRule<TFontInfo> kFontRules[] = {
    {"name", [](TFontInfo& f, Sv v) { f.StyleName = v; }},
    {"standard", [](TFontInfo& f, Sv v) { ReadFlag(v, f.Standard); }},
    {"fontname", [](TFontInfo& f, Sv v) { f.FontName = v; }},
    {"size", [](TFontInfo& f, Sv v) { ReadInt(v, f.Size); }},
    {"charset", [](TFontInfo& f, Sv v) { ReadCharset(v, f.Charset); }},
    {"color", [](TFontInfo& f, Sv v) { f.Color = ReadColor(v); }},
    {"backcolor", [](TFontInfo& f, Sv v) { f.BackColor = ReadColor(v); }},
    {"hovercolor", [](TFontInfo& f, Sv v) { f.HoverColor = ReadColor(v); }},
    {"hoverbackcolor", [](TFontInfo& f, Sv v) { f.HoverBackColor = ReadColor(v); }},
    {"charscale", [](TFontInfo& f, Sv v) { ReadInt(v, f.CharScale); }},
    {"charspacing", [](TFontInfo& f, Sv v) { ReadInt(v, f.CharSpacing); }},
    {"vshift", [](TFontInfo& f, Sv v) { ReadInt(v, f.VShift); }},
    {"jump", [](TFontInfo& f, Sv v) { ReadFlag(v, f.Jump); }},
    {"nextstyleno", [](TFontInfo& f, Sv v) { ReadInt(v, f.NextStyleNo); }},
    {"unicode", [](TFontInfo& f, Sv v) { ReadFlag(v, f.Unicode); }},
    {"bold", [](TFontInfo& f, Sv v) { ReadFlagBit<TFontStyles>(v, f.Style, fsBold); }},
    {"italic", [](TFontInfo& f, Sv v) { ReadFlagBit<TFontStyles>(v, f.Style, fsItalic); }},
    {"underline", [](TFontInfo& f, Sv v) { ReadFlagBit<TFontStyles>(v, f.Style, fsUnderline); }},
    {"strikeout", [](TFontInfo& f, Sv v) { ReadFlagBit<TFontStyles>(v, f.Style, fsStrikeOut); }},
    {"overline", [](TFontInfo& f, Sv v) { ReadFlagBit<TDVFontStyles>(v, f.StyleEx, dvfsOverline); }},
    {"allcaps", [](TFontInfo& f, Sv v) { ReadFlagBit<TDVFontStyles>(v, f.StyleEx, dvfsAllCaps); }},
    {"stylechangeprotect", [](TFontInfo& f, Sv v) { ReadFlagBit<TDVProtectOptions>(v, f.Protection, dvprStyleProtect); }},
    {"texteditingprotect", [](TFontInfo& f, Sv v) { ReadFlagBit<TDVProtectOptions>(v, f.Protection, dvprModifyProtect); }},
    {"textdeleteprotect", [](TFontInfo& f, Sv v) { ReadFlagBit<TDVProtectOptions>(v, f.Protection, dvprDeleteProtect); }},
    {"textconcateprotect", [](TFontInfo& f, Sv v) { ReadFlagBit<TDVProtectOptions>(v, f.Protection, dvprConcateProtect); }},
    {"styleautoswitchprotect",
     [](TFontInfo& f, Sv v) { ReadFlagBit<TDVProtectOptions>(v, f.Protection, dvprDoNotAutoSwitch); }},
    {"bidimode", [](TFontInfo& f, Sv v) { ReadKeyword(v, kBiDiModes, f.BiDiMode); }},
    {"htmlcode", [](TFontInfo& f, Sv v) { ReadFlagBit<TDVTextOptions>(v, f.Options, dvteoHTMLCode); }},
    {"rtfcode", [](TFontInfo& f, Sv v) { ReadFlagBit<TDVTextOptions>(v, f.Options, dvteoRTFCode); }},
};

const TXMLAttrRule<TParaInfo> kParaRules[] = {
    {"name", [](TParaInfo& p, Sv v) { p.StyleName = v; }},
    {"standard", [](TParaInfo& p, Sv v) { ReadFlag(v, p.Standard); }},
    {"align",
     [](TParaInfo& p, Sv v) {
       ReadKeyword<TDVAlignment>(
           v, {{"left", dvaLeft}, {"right", dvaRight}, {"center", dvaCenter}, {"justify", dvaJustify}}, p.Alignment);
     }},
    {"bidimode", [](TParaInfo& p, Sv v) { ReadKeyword(v, kBiDiModes, p.BiDiMode); }},
    {"firstindent", [](TParaInfo& p, Sv v) { ReadInt(v, p.FirstIndent); }},
    {"leftindent", [](TParaInfo& p, Sv v) { ReadInt(v, p.LeftIndent); }},
    {"rightindent", [](TParaInfo& p, Sv v) { ReadInt(v, p.RightIndent); }},
    {"spacebefore", [](TParaInfo& p, Sv v) { ReadInt(v, p.SpaceBefore); }},
    {"spaceafter", [](TParaInfo& p, Sv v) { ReadInt(v, p.SpaceAfter); }},
    {"linespacing", [](TParaInfo& p, Sv v) { ReadInt(v, p.LineSpacing); }},
    {"linespacingtype",
     [](TParaInfo& p, Sv v) {
       // "%" exactly; the other keyword in any case.
       if (v == "%")
         p.LineSpacingType = dvlsPercent;
       else
         ReadKeyword<TDVLineSpacingType>(v, {{"spacebetween", dvlsSpaceBetween}}, p.LineSpacingType);
     }},
    {"nextparano", [](TParaInfo& p, Sv v) { ReadInt(v, p.NextParaNo); }},
    {"wrap", [](TParaInfo& p, Sv v) { ReadFlagBit<TDVParaOptions>(v, p.Options, dvpaoNoWrap, true); }},
    {"readonly", [](TParaInfo& p, Sv v) { ReadFlagBit<TDVParaOptions>(v, p.Options, dvpaoReadOnly); }},
    {"styleprotect", [](TParaInfo& p, Sv v) { ReadFlagBit<TDVParaOptions>(v, p.Options, dvpaoStyleProtect); }},
    {"ignoreenter", [](TParaInfo& p, Sv v) { ReadFlagBit<TDVParaOptions>(v, p.Options, dvpaoDoNotWantReturns); }},
    {"borderstyle",
     [](TParaInfo& p, Sv v) {
       ReadKeyword<TDVBorderStyle>(v,
                                   {{"none", dvbNone},
                                    {"single", dvbSingle},
                                    {"double", dvbDouble},
                                    {"triple", dvbTriple},
                                    {"thickinside", dvbThickInside},
                                    {"thickoutside", dvbThickOutside}},
                                   p.Border().Style);
     }},
    {"borderwidth", [](TParaInfo& p, Sv v) { ReadInt(v, p.Border().Width); }},
    {"borderintwidth", [](TParaInfo& p, Sv v) { ReadInt(v, p.Border().InternalWidth); }},
    {"bordercolor", [](TParaInfo& p, Sv v) { p.Border().Color = ReadColor(v); }},
    {"borderleftvisible", [](TParaInfo& p, Sv v) { ReadFlag(v, p.Border().VisibleBorders.Left); }},
    {"bordertopvisible", [](TParaInfo& p, Sv v) { ReadFlag(v, p.Border().VisibleBorders.Top); }},
    {"borderrightvisible", [](TParaInfo& p, Sv v) { ReadFlag(v, p.Border().VisibleBorders.Right); }},
    {"borderbottomvisible", [](TParaInfo& p, Sv v) { ReadFlag(v, p.Border().VisibleBorders.Bottom); }},
    {"borderleftoffset", [](TParaInfo& p, Sv v) { ReadInt(v, p.Border().BorderOffsets.Left); }},
    {"bordertopoffset", [](TParaInfo& p, Sv v) { ReadInt(v, p.Border().BorderOffsets.Top); }},
    {"borderrightoffset", [](TParaInfo& p, Sv v) { ReadInt(v, p.Border().BorderOffsets.Right); }},
    {"borderbottomoffset", [](TParaInfo& p, Sv v) { ReadInt(v, p.Border().BorderOffsets.Bottom); }},
    {"backcolor", [](TParaInfo& p, Sv v) { p.Background().Color = ReadColor(v); }},
    {"backleftoffset", [](TParaInfo& p, Sv v) { ReadInt(v, p.Background().BorderOffsets.Left); }},
    {"backtopoffset", [](TParaInfo& p, Sv v) { ReadInt(v, p.Background().BorderOffsets.Top); }},
    {"backrightoffset", [](TParaInfo& p, Sv v) { ReadInt(v, p.Background().BorderOffsets.Right); }},
    {"backbottomoffset", [](TParaInfo& p, Sv v) { ReadInt(v, p.Background().BorderOffsets.Bottom); }},
};

const TXMLAttrRule<TDVListInfo> kListRules[] = {
    {"name", [](TDVListInfo& l, Sv v) { l.StyleName = v; }},
    {"standard", [](TDVListInfo& l, Sv v) { ReadFlag(v, l.Standard); }},
};

// A list level and the picture parts kept until all attributes are read.
struct TMarkerTarget {
  TMarkerTarget(TDVListLevel& l, const TXMLTag& n) : level(l), node(n) {}
  TDVListLevel& level;
  const TXMLTag& node;
  std::string img, className;
  bool hasImg = false, hasClass = false;
};

void ReadMarkerFontSize(TDVListLevel& level, Sv v) {
  int32_t size = level.Font().GetSize();
  ReadInt(v, size);
  level.Font().SetSize(size);
}

const TXMLAttrRule<TMarkerTarget> kMarkerRules[] = {
    {"type",
     [](TMarkerTarget& m, Sv v) {
       ReadKeyword<TDVListType>(v,
                                {{"bullet", dvlstBullet},
                                 {"picture", dvlstPicture},
                                 {"decimal", dvlstDecimal},
                                 {"loweralpha", dvlstLowerAlpha},
                                 {"upperalpha", dvlstUpperAlpha},
                                 {"lowerroman", dvlstLowerRoman},
                                 {"upperroman", dvlstUpperRoman}},
                                m.level.ListType);
     }},
    {"formatstr", [](TMarkerTarget& m, Sv v) { m.level.FormatString = v; }},
    {"leftindent", [](TMarkerTarget& m, Sv v) { ReadInt(v, m.level.LeftIndent); }},
    {"firstindent", [](TMarkerTarget& m, Sv v) { ReadInt(v, m.level.FirstIndent); }},
    {"markerindent", [](TMarkerTarget& m, Sv v) { ReadInt(v, m.level.MarkerIndent); }},
    {"markeralign",
     [](TMarkerTarget& m, Sv v) {
       ReadKeyword<TDVMarkerAlignment>(v, {{"left", dvmaLeft}, {"right", dvmaRight}, {"center", dvmaCenter}},
                                       m.level.MarkerAlignment);
     }},
    {"fontname", [](TMarkerTarget& m, Sv v) { m.level.Font().Name = v; }},
    {"fontsize", [](TMarkerTarget& m, Sv v) { ReadMarkerFontSize(m.level, v); }},
    {"fontcolor", [](TMarkerTarget& m, Sv v) { m.level.Font().Color = ReadColor(v); }},
    {"fontcharset", [](TMarkerTarget& m, Sv v) { ReadCharset(v, m.level.Font().Charset); }},
    {"fontbold", [](TMarkerTarget& m, Sv v) { ReadFlagBit<TFontStyles>(v, m.level.Font().Style, fsBold); }},
    {"fontitalic", [](TMarkerTarget& m, Sv v) { ReadFlagBit<TFontStyles>(v, m.level.Font().Style, fsItalic); }},
    {"fontunderline",
     [](TMarkerTarget& m, Sv v) { ReadFlagBit<TFontStyles>(v, m.level.Font().Style, fsUnderline); }},
    {"fontstrikeout",
     [](TMarkerTarget& m, Sv v) { ReadFlagBit<TFontStyles>(v, m.level.Font().Style, fsStrikeOut); }},
    {"continuous", [](TMarkerTarget& m, Sv v) { ReadFlagBit<TDVListLevelOptions>(v, m.level.Options, dvloContinuous); }},
    {"levelreset", [](TMarkerTarget& m, Sv v) { ReadFlagBit<TDVListLevelOptions>(v, m.level.Options, dvloLevelReset); }},
    {"legalstylenumbering",
     [](TMarkerTarget& m, Sv v) { ReadFlagBit<TDVListLevelOptions>(v, m.level.Options, dvloLegalStyleNumbering); }},
    {"imgsource",
     [](TMarkerTarget& m, Sv v) {
       // A missing file is passed over; one that is there must be a picture.
       const std::string file = FileReference(m.node, v);
       if (FileExists(file)) m.level.Picture().SetGraphic(LoadPictureFile(file));
     }},
    {"img",
     [](TMarkerTarget& m, Sv v) {
       m.img = v;
       m.hasImg = true;
     }},
    {"class",
     [](TMarkerTarget& m, Sv v) {
       m.className = v;
       m.hasClass = true;
     }},
};

}  // namespace

void LoadFontFromXML(const TXMLTag& node, TFontInfo& font) { ApplyAttributes(node, kFontRules, font); }

void LoadParaFromXML(const TXMLTag& node, TParaInfo& para) { ApplyAttributes(node, kParaRules, para); }

void LoadListFromXML(const TXMLTag& node, TDVListInfo& list) {
  ApplyAttributes(node, kListRules, list);
  for (int i = 0; i < node.Children().Count(); ++i) {
    const TXMLTag& child = *node.Children().Get(i);
    if (SameName(child.Name, "marker")) LoadMarkerFromXML(child, list.Levels().Add());
  }
}

void LoadMarkerFromXML(const TXMLTag& node, TDVListLevel& level) {
  TMarkerTarget target(level, node);
  ApplyAttributes(node, kMarkerRules, target);
  if (target.hasClass) {
    std::unique_ptr<TGraphic> graphic = CreateRegisteredGraphic(target.className);
    if (target.hasImg) {
      LoadGraphicData(*graphic, target.img);
      level.Picture().SetGraphic(std::move(graphic));
    }
  }
}

void LoadDVStyle(const TXMLTag* node, TDVStyle& dvStyle, TStyleLoadingMode mode, TDVIntegerList& styleMap,
                 TDVIntegerList& paraMap, TDVIntegerList& listMap) {
  styleMap.Clear();
  paraMap.Clear();
  listMap.Clear();
  if (mode == slmIgnore || !node) {
    Identity(styleMap, dvStyle.TextStyles().Count());
    Identity(paraMap, dvStyle.ParaStyles().Count());
    Identity(listMap, dvStyle.ListStyles().Count());
    return;
  }
  TColor inactiveSelColor = dvStyle.InactiveSelColor, inactiveSelTextColor = dvStyle.InactiveSelTextColor;
  TFontInfos fonts(&dvStyle);
  TParaInfos paras(&dvStyle);
  TDVListInfos lists(&dvStyle);
  for (int i = 0; i < node->Attributes().Count(); ++i) {
    const TXMLAttr& attr = *node->Attributes().Get(i);
    if (SameName(attr.Name, "inactiveselcolor")) inactiveSelColor = ReadColor(attr.Value);
    if (SameName(attr.Name, "inactiveseltextcolor")) inactiveSelTextColor = ReadColor(attr.Value);
  }
  for (int i = 0; i < node->Children().Count(); ++i) {
    const TXMLTag& child = *node->Children().Get(i);
    if (SameName(child.Name, "font"))
      LoadFontFromXML(child, fonts.Add());
    else if (SameName(child.Name, "para"))
      LoadParaFromXML(child, paras.Add());
    else if (SameName(child.Name, "list"))
      LoadListFromXML(child, lists.Add());
  }
  // Next-style numbers name styles of the file; one that names none would
  // send Enter to a style that is not there.
  for (int i = 0; i < fonts.Count(); ++i)
    if (!fonts.IsValidIndex(fonts[i].NextStyleNo)) fonts[i].NextStyleNo = -1;
  for (int i = 0; i < paras.Count(); ++i)
    if (!paras.IsValidIndex(paras[i].NextParaNo)) paras[i].NextParaNo = -1;
  // The engine cannot show text without a text and a paragraph style.
  if (mode == slmReplace && (fonts.Count() == 0 || paras.Count() == 0))
    throw EDocViewXMLError("The style sheet has no text or no paragraph styles");

  dvStyle.InactiveSelColor = inactiveSelColor;
  dvStyle.InactiveSelTextColor = inactiveSelTextColor;
  if (mode == slmReplace) {
    dvStyle.SetTextStyles(fonts);
    dvStyle.SetParaStyles(paras);
    dvStyle.SetListStyles(lists);
    Identity(styleMap, fonts.Count());
    Identity(paraMap, paras.Count());
    Identity(listMap, lists.Count());
    return;
  }
  const TDVStyleMergeMode merge = mode == slmMerge ? dvs_merge_SmartMerge : dvs_merge_Map;
  dvStyle.TextStyles().MergeWith(fonts, merge, styleMap);
  dvStyle.ParaStyles().MergeWith(paras, merge, paraMap);
  dvStyle.ListStyles().MergeWith(lists, merge, listMap);
}

TCustomImageList* TImgListList::Add() {
  lists_.push_back(std::make_unique<TCustomImageList>());
  return lists_.back().get();
}

TCustomImageList* TImgListList::Get(int index) const {
  if (index < 0 || index >= Count()) ThrowListIndexError(index);
  return lists_[static_cast<size_t>(index)].get();
}

TCustomImageList* TImgListList::AddBitmap(const TBitmap& bitmap) {
  TCustomImageList* list = Add();
  list->SetSize(bitmap.Width(), bitmap.Height());
  list->Add(bitmap, bitmap.GetPixel(0, 0));
  return list;
}

void TImgListList::LoadFromXML(const TXMLTag& node) {
  for (int i = 0; i < node.Children().Count(); ++i) {
    const TXMLTag& child = *node.Children().Get(i);
    TBitmap bitmap;
    if (SameName(child.Name, "img"))
      LoadGraphicData(bitmap, child.Value);
    else if (SameName(child.Name, "imgsource"))
      bitmap.LoadFromFile(FileReference(child, child.Value));
    else
      continue;
    AddBitmap(bitmap);
  }
}

void TXMLPrintSettings::ReadFrom(const TDVPrint& print) {
  LeftMarginMM = print.LeftMarginMM();
  RightMarginMM = print.RightMarginMM();
  TopMarginMM = print.TopMarginMM();
  BottomMarginMM = print.BottomMarginMM();
  HeaderYMM = print.HeaderYMM();
  FooterYMM = print.FooterYMM();
  MirrorMargins = print.MirrorMargins();
  PreviewCorrection = print.PreviewCorrection;
  TransparentBackground = print.TransparentBackground();
}

void TXMLPrintSettings::ApplyTo(TDVPrint& print) const {
  print.SetLeftMarginMM(LeftMarginMM);
  print.SetRightMarginMM(RightMarginMM);
  print.SetTopMarginMM(TopMarginMM);
  print.SetBottomMarginMM(BottomMarginMM);
  print.SetHeaderYMM(HeaderYMM);
  print.SetFooterYMM(FooterYMM);
  print.SetMirrorMargins(MirrorMargins);
  print.PreviewCorrection = PreviewCorrection;
  print.SetTransparentBackground(TransparentBackground);
}

void LoadDVPrint(const TXMLTag& node, TXMLPrintSettings& print) {
  static const TXMLAttrRule<TXMLPrintSettings> kRules[] = {
      {"leftmargin", [](TXMLPrintSettings& p, Sv v) { ReadInt(v, p.LeftMarginMM); }},
      {"rightmargin", [](TXMLPrintSettings& p, Sv v) { ReadInt(v, p.RightMarginMM); }},
      {"topmargin", [](TXMLPrintSettings& p, Sv v) { ReadInt(v, p.TopMarginMM); }},
      {"bottommargin", [](TXMLPrintSettings& p, Sv v) { ReadInt(v, p.BottomMarginMM); }},
      {"headermarginy", [](TXMLPrintSettings& p, Sv v) { ReadInt(v, p.HeaderYMM); }},
      {"footermarginy", [](TXMLPrintSettings& p, Sv v) { ReadInt(v, p.FooterYMM); }},
      {"mirrormargins", [](TXMLPrintSettings& p, Sv v) { ReadFlag(v, p.MirrorMargins); }},
      {"previewcorrect", [](TXMLPrintSettings& p, Sv v) { ReadFlag(v, p.PreviewCorrection); }},
      {"printback",
       [](TXMLPrintSettings& p, Sv v) {
         // "1" prints the background: it is not transparent.
         bool printBack = !p.TransparentBackground;
         ReadFlag(v, printBack);
         p.TransparentBackground = !printBack;
       }},
  };
  ApplyAttributes(node, kRules, print);
}

}  // namespace quillet
