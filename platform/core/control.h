#pragma once
// Controls that a document embeds in its text, as a model: kind, name,
// bounds, visibility, parent, focus rules and the component stream they are
// stored in. The window layer realises a control as a widget later; documents
// only place, store and own it.
//
// Only the kinds CreateControl knows can come from a file: plain widgets whose
// stored form is data (caption, text, a check mark, bounds). A stored class
// name is never used to create anything else.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class TPropWriter;
struct TPropValue;
class TStream;

class TControl {
 public:
  // Bounds a stored control may have; larger or negative sizes are refused.
  static constexpr int32_t kMaxSide = 32767;
  static constexpr int32_t kMinPos = -32768, kMaxPos = 32767;

  virtual ~TControl() = default;
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  // The kind as documents store it ("TButton", ...).
  virtual std::string_view ClassName() const = 0;
  // A windowed control has a window of its own and can take the focus; a
  // graphic control (a label) draws on its parent's.
  virtual bool Windowed() const { return true; }

  std::string Name;
  int32_t Left = 0, Top = 0;
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // Sizes are clamped to 0..kMaxSide.
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  void SetWidth(int32_t width) { SetBounds(Left, Top, width, height_); }

  bool Visible = true;
  bool Enabled = true;
  bool TabStop = false;
  void Show() { Visible = true; }
  void Hide() { Visible = false; }

  // The control it lives in; not owned.
  TControl* Parent() const { return parent_; }
  void SetParent(TControl* parent) { parent_ = parent; }
  // Windowed, visible and enabled, and so is every parent.
  bool CanFocus() const;

  // The component stream: signature, class name, name, the properties that
  // differ from their defaults.
  std::vector<uint8_t> SaveComponent() const;
  // Reads a component stream of this control's own class. Nothing changes
  // unless the whole stream is good: a stream of another class, a property
  // of the wrong type or a value out of range raises EReadError. Unknown
  // properties and child components are skipped, never created.
  void LoadComponent(const std::vector<uint8_t>& bytes);

 protected:
  TControl() = default;
  virtual void WriteOwnProperties(TPropWriter& /*writer*/) const {}
  // Checks (apply false) or takes (apply true) a property of the kind;
  // false when the kind has no such property. A bad value raises.
  virtual bool OwnProperty(std::string_view /*name*/, const TPropValue& /*value*/, bool /*apply*/) { return false; }

 private:
  void Property(std::string_view name, const TPropValue& value, bool apply);

  int32_t width_ = 0, height_ = 0;
  TControl* parent_ = nullptr;
};

// A control with a caption: button, check box, panel, label.
class TCaptionControl : public TControl {
 public:
  std::string Caption;

 protected:
  void WriteOwnProperties(TPropWriter& writer) const override;
  bool OwnProperty(std::string_view name, const TPropValue& value, bool apply) override;
};

class TButton final : public TCaptionControl {
 public:
  TButton() { TabStop = true; }
  std::string_view ClassName() const override { return "TButton"; }
};

class TCheckBox final : public TCaptionControl {
 public:
  TCheckBox() { TabStop = true; }
  std::string_view ClassName() const override { return "TCheckBox"; }
  bool Checked = false;

 protected:
  void WriteOwnProperties(TPropWriter& writer) const override;
  bool OwnProperty(std::string_view name, const TPropValue& value, bool apply) override;
};

class TPanel final : public TCaptionControl {
 public:
  std::string_view ClassName() const override { return "TPanel"; }
};

class TLabel final : public TCaptionControl {
 public:
  std::string_view ClassName() const override { return "TLabel"; }
  bool Windowed() const override { return false; }
};

class TEdit final : public TControl {
 public:
  TEdit() { TabStop = true; }
  std::string_view ClassName() const override { return "TEdit"; }
  std::string Text;

 protected:
  void WriteOwnProperties(TPropWriter& writer) const override;
  bool OwnProperty(std::string_view name, const TPropValue& value, bool apply) override;
};

// Several lines of text, stored as the list property "Lines.Strings".
class TMemo final : public TControl {
 public:
  TMemo() { TabStop = true; }
  std::string_view ClassName() const override { return "TMemo"; }
  std::vector<std::string> Lines;

 protected:
  void WriteOwnProperties(TPropWriter& writer) const override;
  bool OwnProperty(std::string_view name, const TPropValue& value, bool apply) override;
};

// A new control of a known kind: "TButton", "TCheckBox", "TEdit", "TLabel",
// "TMemo" or "TPanel" (exact names). Null for any other name.
std::unique_ptr<TControl> CreateControl(std::string_view className);

}  // namespace quillet
