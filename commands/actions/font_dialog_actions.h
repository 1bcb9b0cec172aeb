#pragma once
// The font commands: TdvActionFonts asks the platform's font dialog and
// sets name, size, script, styles and colour on the selection;
// TdvActionFontEx fills the engine's font dialog with what every selected
// text has in common (the rest left undetermined) and applies only what the
// dialog gives back as defined.
#include <cstdint>

#include "commands/actions/style_actions.h"
#include "engine/style/text_style.h"
#include "platform/gfx/canvas.h"

namespace quillet {

// Bits of the font properties the selection has in common or the dialog set.
enum TDVFontInfoMainProperty : uint8_t {
  dvfimFontName, dvfimSize, dvfimCharset, dvfimBold, dvfimItalic, dvfimUnderline, dvfimStrikeout,
  dvfimOverline, dvfimAllCaps, dvfimVShift, dvfimColor, dvfimCharScale, dvfimCharSpacing
};
using TDVFontInfoMainProperties = uint16_t;
constexpr TDVFontInfoMainProperties DVFontMainProp(TDVFontInfoMainProperty p) {
  return static_cast<TDVFontInfoMainProperties>(1u << p);
}
constexpr TDVFontInfoMainProperties DVAllFontMainProperties = (1u << 13) - 1;

class TdvActionFonts : public TdvActionTextStyles {
 public:
  using TdvActionTextStyles::TdvActionTextStyles;
  TFont Font;
  bool UserInterface = true;

  // With the dialog: it opens on the caret's style; OK applies its font.
  void ExecuteTarget(TCustomControl* target) override;
  // Name, size, script, styles and colour of Font.
  void ApplyConversion(TFontInfo& style, int32_t userData) override;
};

class TdvActionFontEx : public TdvActionFonts {
 public:
  using TdvActionFonts::TdvActionFonts;
  TDVFontInfoMainProperties ValidProperties = 0;
  int32_t VShift = 0;
  int32_t CharScale = 100;
  TDVFontStyles StyleEx = 0;
  int32_t CharSpacing = 0;

  // With the dialog: gathers, asks, applies what came back defined.
  // Without it: applies the fields as they stand.
  void ExecuteTarget(TCustomControl* target) override;
  // Only the properties whose bit is set.
  void ApplyConversion(TFontInfo& style, int32_t userData) override;

  // The common properties of the selection of the editor's innermost open
  // cell editor into the fields and ValidProperties; the caret's style when
  // the selection holds no text.
  void Gather(TCustomDocViewEdit& editor);
  void IterateProc(TCustomDVData& dvData, int itemNo, int& data, TCustomDocViewEdit& editor) override;
  bool ContinueIteration(int& data) override;

 private:
  // Takes every property of style as the gathered one.
  void TakeFirst(const TFontInfo& style);
  bool Has(TDVFontInfoMainProperty p) const { return ValidProperties & DVFontMainProp(p); }
  void Drop(TDVFontInfoMainProperty p) { ValidProperties &= ~DVFontMainProp(p); }
  bool gathered_ = false;
};

// A style's font name as the dialogs show it (UTF-8), and a dialog's name as
// the document keeps it: in the system code page when it can hold it, so a
// name read from a document and left alone goes back byte for byte.
std::string DialogFontName(const std::string& name);
std::string DocumentFontName(const std::string& utf8);

}  // namespace quillet
