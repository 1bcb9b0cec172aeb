#pragma once
// The dialogs' samples: a viewer over its own style sheet, whose styles name
// their fonts by role, laid out again whenever a dialog changed a style.
// The font and border samples hold one table of one cell that fills the
// viewer's height, so the sample sits in the middle; the font sample also
// draws a line at each text run's baseline.
#include <cstdint>
#include <memory>
#include <string_view>

#include "commands/font_roles.h"
#include "platform/core/colors.h"

class QWidget;

namespace quillet {

class TDocView;
class TDVStyle;
class TDVTableItemInfo;
class TFontInfo;
class TParaInfo;
class TCustomDVData;

class TDialogPreview {
 public:
  // A viewer of the given size in parent, with an empty style sheet.
  TDialogPreview(QWidget* parent, int32_t width, int32_t height);
  ~TDialogPreview();
  TDialogPreview(const TDialogPreview&) = delete;
  TDialogPreview& operator=(const TDialogPreview&) = delete;

  TDocView& View() const { return *view_; }
  TDVStyle& Style() const { return *style_; }

  // Appended to the sheet: a Unicode text style in the role's family, and a
  // paragraph style with the engine's defaults.
  TFontInfo& AddTextStyle(std::string_view name, TFontRole role, int32_t size, TColor color);
  TParaInfo& AddParaStyle(std::string_view name);

  // Makes a table of one vertically centred cell the viewer's only item, in
  // paragraph style paraNo: no padding, no spacing, the cell as high as the
  // viewer less heightLess. Text added afterwards goes into the cell.
  TDVTableItemInfo& AddCellTable(int32_t paraNo, int32_t heightLess);
  TDVTableItemInfo* Table() const { return table_; }

  // UTF-8 text appended where the sample's text goes: paraNo -1 continues
  // the paragraph; AddLine starts a line within it.
  void AddText(std::string_view utf8, int32_t styleNo, int32_t paraNo);
  void AddLine(std::string_view utf8, int32_t styleNo);
  // Empties where the sample's text goes.
  void ClearText();

  // Lays the sample out again after its styles or text changed.
  void Reformat();

  // A one-pixel line in the run's colour across the viewer at every text
  // run's baseline, drawn through the sheet's text-drawing hook.
  void DrawBaselines();

 private:
  TCustomDVData& TextData() const;

  std::unique_ptr<TDVStyle> style_;
  std::unique_ptr<TDocView> view_;
  TDVTableItemInfo* table_ = nullptr;  // owned by the viewer's document
};

}  // namespace quillet
