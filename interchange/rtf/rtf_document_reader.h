#pragma once
// Reading RTF into a document: the reading settings the engine's documents
// use (TDVRTFReaderProperties) and the listener that turns the parser's
// events into text items, pictures, page breaks and header and footer
// documents. A read that fails removes the items it added.
#include <functional>
#include <memory>
#include <string>

#include "engine/model/rtf_read_properties.h"

namespace quillet {

class TCustomDVData;
class TCustomDVItemInfo;
class TGraphic;

class TDVRTFDocumentReader : public TDVRTFReaderProperties {
 public:
  TDVRTFErrorCode ReadFromFile(const std::string& fileName, TCustomDVData& dvData) override;
  TDVRTFErrorCode ReadFromStream(TStream& stream, TCustomDVData& dvData) override;
  TDVRTFErrorCode InsertFromStreamEd(TStream& stream, TCustomDVData& dvData, int& index) override;

  // Documents that receive the RTF header and footer (not owned; null:
  // none). Each given document is cleared when a read starts.
  void SetHeader(TCustomDVData* dvData) { header_ = dvData; }
  void SetFooter(TCustomDVData* dvData) { footer_ = dvData; }
  // The header and footer distances read, in millimetres; -1 when none was.
  int32_t HeaderYMM = -1, FooterYMM = -1;

  // May refuse a style (allowed unless it answers false).
  std::function<bool(int32_t styleNo, bool textStyle)> OnAllowUseStyle;
  // May make the item for a picture; it may take the graphic.
  std::function<std::unique_ptr<TCustomDVItemInfo>(TCustomDVData& target, std::unique_ptr<TGraphic>& graphic,
                                                   bool hypertext)>
      OnCustomImageItem;

 private:
  class TRead;
  friend class TRead;
  TDVRTFErrorCode Read(TStream* stream, const std::string* fileName, TCustomDVData& dvData, int& index,
                       bool editorMode);

  TCustomDVData* header_ = nullptr;
  TCustomDVData* footer_ = nullptr;
};

// Installs the factory through which viewers make their RTF reader.
void InstallRTFReader();

}  // namespace quillet
