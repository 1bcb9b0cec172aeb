#pragma once
// Font size steps: by a per cent of the size or by one point, within a
// least and a greatest size. Sizes below 1 are the engine's negative
// sizes; a step moves them away from or towards zero the same way.
#include "commands/actions/style_actions.h"

namespace quillet {

class TdvActionFontShrinkGrow : public TdvActionTextStyles {
 public:
  using TdvActionTextStyles::TdvActionTextStyles;
  int32_t Percent = 10;
};

class TdvActionFontShrink : public TdvActionFontShrinkGrow {
 public:
  using TdvActionFontShrinkGrow::TdvActionFontShrinkGrow;
  int32_t MinSize = 1;
  void ApplyConversion(TFontInfo& style, int32_t userData) override;
};

class TdvActionFontGrow : public TdvActionFontShrinkGrow {
 public:
  using TdvActionFontShrinkGrow::TdvActionFontShrinkGrow;
  int32_t MaxSize = 100;
  void ApplyConversion(TFontInfo& style, int32_t userData) override;
};

class TdvActionFontShrinkOnePoint : public TdvActionTextStyles {
 public:
  using TdvActionTextStyles::TdvActionTextStyles;
  int32_t MinSize = 1;
  void ApplyConversion(TFontInfo& style, int32_t userData) override;
};

class TdvActionFontGrowOnePoint : public TdvActionTextStyles {
 public:
  using TdvActionTextStyles::TdvActionTextStyles;
  int32_t MaxSize = 100;
  void ApplyConversion(TFontInfo& style, int32_t userData) override;
};

}  // namespace quillet
