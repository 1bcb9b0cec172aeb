// The spin edit offscreen: values through limits and rounding, keys, typed
// and pasted text, the wheel, read-only fields and bad numbers.
#include "commands/controls/spin_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

#include "color_test_support.h"
#include "platform/core/beep.h"
#include "render_support.h"

namespace quillet::test {
namespace {

struct SpinFixture {
  SpinFixture() {
    window.resize(200, 80);
    spin = new TDVSpinEdit(&window);
    spin->setGeometry(10, 10, 120, 24);
    other = new QLineEdit(&window);
    other->setGeometry(10, 40, 120, 24);
    window.show();
    QApplication::setActiveWindow(&window);
    (void)QTest::qWaitForWindowExposed(&window);
    spin->setFocus();
    SetSystemBeepHandler([this] { ++beeps; });
  }
  ~SpinFixture() { SetSystemBeepHandler(nullptr); }
  QString Text() const { return spin->findChild<QLineEdit*>()->text(); }
  void SetText(const QString& text) { spin->findChild<QLineEdit*>()->setText(text); }
  void Type(const char* text) { QTest::keyClicks(spin, QString::fromUtf8(text)); }
  void Leave() { other->setFocus(); }
  void Wheel(int delta) {
    QWheelEvent event(QPointF(5, 5), spin->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(spin, &event);
  }

  QWidget window;
  TDVSpinEdit* spin;
  QLineEdit* other;
  int beeps = 0;
};

TEST(SpinEdit, CheckValueRoundsAndLimits) {
  struct Case {
    double min, max;
    bool integer;
    double in, out;
  } cases[] = {
      {0, 100, true, 2.5, 2},        // halves to even
      {0, 100, true, 3.5, 4},        //
      {0, 100, false, 2.5, 2.5},     //
      {0, 100, true, 150, 100},      //
      {20, 100, true, -3, 20},       //
      {5, 5, true, 1e6, 1e6},        // equal limits: none apply
      {0, 100, true, INFINITY, 0},   // never a non-finite value
      {1, 100, true, NAN, 1},        //
  };
  TDVSpinEdit spin;
  for (const Case& c : cases) {
    spin.MinValue = c.min;
    spin.MaxValue = c.max;
    spin.IntegerValue = c.integer;
    EXPECT_EQ(spin.CheckValue(c.in), c.out) << c.in << " in " << c.min << ".." << c.max;
  }
}

TEST(SpinEdit, ValueReadsTheTextUnlimitedAndLeavingLimitsIt) {
  struct Case {
    const char* text;
    double min, max;
    double read;
    const char* afterLeaving;
  } cases[] = {
      {"500", 0, 100, 500, "100"},
      {"abc", 1, 100, 1, "1"},        // no number: CheckValue(0), shown once left
      {"-", 1, 100, 1, "1"},
      {"1e400", 0, 100, 0, "0"},      // overflow is no number
      {".", 0, 100, 0, "0"},
      {"123456789012345678901234567890", 0, 0, 1.2345678901234568e29, "123456789012345678901234567890"},
      {"", 20, 100, 20, ""},          // empty stays indeterminate
      {"7", 5, 5, 7, "7"},
  };
  for (const Case& c : cases) {
    SpinFixture f;
    f.spin->MinValue = c.min;
    f.spin->MaxValue = c.max;
    f.SetText(QString::fromUtf8(c.text));
    const double read = f.spin->Value();
    EXPECT_TRUE(std::isfinite(read)) << c.text;
    EXPECT_DOUBLE_EQ(read, c.read) << c.text;
    f.Leave();
    EXPECT_EQ(f.Text(), QString::fromUtf8(c.afterLeaving)) << c.text;
  }
}

TEST(SpinEdit, IndeterminateAndAsInteger) {
  TDVSpinEdit spin;
  spin.MinValue = 20;
  EXPECT_FALSE(spin.Indeterminate());
  spin.SetIndeterminate(true);
  EXPECT_TRUE(spin.Indeterminate());
  EXPECT_EQ(spin.Value(), 20);
  spin.SetIndeterminate(false);
  EXPECT_EQ(spin.findChild<QLineEdit*>()->text(), "20");
  spin.MaxValue = spin.MinValue = 0;
  spin.findChild<QLineEdit*>()->setText("1e30");
  EXPECT_EQ(spin.AsInteger(), INT_MAX);
}

TEST(SpinEdit, KeysAndWheelStepWithinTheLimits) {
  struct Case {
    const char* what;
    const char* start;
    std::function<void(SpinFixture&)> act;
    const char* text;
  } cases[] = {
      {"Page Up at 95", "95", [](SpinFixture& f) { QTest::keyClick(f.spin, Qt::Key_PageUp); }, "100"},
      {"Page Down at 5", "5", [](SpinFixture& f) { QTest::keyClick(f.spin, Qt::Key_PageDown); }, "0"},
      {"Up", "7", [](SpinFixture& f) { QTest::keyClick(f.spin, Qt::Key_Up); }, "8"},
      {"Down from indeterminate", "", [](SpinFixture& f) { QTest::keyClick(f.spin, Qt::Key_Down); }, "0"},
      {"Up from indeterminate", "", [](SpinFixture& f) { QTest::keyClick(f.spin, Qt::Key_Up); }, "1"},
      {"wheel up twice", "7", [](SpinFixture& f) { f.Wheel(120); f.Wheel(120); }, "9"},
      {"wheel down", "7", [](SpinFixture& f) { f.Wheel(-120); }, "6"},
      {"half a notch does nothing yet", "7", [](SpinFixture& f) { f.Wheel(60); }, "7"},
      {"up button", "7", [](SpinFixture& f) { f.spin->stepBy(1); }, "8"},
  };
  for (const Case& c : cases) {
    SpinFixture f;
    f.spin->MaxValue = 100;
    f.SetText(c.start);
    c.act(f);
    EXPECT_EQ(f.Text(), c.text) << c.what;
    EXPECT_EQ(f.beeps, 0) << c.what;
  }
}

TEST(SpinEdit, ReadOnlyBeepsAtStepsAndIgnoresTheWheel) {
  SpinFixture f;
  f.SetText("7");
  f.spin->setReadOnly(true);
  QTest::keyClick(f.spin, Qt::Key_Up);
  QTest::keyClick(f.spin, Qt::Key_PageDown);
  f.spin->stepBy(1);
  EXPECT_EQ(f.beeps, 3);
  f.Wheel(120);
  EXPECT_EQ(f.beeps, 3);
  EXPECT_EQ(f.Text(), "7");
}

TEST(SpinEdit, TypedCharacters) {
  struct Case {
    const char* what;
    bool integer, editorEnabled;
    std::function<void(SpinFixture&)> act;
    const char* text;
    int beeps;
  } cases[] = {
      {"digits and signs", true, true, [](SpinFixture& f) { f.Type("-12+"); }, "-12+", 0},
      {"letters refused", true, true, [](SpinFixture& f) { f.Type("1a2"); }, "12", 1},
      {"separator in a whole field", true, true, [](SpinFixture& f) { f.Type("1.5"); }, "15", 1},
      {"separator in a fractional field", false, true, [](SpinFixture& f) { f.Type("1.5"); }, "1.5", 0},
      {"no editor: digits", true, false, [](SpinFixture& f) { f.Type("12"); }, "", 2},
      {"no editor: Backspace", true, false,
       [](SpinFixture& f) { f.SetText("34"); QTest::keyClick(f.spin, Qt::Key_End); QTest::keyClick(f.spin, Qt::Key_Backspace); },
       "34", 1},
      {"no editor: Delete", true, false,
       [](SpinFixture& f) { f.SetText("34"); QTest::keyClick(f.spin, Qt::Key_Home); QTest::keyClick(f.spin, Qt::Key_Delete); },
       "34", 1},
      {"no editor: arrows still step", true, false,
       [](SpinFixture& f) { f.SetText("34"); QTest::keyClick(f.spin, Qt::Key_Up); }, "35", 0},
  };
  for (const Case& c : cases) {
    SpinFixture f;
    f.spin->IntegerValue = c.integer;
    f.spin->SetEditorEnabled(c.editorEnabled);
    f.SetText("");
    c.act(f);
    EXPECT_EQ(f.Text(), c.text) << c.what;
    EXPECT_EQ(f.beeps, c.beeps) << c.what;
  }
}

TEST(SpinEdit, PasteOnlyWithTheEditorEnabled) {
  for (const bool enabled : {true, false}) {
    SpinFixture f;
    f.spin->SetEditorEnabled(enabled);
    f.SetText("");
    QApplication::clipboard()->setText("abc");
    QTest::keySequence(f.spin, QKeySequence::Paste);
    // Pasted text that is no number is kept as typed and read as CheckValue(0).
    EXPECT_EQ(f.Text(), enabled ? "abc" : "") << enabled;
    EXPECT_EQ(f.spin->Value(), 0);
  }
}

TEST(SpinEdit, EnterOnTheDefaultButtonAndCheckValue) {
  QDialog dialog;
  auto* spin = new TDVSpinEdit(&dialog);
  auto* ok = new QPushButton("OK", &dialog);
  ok->setDefault(true);
  double raw = 0, checked = 0;
  // The dialog reads its fields as OK is pressed, before it closes.
  QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
    raw = spin->Value();
    checked = spin->CheckValue(spin->Value());
    dialog.accept();
  });
  dialog.show();
  (void)QTest::qWaitForWindowExposed(&dialog);
  spin->MaxValue = 100;
  spin->setFocus();
  spin->findChild<QLineEdit*>()->clear();
  QTest::keyClicks(spin, "500");
  QTest::keyClick(spin, Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  // The field was not left: the raw read is as typed, the dialog's read limited.
  EXPECT_EQ(raw, 500);
  EXPECT_EQ(checked, 100);
}

TEST(SpinEdit, OnChangeFiresForEveryTextChange) {
  SpinFixture f;
  int changes = 0;
  f.spin->OnChange = [&](TDVSpinEdit&) { ++changes; };
  f.spin->SetValue(5);
  QTest::keyClick(f.spin, Qt::Key_Up);
  f.spin->SetIndeterminate(true);
  EXPECT_EQ(changes, 3);
}

TEST(SpinEdit, Render) {
  SpinFixture f;
  f.spin->SetValue(42);
  f.Leave();
  const QImage image = f.spin->grab().toImage();
  SaveRender(image, "spin_edit");
  // The text is drawn in dark pixels on the left; the buttons fill the right.
  int dark = 0;
  for (int x = 2; x < 40; ++x)
    for (int y = 4; y < image.height() - 4; ++y) dark += qGray(image.pixel(x, y)) < 100;
  EXPECT_GT(dark, 10);
}

}  // namespace
}  // namespace quillet::test
