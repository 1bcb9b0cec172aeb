// Destinations: what the font and colour tables, the style sheet, fields,
// pictures, headers and footers collect and do at their group's end.
#include <algorithm>
#include <cctype>
#include <memory>
#include <optional>

#include "engine/base/shared_routines.h"
#include "interchange/rtf/rtf_keywords.h"
#include "interchange/rtf/rtf_chars.h"
#include "interchange/rtf/rtf_reader.h"
#include "platform/core/arith.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/picture_file.h"

namespace quillet {

TDVRTFErrorCode TDVRTFReader::ChangeDest(int32_t idest, int32_t value) {
  if (state_.rds == rdsSkip) return rtf_ec_OK;
  switch (idest) {
    case idestPict:
      if (picture_) return rtf_ec_InvalidPicture;
      if (OnNewPicture) picture_ = std::make_unique<TDVRTFPicture>();
      state_.rds = rdsPict;
      picHexStrt_ = true;
      picHexVal_ = 0;
      break;
    case idestFontTable:
      fontTable_.Clear();
      state_.rds = rdsFontTable;
      break;
    case idestStyleSheet:
      styleSheet_.Clear();
      state_.rds = rdsStyleSheet;
      break;
    case idestColorTable:
      colorTable_.Clear();
      colorTable_.AddAuto();
      state_.rds = rdsColorTable;
      break;
    case idestStyleSheetParaStyle:
    case idestStyleSheetCharStyle:
    case idestStyleSheetSectStyle:
      if (TDVRTFStyleSheetEntry* entry = styleSheet_.Last()) {
        entry->Number = value;
        entry->StyleType = idest == idestStyleSheetParaStyle   ? rtf_sst_Par
                           : idest == idestStyleSheetCharStyle ? rtf_sst_Char
                                                               : rtf_sst_Sect;
      }
      state_.rds = rdsStyleSheetEntry;
      break;
    case idestField: {
      const TDVRTFErrorCode ec = OutputChar(0, true, true);
      state_.rds = rdsField;
      return ec;
    }
    case idestFldInst:
      if (state_.rds == rdsField) {
        SetFieldCode({});
        fieldPictureIncluded_ = false;
        state_.rds = rdsFldInst;
      }
      break;
    case idestFldRslt:
    case idestNestedTableProps:
      state_.rds = rdsNorm;
      break;
    case idestShpPict:
      break;
    case idestHeader:
    case idestFooter:
      state_.FHFType = idest == idestHeader ? rtf_hf_Header : rtf_hf_Footer;
      if (!OnHeaderFooter)
        state_.rds = rdsSkip;
      else {
        hfNestingLevel_ = currentNestingLevel_;
        OnHeaderFooter(*this, state_.FHFType, true);
      }
      break;
    default:
      state_.rds = rdsSkip;
      break;
  }
  return rtf_ec_OK;
}

TDVRTFErrorCode TDVRTFReader::EndGroupAction(TRTFrds rds) {
  switch (rds) {
    case rdsFldInst:
      InsertExternalPicture();
      return InsertSymbol();
    case rdsField:
      SetFieldCode({});
      fieldPictureIncluded_ = false;
      return rtf_ec_OK;
    case rdsPict:
      return EndPicture();
    default:
      return rtf_ec_OK;
  }
}

void TDVRTFReader::SetFieldCode(std::string code) {
  fieldCode_ = std::move(code);
  ++fieldCodeVersion_;
}

TDVRTFErrorCode TDVRTFReader::ApplyStyleSheetProp(int32_t iprop, int32_t value) {
  if (state_.rds != rdsStyleSheetEntry) return rtf_ec_OK;
  TDVRTFStyleSheetEntry* entry = styleSheet_.Last();
  if (!entry) return rtf_ec_OK;
  switch (iprop) {
    case ipropS: return ChangeDest(idestStyleSheetParaStyle, value);
    case ipropCS: return ChangeDest(idestStyleSheetCharStyle, value);
    case ipropDS: return ChangeDest(idestStyleSheetSectStyle, value);
    case ipropSBasedOn: entry->BasedOn = styleSheet_.GetEntry(value); break;
    case irpropSNext: entry->Next = styleSheet_.GetEntry(value); break;
    case ipropAdditive: entry->Additive = true; break;
    case ipropSHidden: entry->Hidden = true; break;
    default: break;
  }
  return rtf_ec_OK;
}

// ---- pictures ----

TDVRTFErrorCode TDVRTFReader::ApplyPictureProp(int32_t iprop, int32_t value) {
  if (!picture_) return rtf_ec_OK;
  TDVRTFPicture& picture = *picture_;
  switch (iprop) {
    case ipropPicW: picture.SetSize(picture.PicW, value); break;
    case ipropPicH: picture.SetSize(picture.PicH, value); break;
    case ipropPicScaleX: picture.SetScale(picture.PicScaleX, value); break;
    case ipropPicScaleY: picture.SetScale(picture.PicScaleY, value); break;
    case ipropWBMWidthBytes: picture.FWBMWidthBytes = value; break;
    case ipropPictureType:
      picture.SetPictureType(static_cast<TDVRTFPictureType>(std::clamp<int32_t>(value, 0, rtf_pict_DDB)));
      break;
    case ipropMetafile:
      picture.SetPictureType(rtf_pict_WMF);
      picture.FMetafileMapMode = GetMetafileMapMode(value);
      break;
    default: break;
  }
  return rtf_ec_OK;
}

TDVRTFErrorCode TDVRTFReader::PictureChar(uint8_t ch) {
  if (!picture_) return rtf_ec_OK;
  if (state_.ris == risBin) {
    picture_->Data.push_back(ch);
    return rtf_ec_OK;
  }
  const int digit = RTFHexDigit(ch);
  if (digit < 0) return rtf_ec_InvalidPicture;
  if (picHexStrt_) {
    picHexVal_ = static_cast<uint8_t>(digit << 4);
  } else {
    picture_->Data.push_back(static_cast<uint8_t>(picHexVal_ | digit));
  }
  picHexStrt_ = !picHexStrt_;
  return rtf_ec_OK;
}

TDVRTFErrorCode TDVRTFReader::EndPicture() {
  TDVRTFErrorCode ec = OutputChar(0, false, true);
  std::unique_ptr<TDVRTFPicture> picture = std::move(picture_);
  if (ec != rtf_ec_OK || fieldPictureIncluded_) return ec;
  if (!picture) return OnNewPicture ? rtf_ec_InvalidPicture : rtf_ec_OK;
  std::unique_ptr<TGraphic> graphic;
  try {
    graphic = picture->CreateGraphic();
  } catch (const std::exception&) {
    return rtf_ec_InvalidPicture;
  }
  if (graphic && DV_AfterImportGraphic) DV_AfterImportGraphic(*graphic);
  DoNewPicture(picture.get(), std::move(graphic));
  return rtf_ec_OK;
}

void TDVRTFReader::DoNewPicture(TDVRTFPicture* picture, std::unique_ptr<TGraphic> graphic) {
  if (!OnNewPicture) return;
  OnNewPicture(*this, picture, std::move(graphic), position_);
  position_ = rtf_ts_ContinuePara;
}

// ---- fields ----

void TDVRTFReader::InsertExternalPicture() {
  if (!OnNewPicture) return;
  const std::string code = TrimBlanks(fieldCode_);
  if (code.compare(0, 14, "INCLUDEPICTURE") != 0) return;
  const size_t open = code.find('"', 14);
  if (open == std::string::npos) return;
  const size_t close = code.find('"', open + 1);
  if (close == std::string::npos) return;
  std::string name = code.substr(open + 1, close - open - 1);
  if (name.empty()) return;
  for (size_t at; (at = name.find("\\\\")) != std::string::npos;) name.erase(at, 1);
  std::unique_ptr<TGraphic> graphic;
  try {
    graphic = LoadPictureFile(name);
    if (DV_AfterImportGraphic) DV_AfterImportGraphic(*graphic);
  } catch (const std::exception&) {
    // The field's result (normally the same picture embedded) is used instead.
    return;
  }
  DoNewPicture(nullptr, std::move(graphic));
  fieldPictureIncluded_ = true;
}

TDVRTFErrorCode TDVRTFReader::InsertSymbol() {
  const std::string code = TrimBlanks(fieldCode_);
  if (code.compare(0, 6, "SYMBOL") != 0 || code.size() < 8) return rtf_ec_OK;
  const std::string rest = code.substr(7);
  const size_t blank = rest.find(' ');
  if (blank == std::string::npos) return rtf_ec_OK;
  const std::string charCode = rest.substr(0, blank);
  const size_t fontSwitch = rest.find("\\f", blank);
  if (fontSwitch == std::string::npos) return rtf_ec_OK;
  const size_t nameStart = rest.find('"', fontSwitch + 2);
  const size_t nameEnd = nameStart == std::string::npos ? nameStart : rest.find('"', nameStart + 1);
  if (nameEnd == std::string::npos) return rtf_ec_OK;
  const std::string fontName = rest.substr(nameStart + 1, nameEnd - nameStart - 1);
  const size_t sizeSwitch = rest.find("\\s", nameEnd);
  if (sizeSwitch == std::string::npos) return rtf_ec_OK;
  size_t sizeStart = sizeSwitch + 2;
  while (sizeStart < rest.size() && rest[sizeStart] == ' ') ++sizeStart;
  const std::string size = rest.substr(sizeStart, rest.find(' ', sizeStart) - sizeStart);
  // A code or size that is no number ends the reading.
  const std::optional<int32_t> character = ParseInt32(charCode);
  if (!character) ThrowInvalidInteger(charCode);
  const std::optional<int32_t> points = ParseInt32(size);
  if (!points) ThrowInvalidInteger(size);
  TDVRTFCharProperties& chars = state_.CharProps;
  const int32_t oldSize = chars.Size;
  chars.FontName = fontName;
  chars.Size = std::clamp(*points, 1, 1638);
  TDVRTFErrorCode ec = OutputChar(static_cast<uint8_t>(*character), true, true);
  if (ec == rtf_ec_OK) ec = OutputChar(0, false, false);
  chars.Size = oldSize;
  chars.FontName.clear();
  return ec;
}

TDVRTFErrorCode TDVRTFReader::RequiredPageBreak() {
  if (!OnRequiredPageBreak) return rtf_ec_OK;
  const TDVRTFErrorCode ec = OutputChar(0, true, true);
  if (ec == rtf_ec_OK) OnRequiredPageBreak(*this);
  return ec;
}

}  // namespace quillet
