// The parser's input, groups, keywords and text output.
#include "interchange/rtf/rtf_reader.h"

#include <algorithm>
#include <memory>

#include "interchange/rtf/rtf_chars.h"
#include "interchange/rtf/rtf_keywords.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

// Keywords are at most this many letters and parameters this many digits;
// longer words are unknown, further digits are read and dropped.
constexpr size_t kMaxKeywordLength = 32;
constexpr int kMaxParamDigits = 10;

bool IsLetter(uint8_t ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); }
bool IsDigit(uint8_t ch) { return ch >= '0' && ch <= '9'; }

}  // namespace

// ---- the group state ----

const TDVRTFRowProperties& TDVRTFReaderState::RowProps() {
  if (!rowProps_) rowProps_ = std::make_shared<TDVRTFRowProperties>();
  return *rowProps_;
}

TDVRTFRowProperties& TDVRTFReaderState::MutableRowProps() {
  if (!rowProps_)
    rowProps_ = std::make_shared<TDVRTFRowProperties>();
  else if (rowProps_.use_count() > 1)
    rowProps_ = std::make_shared<TDVRTFRowProperties>(*rowProps_);
  return *rowProps_;
}

TDVRTFParaBorder& TDVRTFReaderState::CurrentBorder() {
  switch (FCurrentBorderType) {
    case rtf_bt_Row: return MutableRowProps().Border;
    case rtf_bt_Cell: return MutableRowProps().LastCell().Border;
    case rtf_bt_Para: break;
  }
  return ParaProps.GetBorder();
}

TDVRTFSide TDVRTFReaderState::CurrentBorderSide() {
  switch (FCurrentBorderType) {
    case rtf_bt_Row: return RowProps().CurBorderSide;
    case rtf_bt_Cell: return MutableRowProps().LastCell().CurBorderSide;
    case rtf_bt_Para: break;
  }
  return ParaProps.CurBorderSide;
}

void TDVRTFReaderState::Reset() { *this = TDVRTFReaderState(); }

// ---- the reader ----

TDVRTFReader::TDVRTFReader() = default;
TDVRTFReader::~TDVRTFReader() = default;

TDVRTFErrorCode TDVRTFReader::ReadFromFile(const std::string& fileName) {
  std::unique_ptr<TFileStream> stream;
  try {
    stream = std::make_unique<TFileStream>(fileName, fmOpenRead);
  } catch (const EStreamError&) {
    return rtf_ec_FileOpenError;
  }
  return ReadFromStream(*stream);
}

TDVRTFErrorCode TDVRTFReader::ReadFromStream(TStream& stream) {
  stream_ = &stream;
  size_ = stream.GetSize();
  Clear();
  buffer_.clear();
  inputIndex_ = 0;
  const TDVRTFErrorCode result = Parse();
  buffer_.clear();
  stream_ = nullptr;
  return result;
}

void TDVRTFReader::Clear() {
  styleSheet_.Clear();
  fontTable_.Clear();
  colorTable_.Clear();
  saveList_.clear();
  state_.Reset();
  fieldCode_.clear();
  ++fieldCodeVersion_;
  fieldPictureIncluded_ = false;
  defFontNumber_ = 0;
  text_.clear();
  textW_.clear();
  position_ = rtf_ts_NewPara;
  useLastChar_ = false;
  picture_.reset();
  codePage_ = DefCodePage;
  skipAnsiCount_ = 1;
  skipNext_ = 0;
  cGroup_ = 0;
  cbBin_ = 0;
  skipDestIfUnk_ = false;
  currentNestingLevel_ = 0;
}

bool TDVRTFReader::FillBuffer() {
  const int64_t left = size_ - stream_->GetPosition();
  if (left <= 0) return false;
  buffer_.resize(static_cast<size_t>(std::min<int64_t>(left, kBufferSize)));
  buffer_.resize(static_cast<size_t>(stream_->Read(buffer_.data(), static_cast<int64_t>(buffer_.size()))));
  inputIndex_ = 0;
  return !buffer_.empty();
}

bool TDVRTFReader::IsEOF() {
  if (useLastChar_ || inputIndex_ < buffer_.size()) return false;
  return stream_->GetPosition() >= size_;
}

TDVRTFErrorCode TDVRTFReader::Parse() {
  TDVRTFErrorCode ec = rtf_ec_OK;
  int hexDigits = 0;
  uint8_t hexValue = 0;
  uint8_t ch;
  while (ec == rtf_ec_OK && !IsEOF()) {
    if (!GetC(ch)) break;
    if (cGroup_ < 0) return rtf_ec_StackUnderflow;
    if (state_.ris == risBin) {
      ec = ParseChar(ch);
      continue;
    }
    if (ch == '{') {
      skipNext_ = 0;
      ec = PushRtfState();
    } else if (ch == '}') {
      skipNext_ = 0;
      ec = PopRtfState();
      if (ec == rtf_ec_OK && cGroup_ == 0) break;
    } else if (ch == '\\') {
      ec = ParseRtfKeyword();
    } else if (ch == 10 || ch == 13) {
      // Line ends are no text outside \bin data.
    } else if (state_.ris == risNorm) {
      if (skipNext_ > 0)
        --skipNext_;
      else
        ec = ParseChar(ch);
    } else if (state_.ris == risHex) {
      const int digit = RTFHexDigit(ch);
      if (digit < 0) return rtf_ec_InvalidHex;
      hexValue = static_cast<uint8_t>(hexValue << 4 | digit);
      if (++hexDigits == 2) {
        if (skipNext_ > 0)
          --skipNext_;
        else
          ec = ParseChar(hexValue);
        hexDigits = 0;
        hexValue = 0;
        state_.ris = risNorm;
      }
    } else {
      return rtf_ec_Assertion;
    }
  }
  if (ec != rtf_ec_OK) return ec;
  CloseTables(0);
  colorTable_.RemoveLast();
  if (cGroup_ < 0) return rtf_ec_StackUnderflow;
  if (cGroup_ > 0) return rtf_ec_UnmatchedBrace;
  if (!text_.empty() || !textW_.empty()) return OutputChar(0, true, true);
  return rtf_ec_OK;
}

TDVRTFErrorCode TDVRTFReader::PushRtfState() {
  if (cGroup_ >= kMaxGroupDepth) return rtf_ec_StackOverflow;
  saveList_.push_back(state_);
  state_.ris = risNorm;
  ++cGroup_;
  if (state_.rds == rdsStyleSheet) {
    styleSheet_.Add();
    state_.rds = rdsStyleSheetEntry;
  }
  return rtf_ec_OK;
}

TDVRTFErrorCode TDVRTFReader::PopRtfState() {
  if (saveList_.empty()) return rtf_ec_StackUnderflow;
  TDVRTFReaderState& saved = saveList_.back();
  if (state_.rds == rdsStyleSheetEntry && saved.rds == rdsStyleSheet) {
    if (TDVRTFStyleSheetEntry* entry = styleSheet_.Last()) {
      entry->ParaProps = state_.ParaProps;
      entry->CharProps.Assign(state_.CharProps);
      styleSheet_.Commit(*entry);
    }
  }
  TDVRTFErrorCode ec = rtf_ec_OK;
  if (state_.rds == rdsNorm) {
    ec = OutputChar(0, false, false);
    if (ec != rtf_ec_OK) return ec;
  }
  if (state_.rds != saved.rds) {
    ec = EndGroupAction(state_.rds);
    if (ec != rtf_ec_OK) return ec;
  }
  if (state_.FHFType != saved.FHFType && state_.FHFType != rtf_hf_MainText && OnHeaderFooter) {
    // A table of the header or footer ends with it, not in the text after.
    CloseTables(hfNestingLevel_);
    OnHeaderFooter(*this, state_.FHFType, false);
  }
  state_ = std::move(saved);
  saveList_.pop_back();
  --cGroup_;
  return rtf_ec_OK;
}

TDVRTFErrorCode TDVRTFReader::ParseRtfKeyword() {
  if (IsEOF()) return rtf_ec_EndOfFile;
  uint8_t ch;
  GetC(ch);
  if (!IsLetter(ch)) {
    // A control symbol is acted on even as a fallback: \' counts its byte.
    const char symbol = static_cast<char>(ch);
    return TranslateKeyword(std::string_view(&symbol, 1), 0, false);
  }
  char keyword[kMaxKeywordLength];
  size_t length = 0;
  bool tooLong = false;
  bool more = true;
  while (more && IsLetter(ch)) {
    if (length < kMaxKeywordLength)
      keyword[length++] = static_cast<char>(ch);
    else
      tooLong = true;
    more = GetC(ch);
  }
  bool negative = false, hasParam = false;
  int64_t value = 0;
  if (more && ch == '-') {
    negative = true;
    more = GetC(ch);
  }
  for (int digits = 0; more && IsDigit(ch); ++digits) {
    if (digits < kMaxParamDigits) value = value * 10 + (ch - '0');
    hasParam = true;
    more = GetC(ch);
  }
  int32_t param = 0;
  if (hasParam) {
    if (negative) value = -value;
    param = static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
  }
  if (more && ch != ' ') UngetC();
  if (skipNext_ > 0) {
    --skipNext_;
    return rtf_ec_OK;
  }
  if (tooLong) length = 0;  // found in no table
  return TranslateKeyword(std::string_view(keyword, length), param, hasParam);
}

TDVRTFErrorCode TDVRTFReader::TranslateKeyword(std::string_view keyword, int32_t param, bool hasParam) {
  const TDVRTFsymbol* symbol = keyword.empty() ? nullptr : FindKeyword(keyword);
  if (!symbol) {
    if (skipDestIfUnk_) state_.rds = rdsSkip;
    skipDestIfUnk_ = false;
    return rtf_ec_OK;
  }
  skipDestIfUnk_ = false;
  switch (symbol->Kind) {
    case rtf_kwd_Char:
      return ParseChar(static_cast<uint8_t>(symbol->Index));
    case rtf_kwd_WideChar:
      if (state_.rds == rdsNorm && OnNewUnicodeText) {
        OutputWideChar(static_cast<char16_t>(symbol->DefValue));
        return rtf_ec_OK;
      }
      return ParseChar(static_cast<uint8_t>(symbol->Index));
    case rtf_kwd_Dest:
      return ChangeDest(symbol->Index, 0);
    case rtf_kwd_Prop: {
      if (symbol->UseDefault || !hasParam) param = symbol->DefValue;
      if (state_.rds == rdsNorm && (symbol->Affect == rtf_af_CharProp || symbol->Affect == rtf_af_BothProp)) {
        const TDVRTFErrorCode ec = OutputChar(0, false, true);
        if (ec != rtf_ec_OK) return ec;
      }
      return ApplyPropChange(symbol->Index, param);
    }
    case rtf_kwd_Spec:
      return ParseSpecialKeyword(symbol->Index, hasParam ? param : 0);
  }
  return rtf_ec_BadTable;
}

TDVRTFErrorCode TDVRTFReader::ParseSpecialKeyword(int32_t ipfn, int32_t param) {
  if (state_.rds == rdsSkip && ipfn != ipfnBin) return rtf_ec_OK;
  switch (ipfn) {
    case ipfnBin:
      // \bin without a number is \bin0, which takes no byte.
      if (param > 0) {
        state_.ris = risBin;
        cbBin_ = param;
      }
      return rtf_ec_OK;
    case ipfnHex:
      state_.ris = risHex;
      return rtf_ec_OK;
    case ipfnSkipDest:
      skipDestIfUnk_ = true;
      return rtf_ec_OK;
    default:
      return rtf_ec_BadTable;
  }
}

TDVRTFErrorCode TDVRTFReader::ParseChar(uint8_t ch) {
  TDVRTFErrorCode ec = rtf_ec_OK;
  switch (state_.rds) {
    case rdsNorm:
      ec = OutputChar(ch, true, true);
      break;
    case rdsFontTable:
      if (ch != ';')
        if (TDVRTFFont* font = fontTable_.Last()) font->Name += static_cast<char>(ch);
      break;
    case rdsColorTable:
      if (ch == ';') colorTable_.AddAuto();
      break;
    case rdsStyleSheetEntry:
      if (ch != ';')
        if (TDVRTFStyleSheetEntry* entry = styleSheet_.Last()) entry->Name += static_cast<char>(ch);
      break;
    case rdsPict:
      ec = PictureChar(ch);
      break;
    case rdsFldInst:
      fieldCode_ += static_cast<char>(ch);
      ++fieldCodeVersion_;
      break;
    case rdsSkip:
    case rdsStyleSheet:
    case rdsField:
      break;
  }
  if (state_.ris == risBin && --cbBin_ < 1) state_.ris = risNorm;
  return ec;
}

// ---- text output ----

TDVRTFErrorCode TDVRTFReader::OutputChar(uint8_t ch, bool checkTableEnd, bool checkTable) {
  if (checkTable) CheckTable(checkTableEnd);
  if (ch != 0 && ch != 10 && ch != 13) {
    if (!textW_.empty()) {
      TDVRTFPosition next = rtf_ts_ContinuePara;
      FlushOutput(next);
      position_ = next;
    }
    text_ += static_cast<char>(ch);
    return rtf_ec_OK;
  }
  TDVRTFPosition next = ch == 10 ? rtf_ts_NewPara : ch == 13 ? rtf_ts_NewLine : rtf_ts_ContinuePara;
  FlushOutput(next);
  position_ = next;
  return rtf_ec_OK;
}

TDVRTFErrorCode TDVRTFReader::OutputWideChar(char16_t wc) {
  CheckTable(true);
  if (!OnNewUnicodeText) return rtf_ec_OK;
  if (!text_.empty()) {
    TDVRTFPosition next = rtf_ts_ContinuePara;
    DoNewText(next);
    position_ = next;
  }
  if (wc != 0) textW_ += wc;
  return rtf_ec_OK;
}

void TDVRTFReader::FlushOutput(TDVRTFPosition& nextPosition) {
  if (!textW_.empty() && !text_.empty()) {
    // The 8-bit text came first.
    std::u16string wide = std::move(textW_);
    textW_.clear();
    TDVRTFPosition next = rtf_ts_ContinuePara;
    DoNewText(next);
    position_ = next;
    textW_ = std::move(wide);
  }
  DoNewText(nextPosition);
}

void TDVRTFReader::DoNewText(TDVRTFPosition& nextPosition) {
  if (text_.empty() && textW_.empty()) {
    if (position_ == rtf_ts_ContinuePara) return;
    if (nextPosition == rtf_ts_ContinuePara) {
      nextPosition = position_;
      return;
    }
  }
  if (OnNewUnicodeText && !textW_.empty()) {
    const std::u16string text = std::move(textW_);
    textW_.clear();
    OnNewUnicodeText(*this, text, position_);
  } else if (OnNewText) {
    const std::string text = std::move(text_);
    text_.clear();
    OnNewText(*this, text, position_);
  }
  text_.clear();
  textW_.clear();
}

void TDVRTFReader::CheckTable(bool allowEnd) {
  const TDVRTFParaProperties& para = state_.ParaProps;
  if (para.NoTableEv) return;
  const int level = para.InTable ? std::clamp(para.NestingLevel, 0, kMaxTableNesting) : 0;
  if (level > currentNestingLevel_) {
    if (OnTable)
      for (int i = currentNestingLevel_; i < level; ++i) OnTable(*this, dvf_tbl_TableStart);
    currentNestingLevel_ = level;
  } else if (level < currentNestingLevel_ && allowEnd) {
    CloseTables(level);
  }
}

void TDVRTFReader::CloseTables(int level) {
  if (OnTable)
    for (int i = level; i < currentNestingLevel_; ++i) OnTable(*this, dvf_tbl_TableEnd);
  currentNestingLevel_ = std::min(currentNestingLevel_, level);
}

std::string TDVRTFReader::UnicodeToAnsi(const std::u16string& w) const {
  if (w.empty()) return {};
  std::string s = WideCharToMultiByte(static_cast<int>(codePage_), w);
  if (s.empty() && codePage_ != 0) s = WideCharToMultiByte(CP_ACP, w);
  if (s.empty()) s.assign(w.size(), '?');
  return s;
}

}  // namespace quillet
