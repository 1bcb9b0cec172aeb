#pragma once
// Toggle commands of text styles: bold, italic, underline, strike-out,
// overline and all capitals. Each shows as checked when the style at the
// caret has its bit, and removes the bit from every selected style when
// checked, else adds it, so a mixed selection ends up all one way.
#include "commands/actions/style_actions.h"
#include "engine/style/text_style.h"

namespace quillet {

class TdvActionFontStyle : public TdvActionTextStyles {
 public:
  explicit TdvActionFontStyle(QObject* owner = nullptr, TFontStyles fontStyle = 0);
  TFontStyles FontStyle;

  // Enabled with a style sheet; checked when the caret's style has the bit.
  void UpdateTarget(TCustomControl* target) override;
  void ExecuteTarget(TCustomControl* target) override;
  void ApplyConversion(TFontInfo& style, int32_t userData) override;

 protected:
  // The bit of the style's set this command toggles.
  virtual bool HasBit(const TFontInfo& style) const { return style.Style & FontStyle; }
  virtual void SetBit(TFontInfo& style, bool on) const;
};

class TdvActionFontBold : public TdvActionFontStyle {
 public:
  explicit TdvActionFontBold(QObject* owner = nullptr) : TdvActionFontStyle(owner, fsBold) {}
};
class TdvActionFontItalic : public TdvActionFontStyle {
 public:
  explicit TdvActionFontItalic(QObject* owner = nullptr) : TdvActionFontStyle(owner, fsItalic) {}
};
class TdvActionFontUnderline : public TdvActionFontStyle {
 public:
  explicit TdvActionFontUnderline(QObject* owner = nullptr) : TdvActionFontStyle(owner, fsUnderline) {}
};
class TdvActionFontStrikeout : public TdvActionFontStyle {
 public:
  explicit TdvActionFontStrikeout(QObject* owner = nullptr) : TdvActionFontStyle(owner, fsStrikeOut) {}
};

// The same over the engine's own effects (StyleEx).
class TdvActionFontStyleEx : public TdvActionFontStyle {
 public:
  explicit TdvActionFontStyleEx(QObject* owner = nullptr, TDVFontStyles styleEx = 0)
      : TdvActionFontStyle(owner), StyleEx(styleEx) {}
  TDVFontStyles StyleEx;

 protected:
  bool HasBit(const TFontInfo& style) const override { return style.StyleEx & StyleEx; }
  void SetBit(TFontInfo& style, bool on) const override;
};

class TdvActionFontOverline : public TdvActionFontStyleEx {
 public:
  explicit TdvActionFontOverline(QObject* owner = nullptr) : TdvActionFontStyleEx(owner, dvfsOverline) {}
};
class TdvActionFontAllCaps : public TdvActionFontStyleEx {
 public:
  explicit TdvActionFontAllCaps(QObject* owner = nullptr) : TdvActionFontStyleEx(owner, dvfsAllCaps) {}
};

}  // namespace quillet
