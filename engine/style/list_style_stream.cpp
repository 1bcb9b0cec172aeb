// The stored properties of list styles: their levels as a nested collection,
// each level with its marker font and picture when it has them.
#include <memory>

#include "engine/style/list_style.h"
#include "engine/style/style_stream_props.h"
#include "platform/gfx/graphic.h"

namespace quillet {

namespace {

// 1638 points at 96 pixels per inch; bounds hostile heights like text sizes.
constexpr int32_t kMaxFontHeight = 2184;

// The marker font of a level whose font is stored (so it exists), or the
// level's font, created by the first property read into it.
const TDVMarkerFont& FontOf(const TDVListLevel& level) {
  // Font() creates on first access only; HasFont() was checked before this.
  return const_cast<TDVListLevel&>(level).Font();
}
TDVMarkerFont& FontOf(TDVListLevel& level) { return level.Font(); }

// A picture is stored as the class name of its graphic (a short string, empty
// for none) and the graphic's data: its own file form behind a 4-byte length,
// except icons, whose file form fills the rest without one.
bool HasLengthPrefix(std::string_view className) { return className != "TIcon"; }

void WritePictureData(TPropWriter& writer, const TGraphic& graphic) {
  TMemoryStream data;
  TPropWriter(data).WriteStr(graphic.ClassName());
  TMemoryStream image;
  if (!graphic.Empty()) graphic.SaveToStream(image);
  if (HasLengthPrefix(graphic.ClassName())) {
    const auto size = static_cast<uint32_t>(image.GetSize());
    const uint8_t le[4] = {static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8),
                           static_cast<uint8_t>(size >> 16), static_cast<uint8_t>(size >> 24)};
    data.WriteBuffer(le, 4);
  }
  data.WriteBuffer(image.Bytes().data(), image.GetSize());
  writer.WriteBinary(data.Bytes());
}

void ReadPictureData(TPropReader& reader, TDVListLevel& level) {
  const std::vector<uint8_t> bytes = reader.ReadBinary();
  TPropReader data(bytes);
  const std::string className = data.AtEnd() ? std::string() : data.ReadStr();
  if (className.empty()) {
    level.SetPicture(nullptr);
    return;
  }
  std::unique_ptr<TGraphic> graphic = CreateGraphic(className);
  if (!graphic) reader.Fail("unknown picture class \"" + className + "\"");
  size_t pos = data.Position();
  size_t size = bytes.size() - pos;
  if (HasLengthPrefix(className)) {
    if (size < 4) reader.Fail("picture data without its length");
    const uint8_t* p = bytes.data() + pos;
    const uint32_t stated = p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24);
    pos += 4;
    size -= 4;
    if (stated > size) reader.Fail("picture data shorter than its length");
    size = stated;
  }
  if (size > 0) {
    const auto first = bytes.begin() + static_cast<ptrdiff_t>(pos);
    TMemoryStream image(std::vector<uint8_t>(first, first + static_cast<ptrdiff_t>(size)));
    try {
      graphic->LoadFromStream(image);
    } catch (const std::runtime_error& e) {
      reader.Fail(std::string("bad picture: ") + e.what());
    }
  }
  level.Picture().SetGraphic(std::move(graphic));
}

const TStoredProps<TDVListLevel>& LevelProps() {
  static constexpr std::string_view kListTypes[] = {"dvlstBullet",     "dvlstPicture",    "dvlstImageList",
                                                    "dvlstDecimal",    "dvlstLowerAlpha", "dvlstUpperAlpha",
                                                    "dvlstLowerRoman", "dvlstUpperRoman", "dvlstImageListCounter"};
  static constexpr std::string_view kAlignments[] = {"dvmaLeft", "dvmaRight", "dvmaCenter"};
  static constexpr std::string_view kFontStyles[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
  static constexpr std::string_view kOptions[] = {"dvloContinuous", "dvloLevelReset", "dvloLegalStyleNumbering"};
  using T = TDVListLevel;
  static const TStoredProps<T> props = [] {
    auto hasFont = [](const T& l) { return l.HasFont(); };
    TStoredProp<T> height = ClampedIntProp<T>(
        "Font.Height", [](auto& l) -> auto& { return FontOf(l).Height; }, 0, -kMaxFontHeight, kMaxFontHeight);
    height.stored = [](const T& l) { return l.HasFont() && FontOf(l).IsHeightStored(); };
    TStoredProp<T> name = StringProp<T>(
        "Font.Name", [](auto& l) -> auto& { return FontOf(l).Name; });
    name.stored = [](const T& l) { return l.HasFont() && FontOf(l).IsNameStored(); };
    return TStoredProps<T>{
        EnumProp<T>(
            "ListType", [](auto& l) -> auto& { return l.ListType; }, dvlstBullet, kListTypes),
        IntProp<T>(
            "ImageIndex", [](auto& l) -> auto& { return l.ImageIndex; }, 0),
        StringProp<T>(
            "FormatString", [](auto& l) -> auto& { return l.FormatString; }),
        IntProp<T>(
            "LeftIndent", [](auto& l) -> auto& { return l.LeftIndent; }, 0),
        IntProp<T>(
            "FirstIndent", [](auto& l) -> auto& { return l.FirstIndent; }, 10),
        IntProp<T>(
            "MarkerIndent", [](auto& l) -> auto& { return l.MarkerIndent; }, 0),
        EnumProp<T>(
            "MarkerAlignment", [](auto& l) -> auto& { return l.MarkerAlignment; }, dvmaLeft, kAlignments),
        {"Picture.Data", [](const T& l) { return l.HasPicture(); },
         [](TPropWriter& w, const T& l) { WritePictureData(w, *const_cast<T&>(l).Picture().Graphic()); },
         [](TPropReader& r, T& l, const TStyleReadContext&) { ReadPictureData(r, l); }},
        // A font has no declared defaults but for its name and height.
        Within(CharsetProp<T>(
                   "Font.Charset", [](auto& l) -> auto& { return FontOf(l).Charset; }, -1),
               hasFont),
        Within(ColorProp<T>(
                   "Font.Color", [](auto& l) -> auto& { return FontOf(l).Color; }, clNone),
               hasFont),
        height,
        name,
        Within(SetProp<T>(
                   "Font.Style", [](auto& l) -> auto& { return FontOf(l).Style; }, -1, kFontStyles),
               hasFont),
        SetProp<T>(
            "Options", [](auto& l) -> auto& { return l.Options; }, dvloContinuous | dvloLevelReset, kOptions),
        // The image list by its Tag; the document being read supplies the list.
        {"ILTag", [](const T& l) { return l.ImageList != nullptr; },
         [](TPropWriter& w, const T& l) { w.WriteInteger(l.ImageList->Tag); },
         [](TPropReader& r, T& l, const TStyleReadContext& c) {
           const int32_t tag = r.ReadInteger();
           l.ImageList = c.imageListNeeded ? c.imageListNeeded(tag) : nullptr;
         }},
    };
  }();
  return props;
}

void WriteLevels(TPropWriter& writer, const TDVListLevelCollection& levels) {
  writer.WriteCollectionBegin();
  for (int i = 0; i < levels.Count(); ++i) {
    writer.WriteCollectionItemBegin();
    WriteStoredProps(writer, LevelProps(), levels[i]);
    writer.WriteCollectionItemEnd();
  }
  writer.WriteCollectionEnd();
}

void ReadLevels(TPropReader& reader, TDVListLevelCollection& levels, const TStyleReadContext& context) {
  reader.ReadCollectionBegin();
  TPropReader::TNest nest(reader);
  levels.Clear();
  while (!reader.EndOfList()) {
    reader.ReadCollectionItemBegin();
    TDVListLevel& level = levels.Add();
    while (!reader.EndOfList()) {
      const std::string name = reader.ReadPropName();
      if (!ReadStoredProp(reader, name, LevelProps(), level, context)) reader.SkipValue();
    }
    reader.ReadListEnd();
  }
  reader.ReadListEnd();
}

}  // namespace

const TStoredProps<TDVListInfo>& ListStyleProps() {
  static const TStoredProps<TDVListInfo> props = {
      // A collection is stored even when empty.
      {"Levels", [](const TDVListInfo&) { return true; },
       [](TPropWriter& w, const TDVListInfo& s) { WriteLevels(w, s.Levels()); },
       [](TPropReader& r, TDVListInfo& s, const TStyleReadContext& c) { ReadLevels(r, s.Levels(), c); }},
  };
  return props;
}

}  // namespace quillet
