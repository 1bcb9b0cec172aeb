#include "platform/core/control.h"

#include <algorithm>

#include "platform/core/property_stream.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

[[noreturn]] void Bad(std::string_view what, std::string_view name) {
  throw EReadError("Invalid control stream: " + std::string(what) + " " + std::string(name));
}

int32_t IntValue(std::string_view name, const TPropValue& value, int64_t min, int64_t max) {
  if (value.kind != TPropKind::Integer) Bad("not an integer:", name);
  if (value.integer < min || value.integer > max) Bad("value out of range:", name);
  return static_cast<int32_t>(value.integer);
}

bool BoolValue(std::string_view name, const TPropValue& value) {
  if (value.kind != TPropKind::Boolean) Bad("not a boolean:", name);
  return value.integer != 0;
}

const std::string& StringValue(std::string_view name, const TPropValue& value) {
  if (value.kind != TPropKind::String) Bad("not a string:", name);
  return value.text;
}

}  // namespace

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  Left = left;
  Top = top;
  width_ = std::clamp(width, 0, kMaxSide);
  height_ = std::clamp(height, 0, kMaxSide);
}

bool TControl::CanFocus() const {
  if (!Windowed()) return false;
  // Parents are few; a cycle would be a programming error, so the walk is
  // bounded anyway.
  int depth = 0;
  for (const TControl* c = this; c && depth < 256; c = c->parent_, ++depth)
    if (!c->Visible || !c->Enabled) return false;
  return true;
}

std::vector<uint8_t> TControl::SaveComponent() const {
  TMemoryStream stream;
  TPropWriter writer(stream);
  writer.WriteSignature();
  writer.WriteComponentHeader(ClassName(), Name);
  if (Left != 0) writer.WriteIntegerProp("Left", Left);
  if (Top != 0) writer.WriteIntegerProp("Top", Top);
  if (width_ != 0) writer.WriteIntegerProp("Width", width_);
  if (height_ != 0) writer.WriteIntegerProp("Height", height_);
  if (!Visible) writer.WriteBooleanProp("Visible", false);
  if (!Enabled) writer.WriteBooleanProp("Enabled", false);
  writer.WriteBooleanProp("TabStop", TabStop);
  WriteOwnProperties(writer);
  writer.WriteListEnd();  // properties
  writer.WriteListEnd();  // children: none
  return stream.Bytes();
}

void TControl::Property(std::string_view name, const TPropValue& value, bool apply) {
  if (name == "Left" || name == "Top") {
    const int32_t v = IntValue(name, value, kMinPos, kMaxPos);
    if (apply) (name == "Left" ? Left : Top) = v;
  } else if (name == "Width" || name == "Height") {
    const int32_t v = IntValue(name, value, 0, kMaxSide);
    if (apply) (name == "Width" ? width_ : height_) = v;
  } else if (name == "Visible" || name == "Enabled" || name == "TabStop") {
    const bool v = BoolValue(name, value);
    if (apply) (name == "Visible" ? Visible : name == "Enabled" ? Enabled : TabStop) = v;
  } else {
    OwnProperty(name, value, apply);  // unknown properties are skipped
  }
}

void TControl::LoadComponent(const std::vector<uint8_t>& bytes) {
  const TPropObject object = ReadComponentStream(bytes);
  if (object.className != ClassName()) Bad("a component of another class:", object.className);
  // Everything is checked before anything is taken, so a bad stream leaves
  // the control as it was.
  for (const TProp& prop : object.properties) Property(prop.name, prop.value, false);
  Name = object.name;
  for (const TProp& prop : object.properties) Property(prop.name, prop.value, true);
}

void TCaptionControl::WriteOwnProperties(TPropWriter& writer) const {
  if (!Caption.empty()) writer.WriteStringProp("Caption", Caption);
}

bool TCaptionControl::OwnProperty(std::string_view name, const TPropValue& value, bool apply) {
  if (name != "Caption") return false;
  const std::string& caption = StringValue(name, value);
  if (apply) Caption = caption;
  return true;
}

void TCheckBox::WriteOwnProperties(TPropWriter& writer) const {
  TCaptionControl::WriteOwnProperties(writer);
  if (Checked) writer.WriteBooleanProp("Checked", true);
}

bool TCheckBox::OwnProperty(std::string_view name, const TPropValue& value, bool apply) {
  if (name != "Checked") return TCaptionControl::OwnProperty(name, value, apply);
  const bool checked = BoolValue(name, value);
  if (apply) Checked = checked;
  return true;
}

void TEdit::WriteOwnProperties(TPropWriter& writer) const {
  if (!Text.empty()) writer.WriteStringProp("Text", Text);
}

bool TEdit::OwnProperty(std::string_view name, const TPropValue& value, bool apply) {
  if (name != "Text") return false;
  const std::string& text = StringValue(name, value);
  if (apply) Text = text;
  return true;
}

void TMemo::WriteOwnProperties(TPropWriter& writer) const {
  if (Lines.empty()) return;
  std::vector<TPropValue> lines;
  for (const std::string& line : Lines) lines.push_back(TPropValue::String(line));
  writer.WritePropName("Lines.Strings");
  WriteValue(writer, TPropValue::List(std::move(lines)));
}

bool TMemo::OwnProperty(std::string_view name, const TPropValue& value, bool apply) {
  if (name != "Lines.Strings") return false;
  if (value.kind != TPropKind::List) Bad("not a list:", name);
  std::vector<std::string> lines;
  for (const TPropValue& line : value.list) lines.push_back(StringValue(name, line));
  if (apply) Lines = std::move(lines);
  return true;
}

std::unique_ptr<TControl> CreateControl(std::string_view className) {
  if (className == "TButton") return std::make_unique<TButton>();
  if (className == "TCheckBox") return std::make_unique<TCheckBox>();
  if (className == "TEdit") return std::make_unique<TEdit>();
  if (className == "TLabel") return std::make_unique<TLabel>();
  if (className == "TMemo") return std::make_unique<TMemo>();
  if (className == "TPanel") return std::make_unique<TPanel>();
  return nullptr;
}

}  // namespace quillet
