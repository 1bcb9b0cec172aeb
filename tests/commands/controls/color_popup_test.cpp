// The palette popup offscreen: its buttons, keys, choices, the colour
// dialog behind "More Colors", where it opens and how it goes.
#include "commands/controls/color_popup.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QDialog>
#include <QScreen>
#include <QToolButton>

#include "color_test_support.h"
#include "commands/controls/color_palette.h"
#include "platform/core/beep.h"
#include "render_support.h"

namespace quillet::test {
namespace {

// A popup made as the combo makes it, with what it reports when it goes.
struct PopupFixture {
  explicit PopupFixture(TColor current, TColor defaultColor = clNone, bool second = false) {
    popup = new TfrmColor;
    popup->OnDestroy = [this](TfrmColor& p) {
      destroyed = true;
      chosen = p.Chosen();
      color = p.Color();
    };
    popup->Init(defaultColor, &dialog, current, second, clBlue);
  }
  ~PopupFixture() {
    if (!destroyed) {
      popup->ClosePopup();
      ProcessPosted();
    }
  }
  void Show() {
    popup->PopupAt(Bounds(100, 100, 50, 20));
    (void)QTest::qWaitForWindowExposed(popup->Dialog());
  }
  void Key(Qt::Key key) {
    QTest::keyClick(popup->Dialog(), key);
    ProcessPosted();
  }

  TScriptedColorDialog dialog;
  TfrmColor* popup;
  bool destroyed = false;
  bool chosen = false;
  TColor color = clNone;
};

TEST(ColorPopup, ButtonsLaidOutInTheirRows) {
  PopupFixture f(clRed, clNone);
  TfrmColor& p = *f.popup;
  ASSERT_EQ(p.ButtonCount(), 41);
  EXPECT_EQ(p.ColorButton(0)->text().toStdString(), "Tr&ansparent");
  EXPECT_EQ(p.ColorButton(0)->geometry(), QRect(6, 6, 144, 22));
  EXPECT_EQ(p.ColorButton(1)->geometry(), QRect(6, 32, 18, 18));
  EXPECT_EQ(p.ColorButton(40)->geometry(), QRect(6 + 7 * 18, 32 + 4 * 18, 18, 18));
  EXPECT_EQ(p.ColorButton(17)->toolTip().toStdString(), "Red");
  EXPECT_EQ(p.MoreButton()->text().toStdString(), "&More Colors...");
  EXPECT_EQ(p.MoreButton()->geometry(), QRect(6, 126, 144, 22));
  EXPECT_EQ(p.Dialog()->size(), QSize(156, 156));
  EXPECT_TRUE(p.Popup());
  // The current colour's button is down and holds the keyboard.
  EXPECT_EQ(p.KeySelected(), 17);
  for (int i = 0; i < p.ButtonCount(); ++i) EXPECT_EQ(p.ColorButton(i)->isChecked(), i == 17) << i;

  PopupFixture two(clBlue, clWindowText, true);
  ASSERT_EQ(two.popup->ButtonCount(), 42);
  EXPECT_EQ(two.popup->ColorButton(0)->text().toStdString(), "&Default");
  EXPECT_EQ(two.popup->ColorButton(1)->text().toStdString(), "&Auto");
  EXPECT_EQ(two.popup->ColorButton(1)->geometry(), QRect(6, 32, 144, 22));
  EXPECT_EQ(two.popup->Dialog()->height(), 182);
  // The second default button and the palette's blue share the colour: the
  // last of them is down.
  EXPECT_EQ(two.popup->KeySelected(), 2 + 13);
}

TEST(ColorPopup, ArrowKeysMoveTheSelection) {
  struct Case {
    const char* what;
    int specials;
    TColor start;  // clNone with one special button: the transparent button
    std::vector<Qt::Key> keys;
    int selected;
  } cases[] = {
      {"outside the palette, right selects button 0", 1, 0x123456, {Qt::Key_Right}, 0},
      {"outside the palette, left selects button 0", 1, 0x123456, {Qt::Key_Left}, 0},
      {"left from 0 wraps to the last", 1, clNone, {Qt::Key_Left}, 40},
      {"right from the last wraps to 0", 1, clWhite, {Qt::Key_Right}, 0},
      {"down from the special button", 1, clNone, {Qt::Key_Down}, 1},
      {"down a row", 1, clBlack, {Qt::Key_Down}, 9},
      {"down from the bottom row to the next column", 1, Colors[32].Color, {Qt::Key_Down}, 2},
      {"down from the last to the special button", 1, clWhite, {Qt::Key_Down}, 0},
      {"up from the special button to the last", 1, clNone, {Qt::Key_Up}, 40},
      {"up from the first palette button", 1, clBlack, {Qt::Key_Up}, 0},
      {"up from the top row to the previous column", 1, Colors[1].Color, {Qt::Key_Up}, 33},
      {"up then down returns", 1, Colors[20].Color, {Qt::Key_Up, Qt::Key_Down}, 21},
      {"outside the palette, up selects 0", 1, 0x123456, {Qt::Key_Up}, 0},
      {"two specials: up from the palette's first", 2, clBlack, {Qt::Key_Up}, 1},
      {"two specials: down from the first", 2, 0x123456, {Qt::Key_Right, Qt::Key_Down}, 1},
      {"two specials: down from the bottom row", 2, Colors[32].Color, {Qt::Key_Down}, 2},
  };
  for (const Case& c : cases) {
    PopupFixture f(c.start, clNone, c.specials == 2);
    f.Show();
    for (Qt::Key key : c.keys) f.Key(key);
    EXPECT_EQ(f.popup->KeySelected(), c.selected) << c.what;
    for (int i = 0; i < f.popup->ButtonCount(); ++i)
      EXPECT_EQ(f.popup->ColorButton(i)->isChecked(), i == c.selected) << c.what << " button " << i;
    EXPECT_FALSE(f.destroyed) << c.what;  // moving does not close
  }
}

TEST(ColorPopup, WaysToClose) {
  struct Case {
    const char* what;
    TColor start;
    std::vector<Qt::Key> keys;
    int clickButton;  // -1: none
    bool chosen;
    TColor color;
  } cases[] = {
      {"Enter without a move reports the opening colour", Colors[5].Color, {Qt::Key_Return}, -1, true,
       Colors[5].Color},
      {"Enter outside the palette", 0x123456, {Qt::Key_Enter}, -1, true, 0x123456},
      {"Enter after a move", clBlack, {Qt::Key_Right, Qt::Key_Return}, -1, true, Colors[1].Color},
      {"Esc", clBlack, {Qt::Key_Escape}, -1, false, clBlack},
      {"a click on a palette button", clBlack, {}, 27, true, Colors[26].Color},
      {"a click on the transparent button", clBlack, {}, 0, true, clNone},
  };
  for (const Case& c : cases) {
    PopupFixture f(c.start);
    f.Show();
    for (Qt::Key key : c.keys) QTest::keyClick(f.popup->Dialog(), key);
    if (c.clickButton >= 0) QTest::mouseClick(f.popup->ColorButton(c.clickButton), Qt::LeftButton);
    EXPECT_FALSE(f.destroyed) << c.what;  // it frees itself once its handler is over
    ProcessPosted();
    ASSERT_TRUE(f.destroyed) << c.what;
    EXPECT_EQ(f.chosen, c.chosen) << c.what;
    EXPECT_EQ(f.color, c.color) << c.what;
  }
}

TEST(ColorPopup, MnemonicsPressTheirButtons) {
  struct Case {
    const char* what;
    TColor defaultColor;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool chosen;
    TColor color;
    size_t dialogRuns;
  } cases[] = {
      {"A: automatic", clWindowText, Qt::Key_A, Qt::NoModifier, true, clWindowText, 0},
      {"Alt+A: automatic", clWindowText, Qt::Key_A, Qt::AltModifier, true, clWindowText, 0},
      {"A: transparent", clNone, Qt::Key_A, Qt::NoModifier, true, clNone, 0},
      {"M: more colours", clNone, Qt::Key_M, Qt::NoModifier, true, 0x345678, 1},
      {"Alt+M: more colours", clNone, Qt::Key_M, Qt::AltModifier, true, 0x345678, 1},
      {"Ctrl+A: nothing", clNone, Qt::Key_A, Qt::ControlModifier, false, clBlack, 0},
      {"B: nothing", clNone, Qt::Key_B, Qt::NoModifier, false, clBlack, 0},
  };
  for (const Case& c : cases) {
    PopupFixture f(clBlack, c.defaultColor);
    f.dialog.pick = 0x345678;
    f.Show();
    QTest::keyClick(f.popup->Dialog(), c.key, c.modifiers);
    // A shortcut clicks its button after a short animation.
    EXPECT_EQ(QTest::qWaitFor([&] { return f.destroyed; }, 500), c.chosen) << c.what;
    EXPECT_EQ(f.chosen, c.chosen) << c.what;
    if (c.chosen) {
      EXPECT_EQ(f.color, c.color) << c.what;
    }
    EXPECT_EQ(f.dialog.openedWith.size(), c.dialogRuns) << c.what;
  }
}

TEST(ColorPopup, ClickOutsideClosesWithoutAChoice) {
  QWidget other;
  other.resize(400, 400);
  other.show();
  (void)QTest::qWaitForWindowExposed(&other);
  PopupFixture f(clBlack);
  f.popup->PopupAt(Bounds(300, 300, 10, 10));
  (void)QTest::qWaitForWindowExposed(f.popup->Dialog());
  QTest::mouseClick(other.windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
  ProcessPosted();
  ASSERT_TRUE(f.destroyed);
  EXPECT_FALSE(f.chosen);
}

TEST(ColorPopup, MoreColorsRunsTheDialog) {
  struct Case {
    const char* what;
    TColor start;
    bool ok;
    TColor opened;
    bool chosen;
    TColor color;
  } cases[] = {
      {"OK takes the dialog's colour", clRed, true, clRed, true, 0x345678},
      {"Cancel keeps the colour, unchosen", clRed, false, clRed, false, clRed},
      {"no colour opens on yellow", clNone, true, clYellow, true, 0x345678},
  };
  for (const Case& c : cases) {
    PopupFixture f(c.start);
    f.dialog.answerOk = c.ok;
    f.dialog.pick = 0x345678;
    f.Show();
    QTest::mouseClick(f.popup->MoreButton(), Qt::LeftButton);
    ProcessPosted();
    ASSERT_TRUE(f.destroyed) << c.what;
    EXPECT_EQ(f.dialog.openedWith, std::vector<TColor>{c.opened}) << c.what;
    EXPECT_EQ(f.chosen, c.chosen) << c.what;
    EXPECT_EQ(f.color, c.color) << c.what;
  }
}

// A dialog that loses the popup's activation while it runs, as a real one
// does: the popup must outlive it.
class TClosingColorDialog : public TScriptedColorDialog {
 public:
  TfrmColor* popup = nullptr;
  bool Execute() override {
    popup->Dialog()->hide();
    ProcessPosted();
    return TScriptedColorDialog::Execute();
  }
};

TEST(ColorPopup, SurvivesLosingTheActivationToTheColourDialog) {
  TClosingColorDialog dialog;
  dialog.pick = clGreen;
  bool chosen = false;
  TColor color = clNone;
  int destroyed = 0;
  auto* popup = new TfrmColor;
  dialog.popup = popup;
  popup->OnDestroy = [&](TfrmColor& p) {
    ++destroyed;
    chosen = p.Chosen();
    color = p.Color();
  };
  popup->Init(clNone, &dialog, clRed);
  popup->PopupAt(Bounds(10, 10, 10, 10));
  QTest::mouseClick(popup->MoreButton(), Qt::LeftButton);
  ProcessPosted();
  EXPECT_EQ(destroyed, 1);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(color, clGreen);
}

TEST(ColorPopup, OpensOnScreenAtEveryEdge) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const int w = 156, h = 156;
  struct Case {
    const char* what;
    TRect at;
    QPoint expected;
  } cases[] = {
      {"below, left-aligned", Bounds(100, 100, 60, 20), {100, 120}},
      {"right edge: right-aligned", Bounds(screen.width() - 70, 100, 60, 20), {screen.width() - 10 - w, 120}},
      {"bottom edge: above", Bounds(100, screen.height() - 30, 60, 20), {100, screen.height() - 30 - h}},
      {"left edge beyond the screen", Bounds(-40, 100, 20, 20), {0, 120}},
      {"top edge with the bottom too: clamped", Bounds(100, -10, 60, screen.height() + 5), {100, 0}},
  };
  for (const Case& c : cases) {
    PopupFixture f(clBlack);
    f.popup->PopupAt(c.at);
    EXPECT_EQ(f.popup->Dialog()->pos(), c.expected) << c.what;
  }
}

TEST(ColorPopup, OpensAtTheMouseWithinTheScreen) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  struct Case {
    const char* what;
    QPoint mouse;
    QPoint expected;
  } cases[] = {
      {"at the mouse", {100, 100}, {100, 100}},
      {"right edge", {screen.width() - 10, 100}, {screen.width() - 156, 100}},
      {"bottom edge", {100, screen.height() - 10}, {100, screen.height() - 156}},
  };
  for (const Case& c : cases) {
    QCursor::setPos(c.mouse);
    if (QCursor::pos() != c.mouse) GTEST_SKIP() << "the platform cannot place the cursor";
    PopupFixture f(clBlack);
    f.popup->PopupAtMouse();
    EXPECT_EQ(f.popup->Dialog()->pos(), c.expected) << c.what;
  }
}

TEST(ColorPopup, SoundsAsItOpensUnlessSilent) {
  std::vector<std::string> sounds;
  SetApplicationSoundHandler([&](std::string_view name) { sounds.emplace_back(name); });
  {
    PopupFixture f(clBlack);
    f.Show();
  }
  {
    PopupFixture f(clBlack);
    f.popup->SetSilent(true);
    f.Show();
  }
  SetApplicationSoundHandler(nullptr);
  EXPECT_EQ(sounds, std::vector<std::string>{"MenuPopup"});
}

TEST(ColorPopup, DrawsARaisedEdge) {
  PopupFixture f(clBlack);
  f.Show();
  const QImage image = f.popup->Dialog()->grab().toImage();
  SaveRender(image, "color_popup");
  EXPECT_EQ(PixelAt(image, 0, 50), GetSysColor(22));
  EXPECT_EQ(PixelAt(image, 1, 50), GetSysColor(20));
  EXPECT_EQ(PixelAt(image, 155, 50), GetSysColor(21));
  EXPECT_EQ(PixelAt(image, 154, 50), GetSysColor(16));
}

}  // namespace
}  // namespace quillet::test
