#pragma once
// The XML import component: fills a viewer or editor from an XML document of
// the format's "style", "bullets", "print" and "document" elements under a
// root element. The load is read into a scratch document against a copy of
// the style sheet and swapped in only when it succeeded, so a failed load
// leaves the viewer, its style sheet and the print component as they were.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "interchange/xml/xml_items.h"
#include "interchange/xml/xml_style_import.h"
#include "interchange/xml/xml_values.h"

namespace quillet {

class TControl;
class TCustomDocView;
class TCustomDVData;
class TCustomImageList;
class TDVPrint;
class TStream;
class TXMLTag;

class TDocViewXML;
using TDocViewXMLLoadControlEvent = std::function<std::unique_ptr<TControl>(TDocViewXML& sender, const std::string& s)>;
using TDocViewXMLUnknownTagEvent =
    std::function<void(TDocViewXML& sender, const TXMLTag& node, TCustomDVData& dvData, int itemNo)>;

// Settings of one load.
struct TDVXMLLoadOptions {
  TDVPrint* DVPrint = nullptr;
  bool LoadPrint = false;
  bool LoadBackground = true;
  TStyleLoadingMode StyleLoadingMode = slmReplace;
  bool LoadTagMode = true;
  TXMLUnknownTagHandler OnUnknownTag;
  TXMLLoadControlHandler OnLoadControl;
};

// Loads the root element node into the viewer, replacing its document, and
// formats it. The image lists that bullets and hotspots show are handed to
// imageLists, which must outlive the document. Errors (conversion, class,
// index, picture and table-limit errors) propagate with the viewer, its
// style sheet and the print component untouched.
void DVLoadFromXML(TCustomDocView& docView, const TXMLTag& node, const TDVXMLLoadOptions& options,
                   std::vector<std::unique_ptr<TCustomImageList>>& imageLists);

class TDocViewXML {
 public:
  TDocViewXML() = default;
  TDocViewXML(const TDocViewXML&) = delete;
  TDocViewXML& operator=(const TDocViewXML&) = delete;
  ~TDocViewXML();

  TCustomDocView* DocView = nullptr;  // the target; nothing loads without it
  TDVPrint* DVPrint = nullptr;        // the target of "print"
  std::string RootElement = "dvxml";
  // The parse tree's initial encoding; recorded, never applied.
  std::string Encoding = "windows-1250";
  // The absolute folder picture file names are resolved against, ending in
  // "/"; set by LoadFromFile.
  std::string BaseFilePath;
  TStyleLoadingMode StyleLoadingMode = slmReplace;
  bool LoadBackground = true;
  bool LoadPrint = false;
  bool LoadTagMode = true;
  TDocViewXMLLoadControlEvent OnLoadControl;
  TDocViewXMLUnknownTagEvent OnUnknownTag;

  // EFOpenError when the file cannot be opened.
  void LoadFromFile(const std::string& fileName);
  // EDocViewXMLError "No root element" when no top-level element is named
  // RootElement (without regard to case).
  void LoadFromStream(TStream& stream);
  // Loads from an element that plays the root's part.
  void LoadFromXML(const TXMLTag& node);

 private:
  // The image lists the documents loaded so far show.
  std::vector<std::unique_ptr<TCustomImageList>> imageLists_;
};

}  // namespace quillet
