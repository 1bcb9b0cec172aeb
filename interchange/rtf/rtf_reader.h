#pragma once
// The RTF parser: reads a stream byte by byte and reports runs of text (with
// where each starts), Unicode text, pictures, table structure, required page
// breaks and header/footer boundaries through events. It keeps the RTF side
// of the formatting (the group states, font, colour and style tables) for the
// listener to read at each event, and builds nothing itself.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editing/table/table_types.h"
#include "engine/model/rtf_read_properties.h"
#include "interchange/rtf/rtf_document_tables.h"
#include "interchange/rtf/rtf_picture.h"
#include "interchange/rtf/rtf_properties.h"

namespace quillet {

class TGraphic;
class TStream;
struct TDVRTFsymbol;

enum TDVRTFPosition : uint8_t { rtf_ts_ContinuePara, rtf_ts_NewLine, rtf_ts_NewPara };
enum TDVRTFTableEventKind : uint8_t { dvf_tbl_TableStart, dvf_tbl_TableEnd, dvf_tbl_RowEnd, dvf_tbl_CellEnd };
enum TDVRTFHeaderFooterType : uint8_t { rtf_hf_MainText, rtf_hf_Header, rtf_hf_Footer };
enum TDVRTFHighlightConvert : uint8_t { rtf_hl_Ignore, rtf_hl_FixedColors, rtf_hl_ColorTable };
enum TDVRTFCurrentBorderType : uint8_t { rtf_bt_Para, rtf_bt_Row, rtf_bt_Cell };
enum TRTFrds : uint8_t {
  rdsNorm, rdsSkip, rdsFontTable, rdsStyleSheet, rdsColorTable, rdsStyleSheetEntry, rdsPict, rdsField, rdsFldInst
};
enum TRTFris : uint8_t { risNorm, risBin, risHex };

// The state of one group. The row properties are shared between a group and
// its copies until one of them changes them, so opening a group inside a
// wide row copies nothing of the row.
class TDVRTFReaderState {
 public:
  TDVRTFCharProperties CharProps;
  TDVRTFParaProperties ParaProps;
  TDVRTFSectionProperties SectProps;
  TDVRTFDocProperties DocProps;
  TDVRTFCurrentBorderType FCurrentBorderType = rtf_bt_Para;
  TRTFrds rds = rdsNorm;
  TRTFris ris = risNorm;
  TDVRTFHeaderFooterType FHFType = rtf_hf_MainText;

  // The row properties for reading; made on first use.
  const TDVRTFRowProperties& RowProps();
  // The row properties for changing.
  TDVRTFRowProperties& MutableRowProps();
  bool HasRowProps() const { return rowProps_ != nullptr; }
  void ResetRowProps() { rowProps_.reset(); }
  // The border the border keywords address, by the border type.
  TDVRTFParaBorder& CurrentBorder();
  TDVRTFSide CurrentBorderSide();
  void Reset();

 private:
  std::shared_ptr<TDVRTFRowProperties> rowProps_;
};

class TDVRTFReader {
 public:
  // Groups nested deeper fail with rtf_ec_StackOverflow.
  static constexpr int kMaxGroupDepth = 1000;
  // Deeper \itap levels are read as this one: their text goes into the
  // cells of the deepest table.
  static constexpr int kMaxTableNesting = DVTableMaxNesting;
  static constexpr int kBufferSize = 4096;

  TDVRTFReader();
  ~TDVRTFReader();
  TDVRTFReader(const TDVRTFReader&) = delete;
  TDVRTFReader& operator=(const TDVRTFReader&) = delete;

  TDVRTFErrorCode ReadFromFile(const std::string& fileName);
  TDVRTFErrorCode ReadFromStream(TStream& stream);
  void Clear();

  // Settings.
  uint32_t DefCodePage = 0;
  TDVRTFHighlightConvert ConvertHighlight = rtf_hl_FixedColors;

  // Events.
  std::function<void(TDVRTFReader& sender, const std::string& text, TDVRTFPosition position)> OnNewText;
  // UTF-16 units.
  std::function<void(TDVRTFReader& sender, const std::u16string& text, TDVRTFPosition position)> OnNewUnicodeText;
  // The handler takes the graphic (may be null; so may the picture record
  // for a file of an INCLUDEPICTURE field).
  std::function<void(TDVRTFReader& sender, TDVRTFPicture* picture, std::unique_ptr<TGraphic> graphic,
                     TDVRTFPosition position)>
      OnNewPicture;
  std::function<void(TDVRTFReader& sender, TDVRTFTableEventKind whatHappens)> OnTable;
  std::function<void(TDVRTFReader& sender)> OnRequiredPageBreak;
  std::function<void(TDVRTFReader& sender, TDVRTFHeaderFooterType hfType, bool starting)> OnHeaderFooter;

  // What the listener reads.
  TDVRTFReaderState& RTFState() { return state_; }
  TDVRTFFontList& FontTable() { return fontTable_; }
  TDVRTFColorList& ColorTable() { return colorTable_; }
  TDVRTFStyleSheet& StyleSheet() { return styleSheet_; }
  // The instruction of the current field; FieldCodeVersion changes whenever
  // it does, so listeners can keep what they derived from it.
  const std::string& FieldCode() const { return fieldCode_; }
  uint64_t FieldCodeVersion() const { return fieldCodeVersion_; }
  uint32_t CodePage() const { return codePage_; }
  // The font of the current text: the one \f chose, else the \deff font,
  // else the first; null while the table is empty.
  const TDVRTFFont* CurrentFont();
  // UTF-16 units in the code page in force; "?" for each unit nothing takes.
  std::string UnicodeToAnsi(const std::u16string& w) const;

 private:
  // Input.
  // Inline: the parser takes every byte through here.
  bool GetC(uint8_t& ch) {
    if (useLastChar_) {
      useLastChar_ = false;
      ch = lastChar_;
      return true;
    }
    if (inputIndex_ >= buffer_.size() && !FillBuffer()) return false;
    ch = static_cast<uint8_t>(buffer_[inputIndex_++]);
    lastChar_ = ch;
    return true;
  }
  // The next block of the stream into the buffer; false at its end.
  bool FillBuffer();
  void UngetC() { useLastChar_ = true; }
  bool IsEOF();
  TDVRTFErrorCode Parse();
  TDVRTFErrorCode PushRtfState();
  TDVRTFErrorCode PopRtfState();
  TDVRTFErrorCode ParseRtfKeyword();
  TDVRTFErrorCode TranslateKeyword(std::string_view keyword, int32_t param, bool hasParam);
  TDVRTFErrorCode ParseSpecialKeyword(int32_t ipfn, int32_t param);
  TDVRTFErrorCode ParseChar(uint8_t ch);
  // Text output.
  TDVRTFErrorCode OutputChar(uint8_t ch, bool checkTableEnd, bool checkTable);
  TDVRTFErrorCode OutputWideChar(char16_t wc);
  void FlushOutput(TDVRTFPosition& nextPosition);
  void DoNewText(TDVRTFPosition& nextPosition);
  void CheckTable(bool allowEnd);
  // Closes the tables opened above level.
  void CloseTables(int level);
  bool TooDeep() const { return state_.ParaProps.InTable && state_.ParaProps.NestingLevel > kMaxTableNesting; }
  // Properties (rtf_reader_props.cpp).
  TDVRTFErrorCode ApplyPropChange(int32_t iprop, int32_t value);
  TDVRTFErrorCode ApplyTableProp(int32_t iprop, int32_t value);
  TDVRTFErrorCode ApplyUnicodeChar(int32_t value);
  void ParseSpecialProperty(int32_t iprop);
  // Destinations (rtf_destinations.cpp).
  TDVRTFErrorCode ChangeDest(int32_t idest, int32_t value);
  TDVRTFErrorCode EndGroupAction(TRTFrds rds);
  TDVRTFErrorCode ApplyStyleSheetProp(int32_t iprop, int32_t value);
  TDVRTFErrorCode ApplyPictureProp(int32_t iprop, int32_t value);
  TDVRTFErrorCode PictureChar(uint8_t ch);
  TDVRTFErrorCode EndPicture();
  void DoNewPicture(TDVRTFPicture* picture, std::unique_ptr<TGraphic> graphic);
  void InsertExternalPicture();
  TDVRTFErrorCode InsertSymbol();
  TDVRTFErrorCode RequiredPageBreak();
  void SetFieldCode(std::string code);

  TStream* stream_ = nullptr;
  int64_t size_ = 0;
  std::string buffer_;
  size_t inputIndex_ = 0;
  uint8_t lastChar_ = 0;
  bool useLastChar_ = false;
  std::string text_;
  std::u16string textW_;
  TDVRTFStyleSheet styleSheet_;
  TDVRTFFontList fontTable_;
  TDVRTFColorList colorTable_;
  TDVRTFReaderState state_;
  std::vector<TDVRTFReaderState> saveList_;
  std::unique_ptr<TDVRTFPicture> picture_;
  uint32_t codePage_ = 0;
  int32_t skipAnsiCount_ = 1;
  int32_t skipNext_ = 0;
  int currentNestingLevel_ = 0;
  // The table level when the header or footer being read began.
  int hfNestingLevel_ = 0;
  TDVRTFPosition position_ = rtf_ts_NewPara;
  int cGroup_ = 0;
  int64_t cbBin_ = 0;
  uint8_t picHexVal_ = 0;
  bool picHexStrt_ = true;
  bool skipDestIfUnk_ = false;
  // Live on across group ends (a group does not copy them).
  std::string fieldCode_;
  uint64_t fieldCodeVersion_ = 0;
  bool fieldPictureIncluded_ = false;
  // The \deff font number, resolved to a position when used.
  int32_t defFontNumber_ = 0;
};

}  // namespace quillet
