// Flat menus: how items are measured, what an item looks like in each of
// its states, the popup's frame and shadow, and items kept out.
#include <gtest/gtest.h>

#include <cmath>

#include <QAction>
#include <QActionGroup>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>

#include "commands/flat/flat_measure.h"
#include "flat_test_support.h"

namespace quillet::test {
namespace {

TEST(FlatMenu, MeasuresItems) {
  QFont small(QStringLiteral("Tahoma")), large(QStringLiteral("Tahoma"));
  small.setPixelSize(12);
  large.setPixelSize(30);
  const QFontMetrics fm(small), big(large);
  const int th = fm.height(), lines = th + static_cast<int>(std::nearbyint(th * 0.75));
  const int W = fm.horizontalAdvance(QStringLiteral("WWW"));
  struct Case {
    const char* what;
    const QFontMetrics& metrics;
    TMenuItemText item;
    QSize want;
  } cases[] = {
      {"separator", fm, {"-", "", {}, false}, {24 + 5, 4}},
      {"separator in a large font", big, {"-", "", {}, false}, {24 + 5, 4}},
      {"caption", fm, {"Open", "", {}, false}, {fm.horizontalAdvance("Open") + 5 + 24, lines}},
      {"shortcut behind WWW", fm, {"Open", "Ctrl+O", {}, false},
       {fm.horizontalAdvance("OpenWWWCtrl+O") + 5 + 24, lines}},
      {"& not counted", fm, {"&Open", "", {}, false},
       {fm.horizontalAdvance("&Open") - fm.horizontalAdvance("&") + 5 + 24, lines}},
      {"small icon takes the strip", fm, {"Open", "", {16, 16}, false}, {fm.horizontalAdvance("Open") + 5 + 24, lines}},
      {"wide tall icon", fm, {"Open", "", {40, 40}, false}, {fm.horizontalAdvance("Open") + 5 + 40, 46}},
      {"bar item: no strip, 8 more", fm, {"File", "", {}, true}, {fm.horizontalAdvance("File") + 5 + 8, lines}},
      {"bar item with icon", fm, {"File", "", {16, 16}, true}, {fm.horizontalAdvance("File") + 5 + 16 + 8, lines}},
  };
  EXPECT_GT(fm.horizontalAdvance("OpenWWWCtrl+O"), fm.horizontalAdvance("OpenCtrl+O") + W - 2);
  for (const Case& c : cases) EXPECT_EQ(MeasureMenuItem(c.metrics, c.item, 24), c.want) << c.what;
}

// A popup with one item of each kind, painted at 32 bits.
struct MenuFixture {
  MenuFixture() : painter(&form) {
    painter.ColorDepth = 32;
    painter.FlatMenu = true;
    menu = new QMenu(&form);
    open = menu->addAction(SolidIcon(Qt::red), QStringLiteral("Open"));
    open->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    save = menu->addAction(SolidIcon(Qt::red), QStringLiteral("Save"));
    ruler = menu->addAction(QStringLiteral("Ruler"));
    ruler->setCheckable(true);
    ruler->setChecked(true);
    wrap = menu->addAction(QStringLiteral("Wrap"));
    wrap->setCheckable(true);
    wrap->setChecked(true);
    (new QActionGroup(menu))->addAction(wrap);
    disabled = menu->addAction(SolidIcon(Qt::red), QStringLiteral("Print"));
    disabled->setEnabled(false);
    separator = menu->addSeparator();
    preview = menu->addAction(QStringLiteral("Preview"));
    menu->setDefaultAction(preview);
  }
  QImage Render(const char* name) {
    menu->popup(QPoint(40, 40));
    menu->setActiveAction(open);
    Settle();
    QImage image = menu->grab().toImage();
    SaveRender(image, name);
    return image;
  }
  QRect At(QAction* a) const { return menu->actionGeometry(a); }

  QWidget form;
  TFlatPainter painter;
  QMenu* menu;
  QAction *open, *save, *ruler, *wrap, *disabled, *separator, *preview;
};

TEST(FlatMenu, ItemsMeasuredInTheMenu) {
  MenuFixture f;
  f.painter.SetActive(true);
  f.Render("flat_menu_measured");
  const QFontMetrics fm(f.painter.Font());
  const int th = fm.height();
  EXPECT_EQ(f.At(f.separator).height(), 4);
  EXPECT_EQ(f.At(f.ruler).height(), th + static_cast<int>(std::nearbyint(th * 0.75)));
  // The widest item (caption, gap and shortcut, strip) fits between the frames.
  const int open = MeasureMenuItem(fm, {"Open", f.open->shortcut().toString(QKeySequence::NativeText), {16, 16}, false},
                                   f.painter.IconWidth)
                       .width();
  EXPECT_GE(f.At(f.open).width(), open);
  EXPECT_EQ(f.At(f.open).left(), 3);
  EXPECT_EQ(f.menu->width() - f.At(f.open).right() - 1, 3);
}

TEST(FlatMenu, RenderedItemsAndFrame) {
  MenuFixture f;
  f.painter.SetActive(true);
  const QImage image = f.Render("flat_menu");
  const TFlatScheme s = Scheme32();
  const int iw = f.painter.IconWidth;

  const QRect open = f.At(f.open);
  EXPECT_EQ(Pixel(image, {open.right() - 5, open.center().y()}), s.SelectColor) << "selection fill";
  EXPECT_EQ(Pixel(image, {open.right() - 5, open.top() + 1}), s.SelectBorderColor) << "selection frame";
  EXPECT_EQ(Pixel(image, {open.right() - 5, open.top()}), s.FColor) << "one pixel above the box";
  // The hot icon is raised by one pixel, undimmed, over its shadow.
  const QPoint hot(open.left() + (iw - 16) / 2 - 1 - 1, open.top() + 3 - 1);
  EXPECT_EQ(Pixel(image, hot + QPoint(8, 8)), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(image, hot + QPoint(16, 16)), GetShadeColor(s.SelectColor, 50)) << "icon shadow";

  const QRect save = f.At(f.save);
  const QPoint idle(save.left() + (iw - 16) / 2 - 1, save.top() + 3);
  EXPECT_EQ(Pixel(image, idle + QPoint(8, 8)), NewColor(RGB(255, 0, 0), 30)) << "idle icon dimmed";
  EXPECT_EQ(Pixel(image, {save.left() + 1, save.top() + 1}), s.IconBackColor) << "icon strip";
  EXPECT_EQ(Pixel(image, {save.right() - 3, save.top() + 1}), s.FColor) << "item background";

  const QRect print = f.At(f.disabled);
  const QPoint grey(print.left() + (iw - 16) / 2 - 1, print.top() + 3);
  EXPECT_EQ(Pixel(image, grey + QPoint(8, 8)), NewColor(GrayColor(RGB(255, 0, 0), 10), 40)) << "disabled icon";

  const QRect ruler = f.At(f.ruler);
  const QPoint box(ruler.left() + (iw - 10) / 2, ruler.top() + (ruler.height() - 10) / 2);
  EXPECT_EQ(Pixel(image, box + QPoint(0, 2)), s.CheckedColor) << "check box frame";
  EXPECT_EQ(Pixel(image, box + QPoint(8, 8)), s.CheckedAreaColor) << "check box fill";
  const QRect wrap = f.At(f.wrap);
  const QPoint round(wrap.left() + (iw - 10) / 2, wrap.top() + (wrap.height() - 10) / 2);
  EXPECT_EQ(Pixel(image, round + QPoint(5, 5)), s.CheckedAreaColor) << "radio mark fill";
  EXPECT_EQ(Pixel(image, round + QPoint(0, 0)), s.IconBackColor) << "radio mark is round";
  EXPECT_EQ(Pixel(image, round + QPoint(0, 5)), s.SelectBorderColor) << "radio mark frame";

  // The default item's halo: shades of the background under the text.
  const TColor halo = GetShadeColor(s.FColor, 60);
  EXPECT_GT(CountColor(image, f.At(f.preview), halo), 0);
  EXPECT_EQ(CountColor(image, f.At(f.ruler), halo), 0);

  const QRect sep = f.At(f.separator);
  const int y = sep.top() + static_cast<int>(std::nearbyint((sep.height() + 1) / 2.0));
  EXPECT_EQ(Pixel(image, {sep.left() + iw + 10, y}), s.SeparatorColor) << "separator";
  EXPECT_EQ(Pixel(image, {sep.left() + iw + 10, y - 1}), s.FColor);
  EXPECT_EQ(Pixel(image, {sep.left() + iw + 3, y}), s.FColor) << "separator starts 7 in";

  const int w = image.width(), h = image.height();
  EXPECT_EQ(Pixel(image, {w - 1, h / 2}), s.MenuShadowColor) << "right shadow";
  EXPECT_EQ(Pixel(image, {w / 2, h - 1}), s.MenuShadowColor) << "bottom shadow";
  EXPECT_EQ(Pixel(image, {w - 3, h / 2}), s.MenuBorderColor) << "frame";
  EXPECT_EQ(Pixel(image, {0, h / 2}), s.MenuBorderColor);
  EXPECT_EQ(Pixel(image, {0, h - 1}), ColorToRGB(clBtnFace)) << "corner beside the shadow";
  EXPECT_EQ(Pixel(image, {w - 1, 0}), ColorToRGB(clBtnFace));
  EXPECT_EQ(Pixel(image, {1, h / 2}), s.IconBackColor) << "band down the strip";
  EXPECT_EQ(Pixel(image, {w / 2, 1}), s.FColor) << "band along the top";
  EXPECT_EQ(Pixel(image, {5, 1}), s.IconBackColor) << "top band over the strip";
}

TEST(FlatMenu, ItemSwitchedOffKeepsTheStyleBelow) {
  MenuFixture f;
  f.save->setProperty("quilletFlat", "off");
  f.Render("flat_menu_before");
  const int offHeight = f.At(f.save).height();
  f.menu->hide();
  f.painter.SetActive(true);
  const QImage image = f.Render("flat_menu_item_off");
  EXPECT_EQ(f.At(f.save).height(), offHeight);
  EXPECT_NE(f.At(f.open).height(), offHeight) << "its siblings are measured flat";
  // Its icon is left as it is, the others' idle icons are dimmed.
  const TColor dimmed = NewColor(RGB(255, 0, 0), 30);
  EXPECT_EQ(CountColor(image, f.At(f.save), dimmed), 0);
  EXPECT_GT(CountColor(image, f.At(f.save), RGB(255, 0, 0)), 100);
  f.save->setProperty("quilletFlat", QVariant());
  f.menu->hide();
  EXPECT_GT(CountColor(f.Render("flat_menu_item_on"), f.At(f.save), dimmed), 100);
}

TEST(FlatMenu, BelowSixteenBits) {
  MenuFixture f;
  f.painter.ColorDepth = 8;
  f.painter.SetActive(true);
  const QImage image = f.Render("flat_menu_8bit");
  const int iw = f.painter.IconWidth;
  const QRect save = f.At(f.save);
  EXPECT_EQ(Pixel(image, {save.left() + (iw - 16) / 2 - 1 + 8, save.top() + 3 + 8}), RGB(255, 0, 0))
      << "idle icons are not dimmed";
  EXPECT_EQ(Pixel(image, {save.right() - 3, save.top() + 1}), clWhite) << "white menu";
  const QRect ruler = f.At(f.ruler);
  const QPoint box(ruler.left() + (iw - 10) / 2, ruler.top() + (ruler.height() - 10) / 2);
  EXPECT_EQ(Pixel(image, box + QPoint(8, 8)), clWhite) << "white check fill";
  EXPECT_EQ(Pixel(image, {image.width() - 1, image.height() / 2}), ColorToRGB(clBtnShadow)) << "shadow";
}

TEST(FlatMenu, MenuBar) {
  for (const bool off : {false, true}) {
    QWidget form;
    TFlatPainter painter(&form);
    painter.ColorDepth = 32;
    auto* bar = new QMenuBar(&form);
    QMenu* file = bar->addMenu(QStringLiteral("File"));
    file->addAction(QStringLiteral("Open"));
    QAction* edit = bar->addMenu(QStringLiteral("Edit"))->menuAction();
    if (off) bar->setProperty("quilletFlat", "off");
    form.resize(300, 100);
    form.show();
    painter.SetActive(true);
    bar->adjustSize();
    Settle();
    EXPECT_EQ(bar->style() == painter.Style(), !off);
    EXPECT_EQ(file->style() == painter.Style(), !off) << "menus under the bar";
    if (off) continue;
    const QImage image = bar->grab().toImage();
    SaveRender(image, "flat_menu_bar");
    const QRect r = bar->actionGeometry(edit);
    EXPECT_EQ(r.width(), MeasureMenuItem(QFontMetrics(painter.Font()), {"Edit", "", {}, true}, 24).width());
    EXPECT_EQ(Pixel(image, {r.right() - 1, r.top() + 1}), Scheme32().MenuBarColor);
  }
}

}  // namespace
}  // namespace quillet::test
