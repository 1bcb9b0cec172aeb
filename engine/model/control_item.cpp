#include "engine/model/control_item.h"

#include <algorithm>
#include <exception>

#include "engine/model/dv_data.h"
#include "engine/model/image_print_info.h"
#include "engine/stream/dvf_controls.h"
#include "engine/base/dvf_tokens.h"
#include "engine/style/style_sheet.h"
#include "platform/core/arith.h"
#include "platform/core/code_page.h"
#include "platform/core/control.h"
#include "platform/core/stream.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/graphic.h"

namespace quillet {

namespace {

bool ValidPercent(int32_t value) { return value >= 0 && value <= 100; }

// Tells the document dvcaAfterDVFSave when the save of the control's data
// ends, however it ends. An exception of the notice itself is passed on,
// unless one is on its way already.
class TAfterSaveNotice {
 public:
  TAfterSaveNotice(TCustomDVData& dvData, int itemNo, const TCustomDVItemInfo& item)
      : dvData_(dvData), itemNo_(itemNo), item_(item), exceptions_(std::uncaught_exceptions()) {}
  ~TAfterSaveNotice() noexcept(false) {
    if (std::uncaught_exceptions() == exceptions_) {
      dvData_.ControlAction(dvcaAfterDVFSave, itemNo_, &item_);
      return;
    }
    try {
      dvData_.ControlAction(dvcaAfterDVFSave, itemNo_, &item_);
    } catch (...) {
    }
  }
  TAfterSaveNotice(const TAfterSaveNotice&) = delete;
  TAfterSaveNotice& operator=(const TAfterSaveNotice&) = delete;

 private:
  TCustomDVData& dvData_;
  int itemNo_;
  const TCustomDVItemInfo& item_;
  int exceptions_;
};

}  // namespace

TDVControlItemInfo::TDVControlItemInfo(TCustomDVData* dvData) : TDVRectItemInfo(dvData) { StyleNo = dvsComponent; }

TDVControlItemInfo::TDVControlItemInfo(TCustomDVData* dvData, std::unique_ptr<TControl> control, TDVVAlign vAlign)
    : TDVControlItemInfo(dvData) {
  Control = std::move(control);
  VAlign = vAlign;
}

TDVControlItemInfo::~TDVControlItemInfo() = default;

bool TDVControlItemInfo::GetBoolValue(TDVItemBoolProperty prop) const {
  switch (prop) {
    case dvbpValid:
      return Control != nullptr;
    case dvbpDisplayActiveState:
    case dvbpImmediateControlOwner:
      return true;
    default:
      return TDVRectItemInfo::GetBoolValue(prop);
  }
}

bool TDVControlItemInfo::GetBoolValueEx(TDVItemBoolPropertyEx prop, TDVStyle* dvStyle) const {
  switch (prop) {
    case dvbpAllowsFocus:
      return Control && Control->Windowed() && Control->TabStop && Control->CanFocus();
    case dvbpXORFocus:
      return false;
    default:
      return TDVRectItemInfo::GetBoolValueEx(prop, dvStyle);
  }
}

int32_t TDVControlItemInfo::GetImageWidth(TDVStyle*) const { return Control ? Control->Width() : 0; }
int32_t TDVControlItemInfo::GetImageHeight(TDVStyle*) const { return Control ? Control->Height() : 0; }

int32_t TDVControlItemInfo::GetMinWidth(const TDVScreenAndDevice* sad, TCanvas* canvas, TCustomDVData* dvData) const {
  if (PercentWidth > 0 && PercentWidth <= 100) return TDVRectItemInfo::GetMinWidth(sad, canvas, dvData);
  const int32_t width = GetWidth();
  return sad && sad->ppixScreen != 0 ? MulDiv(width, sad->ppixDevice, sad->ppixScreen) : width;
}

void TDVControlItemInfo::Assign(const TCustomDVItemInfo& source) {
  if (const auto* item = dynamic_cast<const TDVControlItemInfo*>(&source)) {
    PercentWidth = item->PercentWidth;
    Control.reset();
    if (item->Control) {
      std::unique_ptr<TControl> copy = CreateControl(item->Control->ClassName());
      if (copy) {
        copy->LoadComponent(item->Control->SaveComponent());
        Control = std::move(copy);
      }
    }
  }
  TDVRectItemInfo::Assign(source);
}

std::unique_ptr<TDVDrawLineInfo> TDVControlItemInfo::CreatePrintingDrawItem(TCustomDVData* dvData,
                                                                           const TDVScreenAndDevice* sad) const {
  TDVStyle* dvStyle = dvData ? dvData->GetDVStyle() : nullptr;
  if (!sad || MinHeightOnPage <= 0 || !GetBoolValueEx(dvbpPrintToBMP, dvStyle))
    return TDVRectItemInfo::CreatePrintingDrawItem(dvData, sad);
  auto info = std::make_unique<TDVMultiImagePrintInfo>(*this, dvStyle, *sad);
  info->SetSize(sad->ppixScreen ? MulDiv(GetWidth(), sad->ppixDevice, sad->ppixScreen) : GetWidth(),
                sad->ppiyScreen ? MulDiv(GetHeight(), sad->ppiyDevice, sad->ppiyScreen) : GetHeight());
  return info;
}

// ---- life in a document ----

void TDVControlItemInfo::Inserting(TCustomDVData* dvData, std::string& text, bool safe) {
  if (Control) {
    Control->Hide();
    Control->SetParent(!safe && dvData ? dvData->GetParentControl() : nullptr);
  }
  TDVRectItemInfo::Inserting(dvData, text, safe);
}

void TDVControlItemInfo::AdjustInserted(int32_t x, int32_t y, bool) {
  if (!Control) return;
  Control->SetBounds(x + 1, y + 1, Control->Width(), Control->Height());
  Control->Show();
}

void TDVControlItemInfo::MovingToUndoList(int itemNo, TCustomDVData* dvData) {
  if (Control) Control->SetParent(nullptr);
  if (dvData) dvData->ControlAction(dvcaMoveToUndoList, itemNo, this);
  TDVRectItemInfo::MovingToUndoList(itemNo, dvData);
}

void TDVControlItemInfo::MovingFromUndoList(int itemNo, TCustomDVData* dvData) {
  if (!dvData) return;
  dvData->ControlAction(dvcaMoveFromUndoList, itemNo, this);
  if (Control) Control->SetParent(dvData->GetParentControl());
}

bool TDVControlItemInfo::OnDocWidthChange(int32_t docWidth, TDVDrawLineInfo*, bool, TCanvas&, TCustomDVData*,
                                          const TDVScreenAndDevice*, int32_t&) {
  if (!Control || PercentWidth < 1 || PercentWidth > 100) return false;
  Control->SetWidth(static_cast<int32_t>(int64_t{docWidth} * PercentWidth / 100 - 2));
  return true;
}

// ---- stream ----

int TDVControlItemInfo::GetDVFExtraPropertyCount() const {
  return TDVRectItemInfo::GetDVFExtraPropertyCount() + (MinHeightOnPage > 0) + (PercentWidth > 0);
}

void TDVControlItemInfo::SaveDVFExtraProperties(TStream& stream) const {
  TDVRectItemInfo::SaveDVFExtraProperties(stream);
  if (MinHeightOnPage > 0) DVFWriteLine(stream, "minheightonpage=" + std::to_string(MinHeightOnPage));
  if (PercentWidth > 0) DVFWriteLine(stream, "percentwidth=" + std::to_string(PercentWidth));
}

bool TDVControlItemInfo::SetExtraIntProperty(TDVExtraItemProperty prop, int32_t value) {
  switch (prop) {
    case dvepMinHeightOnPage:
      if (!ValidSize(value)) return false;
      MinHeightOnPage = value;
      return true;
    case dvepPercentWidth:
      if (!ValidPercent(value)) return false;
      PercentWidth = value;
      return true;
    default:
      return TDVRectItemInfo::SetExtraIntProperty(prop, value);
  }
}

bool TDVControlItemInfo::GetExtraIntProperty(TDVExtraItemProperty prop, int32_t& value) const {
  switch (prop) {
    case dvepMinHeightOnPage:
      value = MinHeightOnPage;
      return true;
    case dvepPercentWidth:
      value = PercentWidth;
      return true;
    default:
      return TDVRectItemInfo::GetExtraIntProperty(prop, value);
  }
}

void TDVControlItemInfo::SaveDVF(TStream& stream, TCustomDVData& dvData, int32_t paraNo, const std::string& name,
                                 const TDVMultiDrawItemPart*, bool forceSameAsPrev) const {
  const bool body = (dvData.GetDVFOptions() & dvfoSaveControlsBody) && Control;
  const int readType = WriteBodyRecordHead(stream, dvData, paraNo, name, forceSameAsPrev, body,
                                           body ? Control->ClassName() : std::string_view());
  if (readType == dvfrtNoBody) return;
  const int itemNo = dvData.GetItemNo(this);
  dvData.ControlAction(dvcaBeforeDVFSave, itemNo, this);
  TAfterSaveNotice after(dvData, itemNo, *this);
  if (readType == dvfrtBinary)
    DVFSaveControlBinary(stream, *Control);
  else
    DVFWriteLine(stream, DVFSaveControl(*Control));
}

bool TDVControlItemInfo::ReadDVFLine(std::string_view s, TCustomDVData* dvData, int readType, int lineNo,
                                     int lineCount, std::string& name, TDVFReadMode& readMode,
                                     TDVFReadState& readState) {
  TControl* parent = dvData ? dvData->GetParentControl() : nullptr;
  if (readType == dvfrtNoBody) {
    if (lineNo != 0) return SetExtraPropertyFromDVFStr(s);
    name = std::string(s);
    if (dvData) Control = dvData->DVFControlNeeded(name, Tag);
    if (Control) Control->SetParent(parent);
    return true;
  }
  if (lineCount < 3) return false;
  if (readType == dvfrtBinary && lineNo == lineCount - 2) readMode = rmBeforeBinary;
  if (lineNo == 0) {
    name = std::string(s);
    return true;
  }
  if (lineNo == 1) {
    Control = CreateControl(s);
    if (Control) {
      Control->SetParent(parent);
      return true;
    }
    if (dvData) dvData->SetDVFWarnings(dvData->GetDVFWarnings() | dvfwUnknownCtrls);
    if (!dvData || !(dvData->GetDVFOptions() & dvfoIgnoreUnknownCtrls)) return false;
    readState = rstSkip;
    return true;
  }
  if (lineNo < lineCount - 1) return SetExtraPropertyFromDVFStr(s);
  const bool loaded = readType == dvfrtBinary ? DVFLoadControlBinary(s, Control, {}, parent)
                                              : DVFLoadControl(s, Control, {}, parent);
  if (!loaded) {
    Control.reset();
    readState = rstSkip;
    if (dvData) dvData->SetDVFWarnings(dvData->GetDVFWarnings() | dvfwUnknownCtrls);
  }
  return true;
}

// ---- drawing ----

void TDVControlItemInfo::Paint(int32_t x, int32_t y, TCanvas& canvas, TDVItemDrawStates drawState,
                               const TDVStyle* dvStyle, const TDVDrawLineInfo*) const {
  PaintFrames(canvas, x, y, GetImageWidth(nullptr), GetImageHeight(nullptr), drawState, dvStyle);
}

bool TDVControlItemInfo::PrintToBitmap(TBitmap& bitmap, bool, TCustomDVData* dvData, const TDVDrawLineInfo* dli,
                                       int part) const {
  if (!Control || !dvData) return false;
  std::unique_ptr<TGraphic> image = dvData->DoPrintComponent(Control.get());
  if (!image) return false;
  const auto* split = dynamic_cast<const TDVMultiImagePrintInfo*>(dli);
  if (split && part >= 0 && part < split->PartCount()) {
    bitmap.Canvas().Draw(0, -split->Part(part).ImgTop, *image);
    return true;
  }
  if (bitmap.Width() < image->Width() || bitmap.Height() < image->Height())
    bitmap.SetSize(std::max(bitmap.Width(), image->Width()), std::max(bitmap.Height(), image->Height()));
  bitmap.Canvas().Draw((bitmap.Width() - image->Width()) / 2, (bitmap.Height() - image->Height()) / 2, *image);
  return true;
}

// ---- export ----

std::string TDVControlItemInfo::AsText(int, TCustomDVData* dvData, const std::string&, const std::string& path,
                                       bool, bool unicode) const {
  if (!dvData || !Control) return {};
  const std::string text = dvData->SaveComponentToFile(path, Control.get(), dvsfText);
  if (!unicode) return text;
  std::string units;
  for (char16_t unit : MultiByteToWideChar(CP_ACP, text)) {
    units += static_cast<char>(unit & 0xFF);
    units += static_cast<char>(unit >> 8);
  }
  return units;
}

void TDVControlItemInfo::SaveToHTML(TStream& stream, TCustomDVData& dvData, int, const std::string&,
                                    const std::string& path, const std::string&, int&, TColor, TDVSaveOptions, bool,
                                    TDVHTMLBullets&) const {
  if (!Control) return;
  const std::string html = dvData.SaveComponentToFile(path, Control.get(), dvsfHTML);
  if (!html.empty()) DVFWrite(stream, html);
}

void TDVControlItemInfo::SaveRTF(TStream& stream, TCustomDVData& dvData, int, const std::string&, double, int,
                                 TDVColorList&, TDVIntegerList&, TDVIntegerList&) const {
  if (!Control) return;
  const std::string rtf = dvData.SaveComponentToFile({}, Control.get(), dvsfRTF);
  if (!rtf.empty()) DVFWrite(stream, rtf);
}

}  // namespace quillet
