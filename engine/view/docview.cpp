#include "engine/view/docview.h"

#include <exception>

#include "engine/stream/layout_info.h"
#include "engine/style/style_sheet.h"
#include "platform/core/code_page.h"
#include "platform/gfx/canvas.h"

namespace quillet {

namespace {

constexpr uint32_t kScrollTimerPeriod = 100;

// The autoscroll step for a coordinate past the window's edge: one unit
// within 20 pixels, ten beyond.
int32_t ScrollStep(int32_t v, int32_t size) {
  if (v < -20) return -10;
  if (v < 0) return -1;
  if (int64_t{v} > int64_t{size} + 20) return 10;
  if (v <= size) return 0;
  return 1;
}

}  // namespace

TCustomDocView::TCustomDocView(QWidget* parent)
    : TCustomDocView(parent, [](TCustomDocView& view) { return std::make_unique<TDocViewDVData>(view); }) {}

TCustomDocView::TCustomDocView(QWidget* parent,
                               const std::function<std::unique_ptr<TDocViewDVData>(TCustomDocView&)>& makeData) {
  data_ = makeData(*this);
  SetBorderStyle(bsSingle);
  SetParentWidget(parent);
  SetBounds(0, 0, 100, 40);
}

TCustomDocView::~TCustomDocView() {
  destroying_ = true;
  DeactivateScrollTimer();
  data_->Clear();
  data_.reset();
}

TColor TCustomDocView::GetColor() const {
  if (Color != clNone) return Color;
  return style_ ? style_->Color : clWindow;
}

void TCustomDocView::SetStyle(TDVStyle* value) {
  style_ = value;
  data_->SetDVStyle(value);
  if (Options() & dvoFormatInvalidate) Invalidate();
}

void TCustomDocView::SetAllowSelection(bool value) {
  SetOptions(value ? Options() | dvoAllowSelection : Options() & ~TDVOptions{dvoAllowSelection});
}

void TCustomDocView::SetSingleClick(bool value) {
  SetOptions(value ? Options() | dvoSingleClick : Options() & ~TDVOptions{dvoSingleClick});
}

void TCustomDocView::DoOnBackBitmapChange() {
  if (data_->State & dvstChangingBkPalette) return;
  FullRedraw = background_.ScrollRequiresFullRedraw();
  background_.UpdatePaletted(DoInPaletteMode(), GetPalette());
  if (Options() & dvoFormatInvalidate) Invalidate();
}

void TCustomDocView::UpdatePaletteInfo() {
  for (int i = 0; i < data_->ItemCount(); ++i) data_->GetItem(i)->UpdatePaletteInfo(DoInPaletteMode(), false);
  background_.UpdatePaletted(DoInPaletteMode(), GetPalette());
  Invalidate();
}

const TDVBackground* TCustomDocView::PrintSourceBackground() const {
  return background_.Style == bsNoBitmap ? nullptr : &background_;
}

void TCustomDocView::SetVSmallStep(int32_t value) {
  if (value <= 0 || data_->DocumentHeight / value >= 32001) return;
  TDVScroller::SetVSmallStep(value);
}

void TCustomDocView::SetBiDiModeDV(TDVBiDiMode value) {
  if (value == BiDiMode()) return;
  TDVScroller::SetBiDiModeDV(value);
  data_->SetBiDiMode(value);
  Format();
}

TDVRTFReaderProperties* TCustomDocView::GetRTFReadProperties() const {
  if (!rtfReadProperties_) rtfReadProperties_ = CreateRTFReaderProperties();
  return rtfReadProperties_.get();
}

void TCustomDocView::SetRTFReadProperties(const TDVRTFReaderProperties* value) {
  if (!value) {
    rtfReadProperties_.reset();
  } else if (TDVRTFReaderProperties* own = GetRTFReadProperties()) {
    own->Assign(*value);
  }
}

// ---- formatting ----

void TCustomDocView::Format_(bool onlyResized, bool forceFormat, bool noScroll, TCanvas& canvas) {
  if (!style_) return;
  data_->Format_(onlyResized, forceFormat, noScroll, 0, canvas, false);
}

void TCustomDocView::Format() {
  Format_(false, true, false, Canvas());
  if (Options() & dvoFormatInvalidate) Invalidate();
}

void TCustomDocView::Resize() { Format_(true, false, false, Canvas()); }

void TCustomDocView::Clear() {
  ClearTemporal();
  data_->Clear();
}

void TCustomDocView::ClearTemporal() {
  DeactivateScrollTimer();
  data_->ClearTemporal();
}

void TCustomDocView::ClearSoftPageBreaks() {
  data_->FSoftPageBreaks.reset();
  Invalidate();
}

// ---- painting ----

void TCustomDocView::Paint(TCanvas& canvas) {
  if (!style_) {
    PaintInfoBox(canvas, "Style is not defined\rCreate a TDVStyle object and assign it to " + Name + ".Style");
    return;
  }
  // A failure here is shown in the window like one of the document's own.
  try {
    data_->PaintBuffered(canvas);
    if (OnPaint) OnPaint(*this, canvas, false);
    data_->PaintXorFeedback(canvas);
  } catch (const std::exception& e) {
    DrawPaintError(canvas, e.what());
  } catch (...) {
    DrawPaintError(canvas, {});
  }
}

void TCustomDocView::PaintInfoBox(TCanvas& canvas, const std::string& text) {
  const TRect client = ClientRect();
  canvas.Brush() = TBrush{ColorToRGB(GetColor()), bsSolid};
  canvas.FillRect(client);
  canvas.Font().Name = "MS Sans Serif";
  canvas.Font().SetSize(8);
  canvas.Font().Style = 0;
  canvas.Font().Color = clWindowText;
  canvas.Brush().Style = bsClear;
  const int32_t lineHeight = canvas.TextExtentW(u"M").cy + 2;
  int32_t y = 2;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = text.find('\r', start);
    const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    canvas.TextOutW(4, y, Utf8ToUtf16(line));
    y += lineHeight;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  canvas.Pen().Color = clWindowText;
  canvas.Rectangle(client);
}

// ---- mouse ----

void TCustomDocView::ActivateScrollTimer() {
  if (!ScrollTimerActive()) SetTimer(kScrollTimerId, kScrollTimerPeriod);
}

void TCustomDocView::DeactivateScrollTimer() {
  KillTimer(kScrollTimerId);
  VScrollDelta = HScrollDelta = 0;
}

void TCustomDocView::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  lastMouse_ = TPoint{x, y};
  lastMouseKnown_ = true;
  if (pendingDblClick_) {
    // The second press of a double click: the word under it first, then the
    // press (which the word selection tells to leave the selection alone).
    pendingDblClick_ = false;
    data_->DblClick(x, y);
    if (OnDblClick) OnDblClick(*this);
  }
  // A click gives the focus without moving it among the items.
  if (!data_->GetInplaceEditor() && !Focused()) {
    data_->State |= dvstDoNotTab;
    SetFocus();
  }
  data_->MouseDown(button, shift, x, y);
  if (button == mbLeft) ActivateScrollTimer();
}

void TCustomDocView::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  lastMouse_ = TPoint{x, y};
  lastMouseKnown_ = true;
  VScrollDelta = ScrollStep(y, ClientHeight());
  HScrollDelta = ScrollStep(x, ClientWidth());
  data_->MouseMove(shift, x, y);
}

void TCustomDocView::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  lastMouse_ = TPoint{x, y};
  if (button == mbLeft) DeactivateScrollTimer();
  data_->MouseUp(button, shift, x, y);
}

void TCustomDocView::DblClick() { pendingDblClick_ = true; }

void TCustomDocView::MouseLeave() {
  if (!HasCapture()) lastMouseKnown_ = false;
  data_->MouseLeave();
}

void TCustomDocView::WMTimer(uint32_t id) {
  if (id != kScrollTimerId) return;
  // A release that never reached the window (the capture went elsewhere)
  // ends the autoscroll too.
  if (!HasCapture()) {
    DeactivateScrollTimer();
    return;
  }
  if (VScrollDelta == 0 && HScrollDelta == 0) return;
  SetVScrollPos(static_cast<int32_t>(std::clamp<int64_t>(int64_t{VPos()} + VScrollDelta, INT32_MIN, INT32_MAX)));
  SetHPos(static_cast<int32_t>(std::clamp<int64_t>(int64_t{HPos()} + HScrollDelta, INT32_MIN, INT32_MAX)));
  GenerateMouseMove();
}

void TCustomDocView::GenerateMouseMove() {
  // The last position the mouse reported, inside the window or, while a
  // button holds the capture, outside it: a pointer held still past the
  // edge keeps the selection following what scrolls in.
  if (!lastMouseKnown_) return;
  const bool inside = lastMouse_.X >= 0 && lastMouse_.X < ClientWidth() && lastMouse_.Y >= 0 &&
                      lastMouse_.Y < ClientHeight();
  if (!inside && !HasCapture()) return;
  data_->MouseMove(GetShiftState(), lastMouse_.X, lastMouse_.Y);
}

void TCustomDocView::AfterVScroll() {
  TDVScroller::AfterVScroll();
  GenerateMouseMove();
  data_->AfterVScroll();
}

void TCustomDocView::AfterHScroll() {
  TDVScroller::AfterHScroll();
  GenerateMouseMove();
}

// ---- keys and focus ----

bool TCustomDocView::IsCopyShortcut(TShiftState shift, TKey key) {
  return (shift & ssCtrl) && !(shift & ssAlt) && (key == 'C' || key == VK_INSERT);
}

bool TCustomDocView::IsCutShortcut(TShiftState shift, TKey key) {
  return ((shift & ssCtrl) && !(shift & ssAlt) && key == 'X') || ((shift & ssShift) && key == VK_DELETE);
}

bool TCustomDocView::IsPasteShortcut(TShiftState shift, TKey key) {
  return ((shift & ssCtrl) && !(shift & ssAlt) && key == 'V') || ((shift & ssShift) && key == VK_INSERT);
}

void TCustomDocView::KeyDown(TKey& key, TShiftState shift) {
  TDVScroller::KeyDown(key, shift);
  const TDVTabNavigationType navigation = TabNavigation();
  if (key == VK_TAB && !(shift & ssAlt) &&
      ((navigation == dvtnTab && !(shift & ssCtrl)) || (navigation == dvtnCtrlTab && (shift & ssCtrl)))) {
    data_->State &= ~dvstDoNotTab;
    data_->DoTabNavigation((shift & ssShift) != 0, TDVFocusOrigin{true, false, false, nullptr});
    key = 0;
  } else if (key == VK_RETURN && data_->TopLevelFocusedItemNo >= 0) {
    data_->ExecuteFocused();
    key = 0;
  } else if (IsCopyShortcut(shift, key)) {
    CopyDef();
    key = 0;
  }
}

void TCustomDocView::Copy() { data_->Copy(GetColor(), &background_); }

bool TCustomDocView::CopyDef() { return data_->CopyDef(GetColor(), &background_); }

TDlgCodes TCustomDocView::WMGetDlgCode() {
  TDlgCodes codes = DLGC_WANTARROWS;
  if (TabNavigation() != dvtnNone) {
    codes |= DLGC_WANTTAB;
    if (data_->TopLevelFocusedDVData) codes |= DLGC_WANTALLKEYS;
  }
  return codes;
}

void TCustomDocView::WMSetFocus(TFocusReason reason) {
  TDVScroller::WMSetFocus(reason);
  if (TabNavigation() != dvtnNone) {
    TDVFocusOrigin origin;
    if (reason == frTab || reason == frBacktab) {
      origin.Given = true;
      origin.FromOutside = true;
    } else {
      data_->State |= dvstDoNotTab;  // from no window: a click, the window activated
    }
    data_->DoTabNavigation(reason == frBacktab, origin);
  }
  if (style_ && (style_->InactiveSelColor != style_->SelColor || style_->InactiveSelTextColor != style_->SelTextColor))
    Invalidate();
}

void TCustomDocView::WMKillFocus(TFocusReason reason) {
  TDVScroller::WMKillFocus(reason);
  // No autoscroll without the focus: the drag that drove it is over.
  DeactivateScrollTimer();
  if (style_ && (style_->InactiveSelColor != style_->SelColor || style_->InactiveSelTextColor != style_->SelTextColor))
    Invalidate();
}

// ---- load and save ----

TDVLayoutInfo TCustomDocView::CreateLayoutInfo() const {
  TDVLayoutInfo layout;
  layout.LeftMargin = LeftMargin;
  layout.RightMargin = RightMargin;
  layout.TopMargin = TopMargin;
  layout.BottomMargin = BottomMargin;
  layout.MinTextWidth = MinTextWidth;
  layout.MaxTextWidth = MaxTextWidth;
  layout.BiDiMode = BiDiMode();
  return layout;
}

void TCustomDocView::ApplyLayoutInfo(const TDVLayoutInfo& layout) {
  LeftMargin = layout.LeftMargin;
  RightMargin = layout.RightMargin;
  TopMargin = layout.TopMargin;
  BottomMargin = layout.BottomMargin;
  MinTextWidth = layout.MinTextWidth;
  MaxTextWidth = layout.MaxTextWidth;
  TDVScroller::SetBiDiModeDV(layout.BiDiMode);
  data_->SetBiDiMode(layout.BiDiMode);
}

bool TCustomDocView::AfterLoad(bool ok, const TDVLayoutInfo& layout) {
  if (ok && layout.Loaded) ApplyLayoutInfo(layout);
  return ok;
}

bool TCustomDocView::LoadDVF(const std::string& fileName) {
  TDVLayoutInfo layout;
  return AfterLoad(data_->LoadDVF(fileName, Color, &background_, &layout), layout);
}

bool TCustomDocView::LoadDVFFromStream(TStream& stream) {
  TDVLayoutInfo layout;
  return AfterLoad(data_->LoadDVFFromStream(stream, Color, &background_, &layout), layout);
}

bool TCustomDocView::InsertDVFFromStream(TStream& stream, int index) {
  return data_->InsertDVFFromStream(stream, index, Color, nullptr, nullptr, false);
}

bool TCustomDocView::SaveDVF(const std::string& fileName, bool selectionOnly) {
  const TDVLayoutInfo layout = CreateLayoutInfo();
  return data_->SaveDVF(fileName, selectionOnly, GetColor(), &background_, &layout);
}

bool TCustomDocView::SaveDVFToStream(TStream& stream, bool selectionOnly) {
  const TDVLayoutInfo layout = CreateLayoutInfo();
  return data_->SaveDVFToStream(stream, selectionOnly, GetColor(), &background_, &layout);
}

bool TCustomDocView::SaveRTF(const std::string& fileName, bool selectionOnly) {
  return data_->SaveRTF(fileName, selectionOnly, GetColor(), &background_);
}

bool TCustomDocView::SaveRTFToStream(TStream& stream, bool selectionOnly) {
  return data_->SaveRTFToStream(stream, selectionOnly, GetColor(), &background_);
}

bool TCustomDocView::LoadRTF(const std::string& fileName) { return data_->LoadRTF(fileName) == rtf_ec_OK; }

bool TCustomDocView::LoadRTFFromStream(TStream& stream) { return data_->LoadRTFFromStream(stream) == rtf_ec_OK; }

bool TCustomDocView::SaveHTML(const std::string& fileName, const std::string& title, const std::string& imagesPrefix,
                              TDVSaveOptions options) {
  const TDVHTMLMargins margins{LeftMargin, TopMargin, RightMargin, BottomMargin};
  return data_->SaveHTML(fileName, title, imagesPrefix, options, GetColor(), &background_, margins);
}

bool TCustomDocView::SaveHTMLEx(const std::string& fileName, const std::string& title,
                                const std::string& imagesPrefix, const std::string& extraStyles,
                                const std::string& externalCSS, TDVSaveOptions options) {
  const TDVHTMLMargins margins{LeftMargin, TopMargin, RightMargin, BottomMargin};
  return data_->SaveHTMLEx(fileName, title, imagesPrefix, extraStyles, externalCSS, options, GetColor(),
                           &background_, margins);
}

bool TCustomDocView::LoadText(const std::string& fileName, int32_t styleNo, int32_t paraNo, bool asSingleParagraph) {
  return data_->LoadText(fileName, styleNo, paraNo, asSingleParagraph);
}

bool TCustomDocView::LoadTextW(const std::string& fileName, int32_t styleNo, int32_t paraNo,
                               bool defAsSingleParagraph) {
  return data_->LoadTextW(fileName, styleNo, paraNo, defAsSingleParagraph);
}

bool TCustomDocView::SaveText(const std::string& fileName, int lineWidth) {
  return data_->SaveText(fileName, lineWidth, false);
}

bool TCustomDocView::SaveTextW(const std::string& fileName, int lineWidth) {
  return data_->SaveText(fileName, lineWidth, true);
}

bool TCustomDocView::SaveTextToStream(const std::string& path, TStream& stream, int lineWidth, bool selectionOnly,
                                      bool textOnly) {
  return data_->SaveTextToStream(path, stream, lineWidth, selectionOnly, textOnly, false);
}

void TCustomDocView::AssignEvents(const TCustomDocView& source) {
  OnJump = source.OnJump;
  OnDVMouseMove = source.OnDVMouseMove;
  OnSaveComponentToFile = source.OnSaveComponentToFile;
  OnURLNeeded = source.OnURLNeeded;
  OnDVDblClick = source.OnDVDblClick;
  OnDVRightClick = source.OnDVRightClick;
  OnDVMouseUp = source.OnDVMouseUp;
  OnDVMouseDown = source.OnDVMouseDown;
  OnControlAction = source.OnControlAction;
  OnItemAction = source.OnItemAction;
  OnDVFPictureNeeded = source.OnDVFPictureNeeded;
  OnDVFControlNeeded = source.OnDVFControlNeeded;
  OnDVFImageListNeeded = source.OnDVFImageListNeeded;
  OnCheckpointVisible = source.OnCheckpointVisible;
  OnCopy = source.OnCopy;
  OnHTMLSaveImage = source.OnHTMLSaveImage;
  OnSaveRTFExtra = source.OnSaveRTFExtra;
  OnSaveHTMLExtra = source.OnSaveHTMLExtra;
  OnPaint = source.OnPaint;
  OnSelect = source.OnSelect;
  OnDblClick = source.OnDblClick;
  OnVScrolled = source.OnVScrolled;
  OnHScrolled = source.OnHScrolled;
}

}  // namespace quillet
