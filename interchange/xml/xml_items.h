#pragma once
// Reading an item list of the XML import: the children of "document" or of
// a table "cell" become items of a document, inserted one by one at a
// running index, with checkpoints, list markers, page breaks and the
// defaults that item elements fall back to.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/base/dv_lists.h"
#include "engine/model/item_info.h"
#include "interchange/xml/xml_style_import.h"
#include "platform/core/colors.h"

namespace quillet {

class TControl;
class TCustomDVData;
class TDVStyle;
class TXMLTag;

// Makes the control of a "control" element from its "data" text; none for
// no control.
using TXMLLoadControlHandler = std::function<std::unique_ptr<TControl>(const std::string& data)>;
// Handles an item element that no reader knows: inserts what it makes into
// dvData at itemNo.
using TXMLUnknownTagHandler = std::function<void(const TXMLTag& node, TCustomDVData& dvData, int itemNo)>;

// What item elements fall back to. A style found by name is already an
// index of the style sheet; a number from the file goes through the maps.
struct TDocViewXMLStyle {
  int32_t StyleNo = 0;
  int32_t ParaNo = 0;
  TDVVAlign VAlign = dvvaBaseline;
  TColor BreakColor = clNone;
  uint8_t BreakWidth = 1;
  bool StyleNoByName = false, ParaNoByName = false;
};
inline constexpr TDocViewXMLStyle DefaultXMLStyle{};

// Shared by every item list of one load, table cells included.
struct TXMLLoadContext {
  TDVStyle& DVStyle;
  const TImgListList& Bullets;
  TImgListList& HotspotLists;  // one list per hotspot, kept with the load
  const TDVIntegerList& StyleMap;
  const TDVIntegerList& ParaMap;
  const TDVIntegerList& ListMap;
  TXMLUnknownTagHandler OnUnknownTag;
  TXMLLoadControlHandler OnLoadControl;
  bool TagsArePChars = false;
  int TableDepth = 0;  // tables being read around the current list
};

// Reads the children of node into dvData from insertPosition. Without a
// defaults record the list starts from DefaultXMLStyle and node's first
// "default" child. firstTime: the first item is placed by the document
// itself (InsertFirstDVFItem); insertPosition then becomes its index.
// Errors end the read with the error; the items inserted before stay.
void LoadDVDataFromXML(TCustomDVData& dvData, const TXMLTag& node, TXMLLoadContext& context,
                       TDocViewXMLStyle* defaults, int& insertPosition, bool firstTime, int& nonFirstItemsAdded);

// The first style of the collection whose name equals name without regard
// to case; -1 when none has it.
int FindNamedStyleNo(const TDVStyle& dvStyle, std::string_view name);
int FindNamedParaNo(const TDVStyle& dvStyle, std::string_view name);
int FindNamedListNo(const TDVStyle& dvStyle, std::string_view name);

// A control of the closed set of known kinds from its textual component form
// ("object Name: TClass", "Property = value" lines, "end"). The class named
// by the item's "class" attribute must be the text's. Text that is no
// component raises EReadError; an unknown class gives none.
std::unique_ptr<TControl> LoadControlFromText(const std::string& text, std::string_view className,
                                              TControl* parent);

}  // namespace quillet
