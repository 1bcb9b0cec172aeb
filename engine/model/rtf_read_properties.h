#pragma once
// What the engine needs of the RTF reader, which lives in the interchange
// layer above it: the reading settings object through which a document loads
// RTF, the reader's result codes, and the factory the interchange layer
// installs at start-up so that a viewer makes its reader on first use.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quillet {

class TCustomDVData;
class TStream;

// 0 is success, anything else a failure.
enum TDVRTFErrorCode {
  rtf_ec_OK, rtf_ec_StackUnderflow, rtf_ec_StackOverflow, rtf_ec_UnmatchedBrace, rtf_ec_InvalidHex,
  rtf_ec_BadTable, rtf_ec_Assertion, rtf_ec_EndOfFile, rtf_ec_FileOpenError, rtf_ec_Exception,
  rtf_ec_InvalidPicture, rtf_ec_Aborted
};

// Whether \u characters are read and whether text items are Unicode.
enum TDVReaderUnicode { dvruMixed, dvruNoUnicode, dvruOnlyUnicode };
// How the style of read text or paragraphs is chosen.
enum TDVReaderStyleMode { dvrsUseSpecified, dvrsUseClosest, dvrsAddIfNeeded };
// What \highlight means.
enum TDVRTFHighlight { rtfhlIgnore, rtfhlFixedColors, rtfhlColorTable };
// How the borders of neighbouring table cells are glued.
enum TDVBorderGlueMode { dvbgVisibleBorders, dvbgNegativeSpacing };

class TDVRTFReaderProperties {
 public:
  virtual ~TDVRTFReaderProperties() = default;
  // Append the RTF content to the end of the document.
  virtual TDVRTFErrorCode ReadFromFile(const std::string& fileName, TCustomDVData& dvData) = 0;
  virtual TDVRTFErrorCode ReadFromStream(TStream& stream, TCustomDVData& dvData) = 0;
  // The editor's insertion at item index; on return index is the last
  // inserted item (-1: none).
  virtual TDVRTFErrorCode InsertFromStreamEd(TStream& stream, TCustomDVData& dvData, int& index) = 0;
  // Copies the reading settings.
  virtual void Assign(const TDVRTFReaderProperties& source);

  TDVReaderUnicode UnicodeMode = dvruNoUnicode;
  TDVReaderStyleMode TextStyleMode = dvrsUseClosest;
  TDVReaderStyleMode ParaStyleMode = dvrsUseClosest;
  bool IgnorePictures = false;
  bool UseHypertextStyles = false;
  bool SkipHiddenText = true;
  bool AutoHideTableGridLines = true;
  TDVRTFHighlight ConvertHighlight = rtfhlFixedColors;
  TDVBorderGlueMode TableBorderGlueMode = dvbgNegativeSpacing;

  int32_t TextStyleNo() const { return textStyleNo_; }
  int32_t ParaStyleNo() const { return paraStyleNo_; }
  // "Value must not be negative" below 0; the old value stays.
  void SetTextStyleNo(int32_t value);
  void SetParaStyleNo(int32_t value);

 private:
  int32_t textStyleNo_ = 0;
  int32_t paraStyleNo_ = 0;
};

// Makes the reading settings a viewer uses; installed by the interchange
// layer at start-up. Without one a viewer cannot load RTF.
using TDVRTFReaderPropertiesFactory = std::function<std::unique_ptr<TDVRTFReaderProperties>()>;
void SetRTFReaderPropertiesFactory(TDVRTFReaderPropertiesFactory factory);
// A new settings object; null when no factory is installed.
std::unique_ptr<TDVRTFReaderProperties> CreateRTFReaderProperties();

}  // namespace quillet
