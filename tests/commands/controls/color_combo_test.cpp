// The colour combo offscreen: its face as drawn, the popup it drops down,
// the choice coming back, and the colour dialog it refers to.
#include "commands/controls/color_combo.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QToolButton>

#include "color_test_support.h"
#include "commands/controls/color_palette.h"
#include "commands/controls/color_popup.h"
#include "render_support.h"

namespace quillet::test {
namespace {

struct ComboFixture {
  ComboFixture() : shown(combo) {
    combo.SetColorDialog(&dialog);
    combo.OnColorChange = [this](TDVColorCombo& c) { changes.push_back(c.ChosenColor()); };
  }
  QWindow* Window() { return shown.window.windowHandle(); }
  QPoint At(int x, int y) { return combo.ClientWidget()->mapTo(&shown.window, QPoint(x, y)); }
  void Click() {
    QTest::mouseClick(Window(), Qt::LeftButton, Qt::NoModifier, At(10, 5));
    ProcessPosted();
  }
  QImage Render() { return combo.ClientWidget()->grab().toImage(); }
  TRect Swatch() { return combo.SwatchRect(); }

  TScriptedColorDialog dialog;
  TDVColorCombo combo;
  ControlWindow shown;
  std::vector<TColor> changes;
};

TEST(ColorCombo, CaptionColourFollowsTheAutoColourAndLightness) {
  struct Case {
    TColor autoColor, chosen, caption;
  } cases[] = {
      {clWindowText, clWindowText, clWindow},
      {clNone, clNone, clWindowText},
      {RGB(159, 159, 159), RGB(159, 159, 159), clWindow},  // lightness 150
      {RGB(160, 160, 160), RGB(160, 160, 160), clWindowText},  // 151
      {clRed, clRed, clWindow},
      {clBtnFace, clBtnFace, clWindowText},
  };
  for (const Case& c : cases) EXPECT_EQ(AutoCaptionColor(c.autoColor, c.chosen), c.caption) << std::hex << c.autoColor;
}

int Distance(const QColor& a, const QColor& b) {
  return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

// Pixels of the rectangle nearer the one colour than the other.
int CountNearer(const QImage& image, const TRect& r, TColor color, TColor other) {
  const QColor want = ToQColor(color), not_ = ToQColor(other);
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) {
      const QColor got = image.pixelColor(x, y);
      if (Distance(got, want) < Distance(got, not_)) ++n;
    }
  return n;
}

TEST(ColorCombo, FaceAsDrawn) {
  struct Case {
    const char* what;
    TColor autoColor;
    TColor chosen;
    bool indeterminate;
    TColor fill;     // the swatch's corner
    TColor caption;  // clNone: no caption
  } cases[] = {
      {"a colour", clNone, clBlue, false, clBlue, clNone},
      {"indeterminate: empty", clNone, clBlue, true, clWindow, clNone},
      {"no colour: empty with Transparent", clNone, clNone, false, clWindow, clWindowText},
      {"automatic red", clRed, clRed, false, clRed, clWindow},
      {"automatic at lightness 150", RGB(159, 159, 159), RGB(159, 159, 159), false, RGB(159, 159, 159), clWindow},
      {"automatic at lightness 151", RGB(160, 160, 160), RGB(160, 160, 160), false, RGB(160, 160, 160),
       clWindowText},
  };
  for (const Case& c : cases) {
    ComboFixture f;
    f.combo.SetAutoColor(c.autoColor);
    f.combo.SetChosenColor(c.chosen);
    f.combo.SetIndeterminate(c.indeterminate);
    const QImage image = f.Render();
    SaveRender(image, (std::string("color_combo_") + c.what).c_str());
    const TRect s = f.Swatch();
    const TColor fill = ColorToRGB(c.fill);
    EXPECT_EQ(PixelAt(image, s.Left, s.Top), fill) << c.what;
    EXPECT_EQ(PixelAt(image, s.Right - 1, s.Bottom - 1), fill) << c.what;
    // The drop-down button is right of the swatch.
    EXPECT_EQ(f.combo.ButtonRect().Right, f.combo.ClientWidth()) << c.what;
    EXPECT_NE(PixelAt(image, f.combo.ButtonRect().Left + 3, s.Top + 3), fill) << c.what;
    // The caption's strokes, or none: "Auto" and "Transparent" cover a few
    // dozen pixels at the dialog font.
    const TColor stroke = c.caption == clNone ? (fill == clWhite ? clBlack : clWhite) : ColorToRGB(c.caption);
    if (c.caption == clNone) EXPECT_EQ(CountNearer(image, s, stroke, fill), 0) << c.what;
    else EXPECT_GT(CountNearer(image, s, stroke, fill), 20) << c.what;
  }
}

TEST(ColorCombo, HeightFollowsTheFont) {
  ComboFixture f;
  f.combo.Canvas().Font() = f.combo.Font;
  const int fontHeight = f.combo.Canvas().GetTextMetrics().tmHeight;
  EXPECT_GT(fontHeight, 0);
  EXPECT_LE(f.combo.Height(), 4 + fontHeight + fontHeight / 4 + 6);
  EXPECT_GE(f.combo.Height(), 4 + fontHeight + 6);
}

TEST(ColorCombo, ClickDropsThePopupAndAChoiceComesBack) {
  ComboFixture f;
  f.combo.SetAutoColor(clWindowText);
  f.combo.SetIndeterminate(true);
  f.Click();
  TfrmColor* popup = f.combo.Popup();
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(f.combo.Focused());
  EXPECT_EQ(popup->ColorButton(0)->text().toStdString(), "&Auto");
  // Right under the combo.
  const QPoint below = f.combo.Widget()->mapToGlobal(QPoint(0, f.combo.Height()));
  EXPECT_EQ(popup->Dialog()->pos(), below);
  QTest::mouseClick(popup->ColorButton(1 + 26), Qt::LeftButton);
  ProcessPosted();
  EXPECT_EQ(f.combo.Popup(), nullptr);
  EXPECT_FALSE(f.combo.Indeterminate());
  EXPECT_EQ(f.combo.ChosenColor(), clYellow);
  EXPECT_EQ(f.changes, std::vector<TColor>{clYellow});
  EXPECT_EQ(PixelAt(f.Render(), f.Swatch().Left + 1, f.Swatch().Top + 1), clYellow);
}

TEST(ColorCombo, KeysDropThePopup) {
  for (const Qt::Key key : {Qt::Key_Down, Qt::Key_F4}) {
    ComboFixture f;
    f.combo.SetChosenColor(clRed);
    f.combo.SetFocus();
    QTest::keyClick(f.Window(), key);
    ASSERT_NE(f.combo.Popup(), nullptr) << key;
    EXPECT_EQ(f.combo.Popup()->KeySelected(), 1 + 16);
    QTest::keyClick(f.combo.Popup()->Dialog(), Qt::Key_Escape);
    ProcessPosted();
    EXPECT_EQ(f.combo.Popup(), nullptr);
    EXPECT_TRUE(f.changes.empty());
  }
}

TEST(ColorCombo, ClickWhileOpenClosesWithoutAChoice) {
  ComboFixture f;
  f.combo.SetChosenColor(clRed);
  f.Click();
  ASSERT_NE(f.combo.Popup(), nullptr);
  f.Click();
  EXPECT_EQ(f.combo.Popup(), nullptr);
  EXPECT_EQ(f.combo.ChosenColor(), clRed);
  EXPECT_TRUE(f.changes.empty());
}

TEST(ColorCombo, MoreColorsUsesTheCombosDialog) {
  ComboFixture f;
  f.dialog.pick = 0x345678;
  f.combo.SetChosenColor(clRed);
  f.Click();
  ASSERT_NE(f.combo.Popup(), nullptr);
  QTest::mouseClick(f.combo.Popup()->MoreButton(), Qt::LeftButton);
  ProcessPosted();
  EXPECT_EQ(f.dialog.openedWith, std::vector<TColor>{clRed});
  EXPECT_EQ(f.combo.ChosenColor(), 0x345678);
  EXPECT_EQ(f.changes, std::vector<TColor>{0x345678});
}

TEST(ColorCombo, ForgetsAColourDialogThatWent) {
  TDVColorCombo combo;
  {
    TColorDialog dialog;
    combo.SetColorDialog(&dialog);
    EXPECT_EQ(combo.ColorDialog(), &dialog);
  }
  EXPECT_EQ(combo.ColorDialog(), nullptr);
}

TEST(ColorCombo, GoingWithItsPopupOpenClosesIt) {
  bool changed = false;
  QPointer<QDialog> dialog;
  {
    ComboFixture f;
    f.combo.OnColorChange = [&](TDVColorCombo&) { changed = true; };
    f.Click();
    ASSERT_NE(f.combo.Popup(), nullptr);
    dialog = f.combo.Popup()->Dialog();
  }
  ProcessPosted();
  EXPECT_TRUE(dialog.isNull());
  EXPECT_FALSE(changed);
}

TEST(ColorCombo, ClassicLookWithoutThemes) {
  ComboFixture f;
  f.combo.SetUseXPThemes(false);
  f.combo.SetChosenColor(clBlue);
  const QImage image = f.Render();
  const TRect b = f.combo.ButtonRect();
  EXPECT_EQ(PixelAt(image, b.Left, b.Top + 5), GetSysColor(22));
  EXPECT_EQ(PixelAt(image, b.Right - 1, b.Top + 5), GetSysColor(21));
  EXPECT_EQ(PixelAt(image, b.Left + 3, b.Top + 3), GetSysColor(15));
  // The arrow in the middle.
  EXPECT_EQ(PixelAt(image, (b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2), GetSysColor(18));
}

}  // namespace
}  // namespace quillet::test
