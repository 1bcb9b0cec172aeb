#pragma once
// The paragraph dialog command and the paragraph border command: both fill
// their dialog with what every selected paragraph has in common (the rest
// left undetermined) and apply only what the dialog gives back as defined,
// then raise the indents and spaces so that the text clears a border. The
// paragraph command also keeps a default line spacing in "LineSpace.ini".
#include <cstdint>

#include "commands/actions/style_actions.h"
#include "engine/style/border.h"
#include "engine/style/para_style.h"

namespace quillet {

enum TDVParaInfoMainProperty : uint8_t {
  dvpimFirstIndent, dvpimLeftIndent, dvpimRightIndent, dvpimSpaceBefore, dvpimSpaceAfter, dvpimAlignment,
  dvpimLineSpacing
};
using TDVParaInfoMainProperties = uint8_t;
constexpr TDVParaInfoMainProperties DVAllParaMainProperties = (1u << 7) - 1;

enum TDVParaInfoBorderProperty : uint8_t {
  dvpibBackground_Color, dvpibBackground_BO_Left, dvpibBackground_BO_Top, dvpibBackground_BO_Right,
  dvpibBackground_BO_Bottom, dvpibBorder_Color, dvpibBorder_Style, dvpibBorder_Width, dvpibBorder_InternalWidth,
  dvpibBorder_BO_Left, dvpibBorder_BO_Top, dvpibBorder_BO_Right, dvpibBorder_BO_Bottom, dvpibBorder_Vis_Left,
  dvpibBorder_Vis_Top, dvpibBorder_Vis_Right, dvpibBorder_Vis_Bottom
};
using TDVParaInfoBorderProperties = uint32_t;
constexpr TDVParaInfoBorderProperties DVAllParaBorderProperties = (1u << 17) - 1;

// The settings file, section and key of the default line spacing, and the
// range a stored value must lie in to be taken.
inline constexpr const char* kLineSpaceFile = "LineSpace.ini";
inline constexpr int32_t kLeastDefaultSpacing = 100, kGreatestDefaultSpacing = 10000;

class TdvActionParagraph : public TdvActionParaStyles {
 public:
  using TdvActionParaStyles::TdvActionParaStyles;
  TDVParaInfoMainProperties ValidProperties = 0;
  TDVAlignment Alignment = dvaLeft;
  int32_t LineSpacing = 100;
  int32_t SpaceBefore = 0, LeftIndent = 0, FirstIndent = 0, RightIndent = 0, SpaceAfter = 0;
  bool UserInterface = true;

  void ExecuteTarget(TCustomControl* target) override;
  void ApplyConversion(TParaInfo& style, int32_t userData) override;

  // The common properties of the selected paragraphs into the fields; the
  // caret's paragraph when the walk meets none.
  void Gather(TCustomDocViewEdit& editor);
  void IterateProc(TCustomDVData& dvData, int itemNo, int& data, TCustomDocViewEdit& editor) override;
  bool ContinueIteration(int&) override { return ValidProperties != 0; }

 private:
  void TakeFirst(const TParaInfo& style);
  bool Has(TDVParaInfoMainProperty p) const { return ValidProperties & (1u << p); }
  bool gathered_ = false;
};

class TdvActionParaBorder : public TdvActionParaStyles {
 public:
  using TdvActionParaStyles::TdvActionParaStyles;
  bool UserInterface = true;
  TDVBorder Border;
  TDVBackgroundRect Background;
  TDVParaInfoBorderProperties ValidProperties = 0;

  void ExecuteTarget(TCustomControl* target) override;
  void ApplyConversion(TParaInfo& style, int32_t userData) override;

  void Gather(TCustomDocViewEdit& editor);
  void IterateProc(TCustomDVData& dvData, int itemNo, int& data, TCustomDocViewEdit& editor) override;
  bool ContinueIteration(int&) override { return ValidProperties != 0; }

 private:
  void TakeFirst(const TParaInfo& style);
  bool Has(TDVParaInfoBorderProperty p) const { return ValidProperties & (1u << p); }
  bool gathered_ = false;
};

}  // namespace quillet
