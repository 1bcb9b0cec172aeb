#pragma once
// Paragraph commands of the tool bar: alignment, word wrap, line spacing
// and indent steps. Alignment, wrap and spacing show as checked when the
// caret's paragraph has their value.
#include "commands/actions/style_actions.h"
#include "engine/style/para_style.h"

namespace quillet {

// Checkable paragraph commands: Checked follows the caret's paragraph.
class TdvActionParaState : public TdvActionParaStyles {
 public:
  explicit TdvActionParaState(QObject* owner = nullptr);
  void UpdateTarget(TCustomControl* target) override;
  void ExecuteTarget(TCustomControl* target) override;

 protected:
  virtual bool IsChecked(const TParaInfo& style) const = 0;
};

class TdvActionAlignment : public TdvActionParaState {
 public:
  explicit TdvActionAlignment(QObject* owner = nullptr, TDVAlignment alignment = dvaLeft)
      : TdvActionParaState(owner), Alignment(alignment) {}
  TDVAlignment Alignment;
  void ApplyConversion(TParaInfo& style, int32_t userData) override;

 protected:
  bool IsChecked(const TParaInfo& style) const override { return style.Alignment == Alignment; }
};

class TdvActionAlignLeft : public TdvActionAlignment {
 public:
  explicit TdvActionAlignLeft(QObject* owner = nullptr) : TdvActionAlignment(owner, dvaLeft) {}
};
class TdvActionAlignCenter : public TdvActionAlignment {
 public:
  explicit TdvActionAlignCenter(QObject* owner = nullptr) : TdvActionAlignment(owner, dvaCenter) {}
};
class TdvActionAlignRight : public TdvActionAlignment {
 public:
  explicit TdvActionAlignRight(QObject* owner = nullptr) : TdvActionAlignment(owner, dvaRight) {}
};
class TdvActionAlignJustify : public TdvActionAlignment {
 public:
  explicit TdvActionAlignJustify(QObject* owner = nullptr) : TdvActionAlignment(owner, dvaJustify) {}
};

// Checked while the caret's paragraph wraps; toggles dvpaoNoWrap.
class TdvActionWordWrap : public TdvActionParaState {
 public:
  using TdvActionParaState::TdvActionParaState;
  void ApplyConversion(TParaInfo& style, int32_t userData) override;

 protected:
  bool IsChecked(const TParaInfo& style) const override { return !(style.Options & dvpaoNoWrap); }
};

// Line spacing in per cent of single spacing.
class TdvActionLineSpacing : public TdvActionParaState {
 public:
  explicit TdvActionLineSpacing(QObject* owner = nullptr, int32_t lineSpacing = 100)
      : TdvActionParaState(owner), LineSpacing(lineSpacing) {}
  int32_t LineSpacing;
  void ApplyConversion(TParaInfo& style, int32_t userData) override;

 protected:
  bool IsChecked(const TParaInfo& style) const override {
    return style.LineSpacing == LineSpacing && style.LineSpacingType == dvlsPercent;
  }
};

class TdvActionLineSpacing100 : public TdvActionLineSpacing {
 public:
  explicit TdvActionLineSpacing100(QObject* owner = nullptr) : TdvActionLineSpacing(owner, 100) {}
};
class TdvActionLineSpacing150 : public TdvActionLineSpacing {
 public:
  explicit TdvActionLineSpacing150(QObject* owner = nullptr) : TdvActionLineSpacing(owner, 150) {}
};
class TdvActionLineSpacing200 : public TdvActionLineSpacing {
 public:
  explicit TdvActionLineSpacing200(QObject* owner = nullptr) : TdvActionLineSpacing(owner, 200) {}
};

// Indent steps; the conversion's UserData is the editor's left margin.
class TdvActionIndent : public TdvActionParaStyles {
 public:
  using TdvActionParaStyles::TdvActionParaStyles;
  int32_t IndentStep = 20;  // pixels
  void ExecuteTarget(TCustomControl* target) override;
};

class TdvActionIndentInc : public TdvActionIndent {
 public:
  using TdvActionIndent::TdvActionIndent;
  int32_t IndentMax = 200;
  void ApplyConversion(TParaInfo& style, int32_t leftMargin) override;
};

class TdvActionIndentDec : public TdvActionIndent {
 public:
  using TdvActionIndent::TdvActionIndent;
  void ApplyConversion(TParaInfo& style, int32_t leftMargin) override;
};

// Raises the indents and the spaces before and after so that the text
// clears the paragraph's border; nothing without a border.
void CoverParaBorder(TParaInfo& style);

}  // namespace quillet
