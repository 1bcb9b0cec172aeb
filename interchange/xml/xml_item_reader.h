#pragma once
// The reader of one item list of the XML import (the document's or a table
// cell's), shared by the item elements and tables.
#include <cstdint>
#include <memory>
#include <string>

#include "interchange/xml/xml_items.h"

namespace quillet {

class TCustomDVData;
class TCustomDVItemInfo;
class TXMLAttr;
class TXMLTag;

class TXMLItemReader {
 public:
  TXMLItemReader(TCustomDVData& dvData, TXMLLoadContext& context, TDocViewXMLStyle& defaults, int insertPosition,
                 bool firstTime);

  void ReadChildren(const TXMLTag& node);
  void ReadDefault(const TXMLTag& node);
  int FirstItemIndex() const { return firstItemIndex_; }
  int NonFirstItemsAdded() const { return nonFirstItemsAdded_; }

 private:
  // A style number and whether a name lookup found it (then it is already
  // an index of the style sheet).
  struct TStyleRef {
    int32_t no = 0;
    bool byName = false;
  };
  // The common attributes a reader accepts.
  enum : unsigned { kTag = 1, kTextStyle = 2, kParaStyle = 4, kLine = 8, kRect = 16 };

  bool ReadCommon(const TXMLAttr& attr, unsigned accepted, TCustomDVItemInfo& item, TStyleRef& style,
                  TStyleRef& para) const;
  // -1 falls back to the default, then the number is translated.
  static int32_t Translate(TStyleRef ref, TStyleRef fallback, const TDVIntegerList& map, int count);
  int32_t TranslateStyle(TStyleRef ref) const;
  int32_t TranslatePara(TStyleRef ref) const;
  void InsertItem(std::string text, std::unique_ptr<TCustomDVItemInfo> item);

  void ReadChild(const TXMLTag& child);
  void ReadText(const TXMLTag& node, bool unicode);
  void ReadImage(const TXMLTag& node, bool hot);
  void ReadBreak(const TXMLTag& node);
  void ReadBullet(const TXMLTag& node);
  void ReadHotSpot(const TXMLTag& node);
  void ReadControl(const TXMLTag& node);
  void ReadCheck(const TXMLTag& node);
  void ReadMarker(const TXMLTag& node);
  void ReadTable(const TXMLTag& node);  // xml_table_import.cpp

  TCustomDVData& dvData_;
  TXMLLoadContext& context_;
  TDocViewXMLStyle& defaults_;
  int index_;
  bool firstTime_;
  int firstItemIndex_ = -1;
  int nonFirstItemsAdded_ = 0;
  bool pageBreak_ = false;
};

}  // namespace quillet
