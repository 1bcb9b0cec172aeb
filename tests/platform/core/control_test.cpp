#include "platform/core/control.h"

#include <gtest/gtest.h>

#include "platform/core/property_stream.h"
#include "platform/core/stream.h"

namespace quillet {
namespace {

TEST(ControlModelTest, EveryKnownKindSurvivesItsStream) {
  for (const char* kind : {"TButton", "TCheckBox", "TEdit", "TLabel", "TMemo", "TPanel"}) {
    SCOPED_TRACE(kind);
    std::unique_ptr<TControl> control = CreateControl(kind);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->ClassName(), kind);
    control->Name = "field1";
    control->SetBounds(-5, 7, 120, 30);
    control->Visible = false;
    control->TabStop = !control->TabStop;
    if (auto* c = dynamic_cast<TCaptionControl*>(control.get())) c->Caption = "审阅";
    if (auto* e = dynamic_cast<TEdit*>(control.get())) e->Text = "text";
    if (auto* b = dynamic_cast<TCheckBox*>(control.get())) b->Checked = true;
    if (auto* m = dynamic_cast<TMemo*>(control.get())) m->Lines = {"第一行", "", "third"};
    std::unique_ptr<TControl> back = CreateControl(kind);
    back->LoadComponent(control->SaveComponent());
    EXPECT_EQ(back->SaveComponent(), control->SaveComponent());
    EXPECT_EQ(back->Name, "field1");
    EXPECT_EQ(back->Left, -5);
    EXPECT_EQ(back->Width(), 120);
    EXPECT_FALSE(back->Visible);
    EXPECT_EQ(back->TabStop, control->TabStop);
    if (auto* m = dynamic_cast<TMemo*>(back.get()))
      EXPECT_EQ(m->Lines, (std::vector<std::string>{"第一行", "", "third"}));
  }
}

TEST(ControlModelTest, OnlyKnownHarmlessKindsAreMade) {
  for (const char* name : {"TForm", "TOleContainer", "tbutton", "TButton ", "", "TWebBrowser"})
    EXPECT_EQ(CreateControl(name), nullptr) << name;
}

TEST(ControlModelTest, BadStreamsLeaveTheControlAsItWas) {
  const auto stream = [](const char* className, auto&& properties) {
    TMemoryStream out;
    TPropWriter writer(out);
    writer.WriteSignature();
    writer.WriteComponentHeader(className, "x");
    properties(writer);
    writer.WriteListEnd();
    writer.WriteListEnd();
    return out.Bytes();
  };
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"another class", stream("TEdit", [](TPropWriter&) {})},
      {"width too large", stream("TButton", [](TPropWriter& w) { w.WriteIntegerProp("Width", 40000); })},
      {"negative height", stream("TButton", [](TPropWriter& w) { w.WriteIntegerProp("Height", -1); })},
      {"left out of range", stream("TButton", [](TPropWriter& w) { w.WriteIntegerProp("Left", 70000); })},
      {"caption of the wrong type", stream("TButton", [](TPropWriter& w) { w.WriteIntegerProp("Caption", 1); })},
      {"good value then a bad one", stream("TButton",
                                           [](TPropWriter& w) {
                                             w.WriteStringProp("Caption", "changed");
                                             w.WriteBooleanProp("Visible", 1);
                                             w.WriteIntegerProp("Enabled", 3);
                                           })},
      {"truncated", {'T', 'P', 'F', '0', 7}},
  };
  for (const Case& c : cases) {
    TButton button;
    button.Name = "keep";
    button.Caption = "kept";
    button.SetBounds(1, 2, 3, 4);
    EXPECT_THROW(button.LoadComponent(c.bytes), EReadError) << c.name;
    EXPECT_EQ(button.Name, "keep") << c.name;
    EXPECT_EQ(button.Caption, "kept") << c.name;
    EXPECT_EQ(button.Width(), 3) << c.name;
  }
  // A memo's lines are a list of strings, nothing else.
  const auto lines = [&](TPropValue value) {
    return stream("TMemo", [&](TPropWriter& w) {
      w.WritePropName("Lines.Strings");
      WriteValue(w, value);
    });
  };
  const TPropValue badLines[] = {TPropValue::String("one"),
                                 TPropValue::List({TPropValue::String("a"), TPropValue::Integer(1)})};
  for (const TPropValue& bad : badLines) {
    TMemo memo;
    memo.Lines = {"kept"};
    EXPECT_THROW(memo.LoadComponent(lines(bad)), EReadError);
    EXPECT_EQ(memo.Lines, std::vector<std::string>{"kept"});
  }
  // Unknown properties are skipped: a newer writer's stream still loads.
  TButton button;
  button.LoadComponent(stream("TButton", [](TPropWriter& w) {
    w.WriteIntegerProp("TabOrder", 2);
    w.WriteStringProp("Caption", "new");
  }));
  EXPECT_EQ(button.Caption, "new");
}

TEST(ControlModelTest, FocusNeedsAWindowAndAVisibleEnabledChain) {
  TPanel panel;
  TEdit edit;
  TLabel label;
  edit.SetParent(&panel);
  EXPECT_TRUE(edit.CanFocus());
  EXPECT_FALSE(label.CanFocus());
  panel.Hide();
  EXPECT_FALSE(edit.CanFocus());
}

}  // namespace
}  // namespace quillet
