#pragma once
// What the engine needs of the RTF reader, which lives in the interchange
// layer above it: the reading settings object through which a document loads
// RTF, and the reader's result codes. The interchange layer derives the
// concrete reader settings from this.
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

class TDVRTFReaderProperties {
 public:
  virtual ~TDVRTFReaderProperties() = default;
  // Append the RTF content to the end of the document.
  virtual TDVRTFErrorCode ReadFromFile(const std::string& fileName, TCustomDVData& dvData) = 0;
  virtual TDVRTFErrorCode ReadFromStream(TStream& stream, TCustomDVData& dvData) = 0;
  virtual void Assign(const TDVRTFReaderProperties& source) = 0;
};

}  // namespace quillet
