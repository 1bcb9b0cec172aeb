#include "engine/style/style_stream.h"

#include <memory>

#include "engine/base/doc_view_error.h"
#include "engine/style/list_style.h"
#include "engine/style/para_style.h"
#include "engine/style/style_stream_props.h"
#include "engine/style/text_style.h"

namespace quillet {

namespace {

bool SameIdent(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Larger point sizes are not drawn by the platform's fonts either; the bound
// keeps hostile sizes out of font creation and layout arithmetic.
constexpr int32_t kMaxFontSize = 1638;

constexpr std::string_view kBiDiModeNames[] = {"dvbdUnspecified", "dvbdLeftToRight", "dvbdRightToLeft"};

const TStoredProps<TFontInfo>& TextStyleProps() {
  static constexpr std::string_view kFontStyles[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
  static constexpr std::string_view kStyleEx[] = {"dvfsOverline", "dvfsAllCaps"};
  static constexpr std::string_view kProtection[] = {
      "dvprStyleProtect",     "dvprModifyProtect",   "dvprDeleteProtect",    "dvprConcateProtect",
      "dvprDVFInsertProtect", "dvprDoNotAutoSwitch", "dvprParaStartProtect", "dvprSticking"};
  static constexpr std::string_view kTextOptions[] = {"dvteoHTMLCode", "dvteoRTFCode"};
  using T = TFontInfo;
  static const TStoredProps<T> props = {
      CharsetProp<T>(
          "Charset", [](auto& s) -> auto& { return s.Charset; }, DEFAULT_CHARSET),
      StringProp<T>(
          "FontName", [](auto& s) -> auto& { return s.FontName; }),
      ClampedIntProp<T>(
          "Size", [](auto& s) -> auto& { return s.Size; }, 10, 1, kMaxFontSize),
      SetProp<T>(
          "Style", [](auto& s) -> auto& { return s.Style; }, 0, kFontStyles),
      IntProp<T>(
          "VShift", [](auto& s) -> auto& { return s.VShift; }, 0),
      ColorProp<T>(
          "Color", [](auto& s) -> auto& { return s.Color; }, clWindowText),
      ColorProp<T>(
          "BackColor", [](auto& s) -> auto& { return s.BackColor; }, clNone),
      ColorProp<T>(
          "HoverBackColor", [](auto& s) -> auto& { return s.HoverBackColor; }, clNone),
      ColorProp<T>(
          "HoverColor", [](auto& s) -> auto& { return s.HoverColor; }, clNone),
      SetProp<T>(
          "StyleEx", [](auto& s) -> auto& { return s.StyleEx; }, 0, kStyleEx),
      BoolProp<T>(
          "Jump", [](auto& s) -> auto& { return s.Jump; }, false),
      IntProp<T>(
          "JumpCursor", [](auto& s) -> auto& { return s.JumpCursor; }, crJump),
      IntProp<T>(
          "CharScale", [](auto& s) -> auto& { return s.CharScale; }, 100),
      IntProp<T>(
          "CharSpacing", [](auto& s) -> auto& { return s.CharSpacing; }, 0),
      IntProp<T>(
          "NextStyleNo", [](auto& s) -> auto& { return s.NextStyleNo; }, -1),
      EnumProp<T>(
          "BiDiMode", [](auto& s) -> auto& { return s.BiDiMode; }, dvbdUnspecified, kBiDiModeNames),
      BoolProp<T>(
          "Unicode", [](auto& s) -> auto& { return s.Unicode; }, false),
      SetProp<T>(
          "Protection", [](auto& s) -> auto& { return s.Protection; }, 0, kProtection),
      SetProp<T>(
          "Options", [](auto& s) -> auto& { return s.Options; }, 0, kTextOptions),
      // Older style sheets; read only.
      {"SingleSymbols", [](const T&) { return false; }, nullptr,
       [](TPropReader& r, T& s, const TStyleReadContext&) { s.ReadLegacySingleSymbols(r.ReadBoolean()); }},
  };
  return props;
}

const TStoredProps<TParaInfo>& ParaStyleProps() {
  static constexpr std::string_view kAlignments[] = {"dvaLeft", "dvaRight", "dvaCenter", "dvaJustify"};
  static constexpr std::string_view kBorderStyles[] = {"dvbNone",   "dvbSingle",      "dvbDouble",
                                                       "dvbTriple", "dvbThickInside", "dvbThickOutside"};
  static constexpr std::string_view kLineSpacingTypes[] = {"dvlsPercent", "dvlsSpaceBetween"};
  static constexpr std::string_view kParaOptions[] = {"dvpaoNoWrap", "dvpaoReadOnly", "dvpaoStyleProtect",
                                                      "dvpaoDoNotWantReturns"};
  using T = TParaInfo;
  static const TStoredProps<T> props = {
      IntProp<T>(
          "FirstIndent", [](auto& s) -> auto& { return s.FirstIndent; }, 0),
      IntProp<T>(
          "LeftIndent", [](auto& s) -> auto& { return s.LeftIndent; }, 0),
      IntProp<T>(
          "RightIndent", [](auto& s) -> auto& { return s.RightIndent; }, 0),
      IntProp<T>(
          "SpaceBefore", [](auto& s) -> auto& { return s.SpaceBefore; }, 0),
      IntProp<T>(
          "SpaceAfter", [](auto& s) -> auto& { return s.SpaceAfter; }, 0),
      EnumProp<T>(
          "Alignment", [](auto& s) -> auto& { return s.Alignment; }, dvaLeft, kAlignments),
      ColorProp<T>(
          "Border.Color", [](auto& s) -> auto& { return s.Border().Color; }, clWindowText),
      EnumProp<T>(
          "Border.Style", [](auto& s) -> auto& { return s.Border().Style; }, dvbNone, kBorderStyles),
      IntProp<T>(
          "Border.Width", [](auto& s) -> auto& { return s.Border().Width; }, 1),
      IntProp<T>(
          "Border.InternalWidth", [](auto& s) -> auto& { return s.Border().InternalWidth; }, 1),
      BoolProp<T>(
          "Border.VisibleBorders.Left", [](auto& s) -> auto& { return s.Border().VisibleBorders.Left; }, true),
      BoolProp<T>(
          "Border.VisibleBorders.Right", [](auto& s) -> auto& { return s.Border().VisibleBorders.Right; }, true),
      BoolProp<T>(
          "Border.VisibleBorders.Top", [](auto& s) -> auto& { return s.Border().VisibleBorders.Top; }, true),
      BoolProp<T>(
          "Border.VisibleBorders.Bottom", [](auto& s) -> auto& { return s.Border().VisibleBorders.Bottom; }, true),
      IntProp<T>(
          "Border.BorderOffsets.Left", [](auto& s) -> auto& { return s.Border().BorderOffsets.Left; }, 0),
      IntProp<T>(
          "Border.BorderOffsets.Right", [](auto& s) -> auto& { return s.Border().BorderOffsets.Right; }, 0),
      IntProp<T>(
          "Border.BorderOffsets.Top", [](auto& s) -> auto& { return s.Border().BorderOffsets.Top; }, 0),
      IntProp<T>(
          "Border.BorderOffsets.Bottom", [](auto& s) -> auto& { return s.Border().BorderOffsets.Bottom; }, 0),
      ColorProp<T>(
          "Background.Color", [](auto& s) -> auto& { return s.Background().Color; }, clNone),
      IntProp<T>(
          "Background.BorderOffsets.Left", [](auto& s) -> auto& { return s.Background().BorderOffsets.Left; }, 0),
      IntProp<T>(
          "Background.BorderOffsets.Right", [](auto& s) -> auto& { return s.Background().BorderOffsets.Right; }, 0),
      IntProp<T>(
          "Background.BorderOffsets.Top", [](auto& s) -> auto& { return s.Background().BorderOffsets.Top; }, 0),
      IntProp<T>(
          "Background.BorderOffsets.Bottom", [](auto& s) -> auto& { return s.Background().BorderOffsets.Bottom; }, 0),
      IntProp<T>(
          "NextParaNo", [](auto& s) -> auto& { return s.NextParaNo; }, -1),
      IntProp<T>(
          "LineSpacing", [](auto& s) -> auto& { return s.LineSpacing; }, 100),
      EnumProp<T>(
          "LineSpacingType", [](auto& s) -> auto& { return s.LineSpacingType; }, dvlsPercent, kLineSpacingTypes),
      SetProp<T>(
          "Options", [](auto& s) -> auto& { return s.Options; }, 0, kParaOptions),
      EnumProp<T>(
          "BiDiMode", [](auto& s) -> auto& { return s.BiDiMode; }, dvbdUnspecified, kBiDiModeNames),
  };
  return props;
}

// An empty collection of the same kind, for reading into before the target is
// touched.
std::unique_ptr<TCustomDVInfos> ScratchCollection(const TCustomDVInfos& styles) {
  if (dynamic_cast<const TFontInfos*>(&styles)) return std::make_unique<TFontInfos>(styles.GetOwner());
  if (dynamic_cast<const TParaInfos*>(&styles)) return std::make_unique<TParaInfos>(styles.GetOwner());
  if (const auto* lists = dynamic_cast<const TDVListInfos*>(&styles)) {
    auto scratch = std::make_unique<TDVListInfos>(styles.GetOwner());
    scratch->DVFImageListNeeded = lists->DVFImageListNeeded;
    return scratch;
  }
  throw EDocViewError("Unknown kind of style collection");
}

void ReadStyle(TPropReader& reader, TCustomDVInfo& style, const TStyleReadContext& context) {
  if (auto* text = dynamic_cast<TFontInfo*>(&style)) return ReadStyleProps(reader, *text, TextStyleProps(), context);
  if (auto* para = dynamic_cast<TParaInfo*>(&style)) return ReadStyleProps(reader, *para, ParaStyleProps(), context);
  if (auto* list = dynamic_cast<TDVListInfo*>(&style)) return ReadStyleProps(reader, *list, ListStyleProps(), context);
  throw EDocViewError("Unknown kind of style");
}

void WriteStyle(TPropWriter& writer, const TCustomDVInfo& style) {
  if (const auto* text = dynamic_cast<const TFontInfo*>(&style))
    return WriteStyleProps(writer, *text, TextStyleProps());
  if (const auto* para = dynamic_cast<const TParaInfo*>(&style))
    return WriteStyleProps(writer, *para, ParaStyleProps());
  if (const auto* list = dynamic_cast<const TDVListInfo*>(&style))
    return WriteStyleProps(writer, *list, ListStyleProps());
  throw EDocViewError("Unknown kind of style");
}

// Style references point into the same collection; one that does not (a
// hostile or damaged file) would index past it later, so it becomes "none".
void DropDanglingReferences(TCustomDVInfos& styles) {
  for (int i = 0; i < styles.Count(); ++i) {
    TCustomDVInfo& style = styles.ItemAt(i);
    if (!styles.IsValidIndex(style.BaseStyleNo)) style.BaseStyleNo = -1;
    if (!styles.IsValidIndex(style.GetNextStyleRef())) style.SetNextStyleRef(-1);
  }
}

}  // namespace

int IdentOrdinal(TPropReader& reader, std::string_view ident, TIdentNames names) {
  for (size_t i = 0; i < names.size(); ++i)
    if (SameIdent(names[i], ident)) return static_cast<int>(i);
  reader.Fail("unknown identifier \"" + std::string(ident) + "\"");
}

const TStoredProps<TCustomDVInfo>& BaseStyleProps() {
  using T = TCustomDVInfo;
  static const TStoredProps<T> props = {
      IntProp<T>(
          "BaseStyleNo", [](auto& s) -> auto& { return s.BaseStyleNo; }, -1),
      StringProp<T>(
          "StyleName", [](auto& s) -> auto& { return s.StyleName; }),
      BoolProp<T>(
          "Standard", [](auto& s) -> auto& { return s.Standard; }, true),
  };
  return props;
}

std::vector<uint8_t> SaveStyleCollection(const TCustomDVInfos& styles) {
  TMemoryStream stream;
  TPropWriter writer(stream);
  writer.WriteCollectionBegin();
  for (int i = 0; i < styles.Count(); ++i) {
    writer.WriteCollectionItemBegin();
    WriteStyle(writer, styles.ItemAt(i));  // its Null ends the item
  }
  writer.WriteCollectionEnd();
  return stream.Bytes();
}

void LoadStyleCollection(std::span<const uint8_t> bytes, TCustomDVInfos& styles) {
  std::unique_ptr<TCustomDVInfos> scratch = ScratchCollection(styles);
  const auto* lists = dynamic_cast<const TDVListInfos*>(&styles);
  const TStyleReadContext context{lists ? lists->DVFImageListNeeded : TDVImageListLookup()};
  TPropReader reader(bytes);
  reader.ReadCollectionBegin();
  TPropReader::TNest nest(reader);
  while (!reader.EndOfList()) {
    reader.ReadCollectionItemBegin();
    ReadStyle(reader, scratch->AddItem(), context);
  }
  reader.ReadListEnd();
  DropDanglingReferences(*scratch);
  styles.Assign(*scratch);
}

}  // namespace quillet
