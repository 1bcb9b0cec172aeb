#include "interchange/xml/docview_xml.h"

#include <filesystem>

#include "editing/table/table_cell.h"
#include "editing/table/table_item.h"
#include "engine/model/dv_data.h"
#include "engine/print/print_component.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"
#include "interchange/xml/xml_tree.h"
#include "interchange/xml/xml_view_settings.h"
#include "platform/core/control.h"
#include "platform/core/stream.h"
#include "platform/gfx/image_list.h"

namespace quillet {

namespace {

// The document a load is read into: it answers for the viewer's document
// where items ask (the window controls live in), and drops nothing of the
// viewer's when it goes.
class TXMLScratchData final : public TCustomDVData {
 public:
  explicit TXMLScratchData(TCustomDVData& target) : target_(target) {}
  TControl* GetParentControl() const override { return target_.GetParentControl(); }

 private:
  TCustomDVData& target_;
};

void CopyStyles(const TDVStyle& from, TDVStyle& to) {
  to.SetTextStyles(from.TextStyles());
  to.SetParaStyles(from.ParaStyles());
  to.SetListStyles(from.ListStyles());
  to.InactiveSelColor = from.InactiveSelColor;
  to.InactiveSelTextColor = from.InactiveSelTextColor;
}

void Append(std::vector<std::unique_ptr<TCustomImageList>>& to, std::vector<std::unique_ptr<TCustomImageList>> from) {
  for (auto& list : from) to.push_back(std::move(list));
}

// The root document lists every marker of its sub-documents, but the items
// moved over only bring their own: markers in table cells (in document
// order, so each joins after the one before it) are listed here. Tables nest
// no deeper than their limits allow, so the recursion is bounded.
void ListCellMarkers(TCustomDVData& data) {
  for (int i = 0; i < data.ItemCount(); ++i) {
    auto* table = dynamic_cast<TDVTableItemInfo*>(data.GetItem(i));
    if (!table) continue;
    for (int r = 0; r < table->Rows.Count(); ++r)
      for (int c = 0; c < table->Rows[r]->Count(); ++c)
        if (TDVTableCellData* cell = table->GetCells(r, c)) {
          for (int k = 0; k < cell->ItemCount(); ++k) cell->AddMarkerInList(k);
          ListCellMarkers(*cell);
        }
  }
}

}  // namespace

void DVLoadFromXML(TCustomDocView& docView, const TXMLTag& node, const TDVXMLLoadOptions& options,
                   std::vector<std::unique_ptr<TCustomImageList>>& imageLists) {
  TDVStyle* viewStyle = docView.Style();
  if (!viewStyle) throw EDocViewXMLError("The viewer has no style sheet");
  TDVStyle style;
  CopyStyles(*viewStyle, style);
  TDVIntegerList styleMap, paraMap, listMap;
  LoadDVStyle(node.Children().FindTagOfName("style"), style, options.StyleLoadingMode, styleMap, paraMap, listMap);

  TImgListList bullets, hotspotLists;
  if (const TXMLTag* bulletsNode = node.Children().FindTagOfName("bullets")) bullets.LoadFromXML(*bulletsNode);

  TXMLPrintSettings print;
  const bool loadPrint = options.LoadPrint && options.DVPrint;
  if (loadPrint) {
    print.ReadFrom(*options.DVPrint);
    if (const TXMLTag* printNode = node.Children().FindTagOfName("print")) LoadDVPrint(*printNode, print);
  }

  TXMLScratchData scratch(docView.DVData());
  scratch.SetDVStyle(&style);
  TXMLViewSettings view;
  view.ReadFrom(docView);
  const TXMLTag* document = node.Children().FindTagOfName("document");
  if (document) {
    if (const TXMLAttr* tags = document->Attributes().FindAttrOfName("stringtags"); tags && options.LoadTagMode)
      ReadFlagBit<TDVOptions>(tags->Value, view.Options, dvoTagsArePChars);
    if (options.LoadBackground) LoadBackgroundFromXML(*document, view);
    scratch.SetOptions(view.Options);
    TXMLLoadContext context{style,     bullets, hotspotLists,         styleMap,
                            paraMap,   listMap, options.OnUnknownTag, options.OnLoadControl,
                            scratch.TagsArePChars()};
    int position = 0, added = 0;
    LoadDVDataFromXML(scratch, *document, context, nullptr, position, true, added);
  }

  // Everything was read: the viewer takes it over.
  docView.Clear();
  CopyStyles(style, *viewStyle);
  if (loadPrint) print.ApplyTo(*options.DVPrint);
  if (document) {
    view.ApplyTo(docView);
    TCustomDVData& target = docView.DVData();
    const bool allowNewPara = target.AllowNewPara();
    target.SetAddParagraphMode(true);
    try {
      target.DrainFrom(&scratch);
    } catch (...) {
      target.SetAddParagraphMode(allowNewPara);
      throw;
    }
    target.SetAddParagraphMode(allowNewPara);
    ListCellMarkers(target);
  }
  Append(imageLists, bullets.TakeLists());
  Append(imageLists, hotspotLists.TakeLists());
  docView.Format();
}

TDocViewXML::~TDocViewXML() = default;

void TDocViewXML::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead);
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(fileName, ec);
  BaseFilePath = (ec ? std::filesystem::path(fileName) : full).parent_path().string() + "/";
  LoadFromStream(stream);
}

void TDocViewXML::LoadFromStream(TStream& stream) {
  TXMLTree tree(Encoding);
  tree.BaseFilePath = BaseFilePath;
  tree.AddUnicodeElement("utext");
  tree.LoadFromStream(stream);
  const TXMLTag* root = tree.Children().FindTagOfName(RootElement);
  if (!root) throw EDocViewXMLError("No root element");
  LoadFromXML(*root);
}

void TDocViewXML::LoadFromXML(const TXMLTag& node) {
  if (!DocView) return;
  TDVXMLLoadOptions options;
  options.DVPrint = DVPrint;
  options.LoadPrint = LoadPrint;
  options.LoadBackground = LoadBackground;
  options.StyleLoadingMode = StyleLoadingMode;
  options.LoadTagMode = LoadTagMode;
  if (OnUnknownTag)
    options.OnUnknownTag = [this](const TXMLTag& tag, TCustomDVData& dvData, int itemNo) {
      OnUnknownTag(*this, tag, dvData, itemNo);
    };
  if (OnLoadControl)
    options.OnLoadControl = [this](const std::string& s) { return OnLoadControl(*this, s); };
  DVLoadFromXML(*DocView, node, options, imageLists_);
}

}  // namespace quillet
