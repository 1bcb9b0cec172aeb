// Flat tool bars and form controls rendered offscreen, key pixels checked.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "flat_test_support.h"

namespace quillet::test {
namespace {

TColor WindowColor(const QWidget* w) { return FromQColor(w->palette().color(QPalette::Window)); }

TEST(FlatControls, ToolBar) {
  QMainWindow window;
  TFlatPainter painter(&window);
  painter.ColorDepth = 32;
  QToolBar* bar = window.addToolBar(QStringLiteral("Tools"));
  bar->addAction(SolidIcon(Qt::blue), QStringLiteral("Bold"));
  QAction* italic = bar->addAction(SolidIcon(Qt::blue), QStringLiteral("Italic"));
  italic->setCheckable(true);
  italic->setChecked(true);
  bar->addSeparator();
  bar->addAction(SolidIcon(Qt::blue), QStringLiteral("Under"));
  window.resize(300, 120);
  window.show();
  painter.SetActive(true);
  Settle();
  const QImage image = bar->grab().toImage();
  SaveRender(image, "flat_toolbar");
  const TFlatScheme s = Scheme32();
  const TColor c = WindowColor(bar);

  const QRect on = bar->widgetForAction(italic)->geometry();
  EXPECT_EQ(Pixel(image, {on.left(), on.center().y()}), s.SelectBorderColor) << "checked button's frame";
  EXPECT_EQ(Pixel(image, {on.left() + 1, on.top() + 2}), s.CheckedAreaColor) << "checked button's fill";
  EXPECT_EQ(Pixel(image, {on.left() + 1, on.top()}), NewColor(c, 16)) << "fills start one pixel down";

  QWidget* separator = nullptr;
  for (QWidget* w : bar->findChildren<QWidget*>())
    if (w->inherits("QToolBarSeparator")) separator = w;
  ASSERT_NE(separator, nullptr);
  const QRect sep = separator->geometry();
  const int x = sep.left() + sep.width() / 2;
  EXPECT_EQ(Pixel(image, {x, sep.center().y()}), GetShadeColor(c, 30)) << "separator line";
  EXPECT_EQ(Pixel(image, {x - 2, sep.center().y()}), NewColor(c, 16));
  EXPECT_EQ(Pixel(image, {x, sep.top() + 1}), NewColor(c, 16)) << "the line starts 2 below the top";

  // The grabber: 3-pixel lines on every other row, darkening line by line.
  const QRect handle(0, 0, 12, bar->height());
  EXPECT_EQ(CountColor(image, handle, GetShadeColor(c, 30)), 3);
  EXPECT_EQ(CountColor(image, handle, GetShadeColor(c, 37)), 3);
}

TEST(FlatControls, FormOfControls) {
  QWidget form;
  TFlatPainter painter(&form);
  painter.ColorDepth = 32;
  form.resize(260, 330);
  auto* layout = new QVBoxLayout(&form);
  auto* tinted = new QWidget;
  tinted->setAutoFillBackground(true);
  QPalette pink = tinted->palette();
  pink.setColor(QPalette::Window, QColor(200, 120, 120));
  tinted->setPalette(pink);
  auto* tintedLayout = new QHBoxLayout(tinted);
  auto* tint = new QPushButton(QStringLiteral("Tint"));
  tint->setProperty("quilletFlat", "parentTint");
  auto* plain = new QPushButton(QStringLiteral("Plain"));
  auto* glyph = new QPushButton(SolidIcon(Qt::blue), QStringLiteral("Glyph"));
  auto* speed = new QToolButton;
  speed->setIcon(SolidIcon(Qt::blue));
  speed->setAutoRaise(true);
  for (QWidget* w : std::initializer_list<QWidget*>{tint, plain, glyph, speed}) tintedLayout->addWidget(w);
  auto* edit = new QLineEdit(QStringLiteral("text"));
  auto* combo = new QComboBox;
  combo->addItem(QStringLiteral("Item"));
  auto* check = new QCheckBox(QStringLiteral("Check"));
  auto* radio = new QRadioButton(QStringLiteral("Radio"));
  radio->setChecked(true);
  auto* panel = new QFrame;
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setMinimumHeight(24);
  auto* group = new QGroupBox(QStringLiteral("Group"));
  group->setMinimumHeight(40);
  for (QWidget* w : std::initializer_list<QWidget*>{tinted, edit, combo, check, radio, panel, group})
    layout->addWidget(w);
  form.show();
  QApplication::setActiveWindow(&form);
  painter.SetActive(true);
  Settle();
  QTest::mousePress(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
  Settle();
  const QImage image = form.grab().toImage();
  SaveRender(image, "flat_form");
  QTest::mouseRelease(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
  const TFlatScheme s = Scheme32();
  auto at = [&](QWidget* w, QPoint p) { return Pixel(image, w->mapTo(&form, p)); };

  EXPECT_EQ(at(tint, {3, tint->height() / 2}), NewColor(RGB(200, 120, 120), 16)) << "tinted from the parent";
  EXPECT_EQ(at(plain, {3, plain->height() / 2}), s.IconBackColor) << "plain face";
  EXPECT_EQ(at(tint, {0, 0}), RGB(200, 120, 120)) << "outside the rounded face";
  EXPECT_EQ(at(speed, {1, 1}), RGB(200, 120, 120)) << "idle flat speed button: the parent's colour";
  EXPECT_EQ(at(speed, {speed->width() / 2, speed->height() / 2}), NewColor(RGB(0, 0, 255), 30)) << "idle glyph dimmed";
  EXPECT_GT(CountColor(image, QRect(glyph->mapTo(&form, QPoint(0, 0)), glyph->size()), NewColor(RGB(0, 0, 255), 30)),
            100)
      << "the glyph button's glyph";

  QStyleOptionButton opt;
  opt.initFrom(check);
  const QRect box = check->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, check).adjusted(2, 2, -2, -2);
  EXPECT_EQ(at(check, box.topLeft() + QPoint(1, 1)), s.CheckedAreaSelectColor) << "pressed check box";
  EXPECT_EQ(at(check, {box.left(), box.center().y()}), s.SelectBorderColor) << "focused check box's frame";

  opt.initFrom(radio);
  const QRect dot = radio->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &opt, radio);
  EXPECT_EQ(at(radio, dot.center()), ColorToRGB(clHighlight)) << "radio dot";

  EXPECT_EQ(at(edit, {0, edit->height() / 2}), GetShadeColor(WindowColor(&form), 60)) << "idle edit border";
  EXPECT_EQ(at(combo, {combo->width() - 10, (combo->height() - 3) / 2}), RGB(0, 0, 0)) << "combo arrow";
  EXPECT_EQ(at(combo, {combo->width() - 8, (combo->height() - 3) / 2 + 2}), RGB(0, 0, 0));

  const TColor face = WindowColor(panel);
  EXPECT_EQ(at(panel, {0, 0}), GetShadeColor(face, 60)) << "lowered panel: dark at the top left";
  EXPECT_EQ(at(panel, {panel->width() - 1, panel->height() - 1}), NewColor(face, 60));
  EXPECT_EQ(at(group, {2, group->fontMetrics().height() / 2}), NewColor(WindowColor(group), 60)) << "group frame";
}

// Hover, focus, presses and the dropped list come from the style option.
TEST(FlatControls, StatesFromStyleOptions) {
  QWidget form;
  TFlatPainter painter(&form);
  painter.ColorDepth = 32;
  auto* bar = new QToolBar(&form);
  QWidget* tool = bar->widgetForAction(bar->addAction(QStringLiteral("T")));
  auto* combo = new QComboBox(&form);
  auto* button = new QPushButton(&form);
  painter.SetActive(true);
  const TFlatScheme s = Scheme32();
  using S = QStyle;
  const S::State on = S::State_Enabled;
  enum Kind { Tool, Combo, Button };
  struct Case {
    const char* what;
    Kind kind;
    S::State state;
    QPoint at;
    TColor want;
  } cases[] = {
      {"tool: hot fill", Tool, on | S::State_MouseOver, {2, 3}, s.SelectColor},
      {"tool: hot frame", Tool, on | S::State_MouseOver, {0, 12}, s.SelectBorderColor},
      {"tool: hot and checked", Tool, on | S::State_MouseOver | S::State_On, {2, 3}, s.CheckedAreaSelectColor},
      {"tool: checked", Tool, on | S::State_On, {2, 3}, s.CheckedAreaColor},
      {"tool: pressed", Tool, on | S::State_Sunken, {2, 3}, s.CheckedAreaSelectColor},
      {"combo: idle arrow", Combo, on, {30, 10}, RGB(0, 0, 0)},
      {"combo: idle button", Combo, on, {35, 3}, ColorToRGB(clBtnFace)},
      {"combo: disabled arrow", Combo, {}, {30, 10}, RGB(255, 255, 255)},
      {"combo: dropped arrow", Combo, on | S::State_On, {30, 10}, RGB(255, 255, 255)},
      {"combo: dropped button", Combo, on | S::State_On, {35, 3}, s.CheckedAreaSelectColor},
      {"combo: focused button", Combo, on | S::State_HasFocus, {35, 3}, s.CheckedAreaColor},
      {"combo: hot border", Combo, on | S::State_MouseOver, {0, 12}, s.SelectBorderColor},
      {"button: hot face", Button, on | S::State_MouseOver, {3, 12}, NewColor(clBtnFace, 40)},
      {"button: idle face", Button, on, {3, 12}, s.IconBackColor},
      {"button: raised edge right", Button, on, {39, 12}, GetShadeColor(clBtnShadow, 50)},
      {"button: pressed edge left", Button, on | S::State_Sunken, {0, 12}, GetShadeColor(clBtnShadow, 50)},
      {"button: pressed, right outline", Button, on | S::State_Sunken, {39, 12}, NewColor(clBtnShadow, 30)},
  };
  QStyle* style = painter.Style();
  for (const Case& c : cases) {
    QImage image(40, 24, QImage::Format_ARGB32);
    image.fill(Qt::magenta);
    QPainter p(&image);
    if (c.kind == Tool) {
      QStyleOptionToolButton o;
      o.initFrom(tool);
      o.rect = image.rect();
      o.state = c.state;
      style->drawComplexControl(S::CC_ToolButton, &o, &p, tool);
    } else if (c.kind == Combo) {
      QStyleOptionComboBox o;
      o.initFrom(combo);
      o.rect = image.rect();
      o.state = c.state;
      o.subControls = S::SC_All;
      style->drawComplexControl(S::CC_ComboBox, &o, &p, combo);
    } else {
      QStyleOptionButton o;
      o.initFrom(button);
      o.rect = image.rect();
      o.state = c.state;
      style->drawControl(S::CE_PushButton, &o, &p, button);
    }
    p.end();
    EXPECT_EQ(Pixel(image, c.at), ColorToRGB(c.want)) << c.what;
  }
}

}  // namespace
}  // namespace quillet::test
