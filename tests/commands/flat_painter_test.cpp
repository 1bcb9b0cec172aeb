// Which widgets the flat painter takes over, what it leaves alone, and that
// switching it off or deleting it gives every widget its previous style.
#include <gtest/gtest.h>

#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QVBoxLayout>

#include "flat_test_support.h"

namespace quillet::test {
namespace {

// A form of the painted kinds, some in a group box and a panel.
struct Form {
  Form() {
    form.resize(320, 300);
    auto* layout = new QVBoxLayout(&form);
    for (QWidget* w : std::initializer_list<QWidget*>{
             button = new QPushButton(QStringLiteral("OK")), edit = new QLineEdit(QStringLiteral("text")),
             combo = new QComboBox, radio = new QRadioButton(QStringLiteral("Radio")),
             label = new QLabel(QStringLiteral("Label")), group = new QGroupBox(QStringLiteral("Group")),
             panel = new QFrame})
      layout->addWidget(w);
    combo->addItem(QStringLiteral("Item"));
    auto* inGroup = new QVBoxLayout(group);
    inGroup->addWidget(grouped = new QCheckBox(QStringLiteral("In group")));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMinimumHeight(30);
    auto* inPanel = new QVBoxLayout(panel);
    inPanel->addWidget(paneled = new QPushButton(QStringLiteral("In panel")));
    form.show();
    Settle();
  }
  bool Flat(const QWidget* w) const { return w->style() == painter->Style(); }
  QImage Render() {
    Settle();
    return form.grab().toImage();
  }

  QWidget form;
  std::unique_ptr<TFlatPainter> painter = std::make_unique<TFlatPainter>(&form);
  QPushButton *button, *paneled;
  QLineEdit* edit;
  QComboBox* combo;
  QRadioButton* radio;
  QCheckBox* grouped;
  QLabel* label;
  QGroupBox* group;
  QFrame* panel;
};

TEST(FlatPainter, ActivationTakesOverQualifyingWidgets) {
  Form f;
  EXPECT_FALSE(f.Flat(f.button)) << "inactive";
  f.painter->SetActive(true);
  for (QWidget* w : std::initializer_list<QWidget*>{f.button, f.edit, f.combo, f.radio, f.group, f.panel, f.grouped,
                                                    f.paneled})
    EXPECT_TRUE(f.Flat(w)) << w->metaObject()->className();
  EXPECT_FALSE(f.Flat(f.label)) << "no painted kind";
  EXPECT_TRUE(f.button->testAttribute(Qt::WA_Hover));
}

TEST(FlatPainter, SwitchedOffOnTheWidgetOrItsParent) {
  Form f;
  f.button->setProperty("quilletFlat", "off");
  f.panel->setProperty("quilletFlat", "off");
  f.painter->SetActive(true);
  EXPECT_FALSE(f.Flat(f.button));
  EXPECT_FALSE(f.Flat(f.panel));
  EXPECT_FALSE(f.Flat(f.paneled)) << "its parent is off";
  EXPECT_TRUE(f.Flat(f.edit));

  // Marked while painted, it is painted as before at the next paint.
  f.painter->SetActive(false);
  f.button->setProperty("quilletFlat", QVariant());
  const QImage plain = f.button->grab().toImage();
  f.painter->SetActive(true);
  EXPECT_NE(f.button->grab().toImage(), plain);
  f.button->setProperty("quilletFlat", "off");
  EXPECT_EQ(f.button->grab().toImage(), plain);
}

TEST(FlatPainter, OwnStyleKeptUnlessOverridden) {
  const std::unique_ptr<QStyle> own(QStyleFactory::create(QStringLiteral("Fusion")));  // outlives the form
  Form f;
  f.button->setStyle(own.get());
  f.painter->SetActive(true);
  EXPECT_EQ(f.button->style(), own.get());
  f.painter->SetOverrideOwnerDraw(true);
  EXPECT_TRUE(f.Flat(f.button)) << "turned on while active";
  f.painter->SetActive(false);
  EXPECT_EQ(f.button->style(), own.get());
  EXPECT_EQ(f.edit->style(), QApplication::style());
  EXPECT_FALSE(f.edit->testAttribute(Qt::WA_SetStyle));
}

TEST(FlatPainter, SetsChangedWhileActive) {
  Form f;
  f.painter->SetActive(true);
  f.painter->SetFlatControls(AllFlatControls & ~FlatBit(fcButton));
  EXPECT_FALSE(f.Flat(f.button));
  EXPECT_FALSE(f.Flat(f.paneled));
  EXPECT_TRUE(f.Flat(f.edit));
  EXPECT_EQ(f.button->style(), QApplication::style());
  f.painter->SetFlatContainers(AllFlatContainers & ~FlatBit(xccGroupBox));
  EXPECT_FALSE(f.Flat(f.grouped));
  EXPECT_TRUE(f.Flat(f.group)) << "the group box stands on the form";
  f.painter->SetFlatControls(AllFlatControls);
  EXPECT_TRUE(f.Flat(f.button));
  EXPECT_FALSE(f.Flat(f.grouped));
}

TEST(FlatPainter, LaterWidgetsWithAutoDetect) {
  for (const bool autoDetect : {false, true}) {
    Form f;
    f.painter->SetAutoDetect(autoDetect);
    f.painter->SetActive(true);
    auto* later = new QPushButton(QStringLiteral("Later"), &f.form);
    later->show();
    auto* elsewhere = new QPushButton(QStringLiteral("Elsewhere"));
    elsewhere->show();
    EXPECT_EQ(f.Flat(later), autoDetect);
    EXPECT_FALSE(f.Flat(elsewhere)) << "not in the form";
    delete elsewhere;
    f.painter->SetActive(false);
    EXPECT_EQ(later->style(), QApplication::style());
  }
}

TEST(FlatPainter, OffOrDeletedRendersAsBefore) {
  for (const bool deleted : {false, true}) {
    Form f;
    f.painter->ColorDepth = 32;
    const QImage before = f.Render();
    f.painter->SetActive(true);
    EXPECT_NE(f.Render(), before);
    if (deleted)
      f.painter.reset();
    else
      f.painter->SetActive(false);
    EXPECT_EQ(f.Render(), before) << (deleted ? "deleted" : "switched off");
    EXPECT_FALSE(f.button->testAttribute(Qt::WA_SetStyle));
  }
}

}  // namespace
}  // namespace quillet::test
