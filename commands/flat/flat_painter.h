#pragma once
// Flat painting of a form's menus, tool bars and controls. While active the
// painter sets its own style on the form's qualifying widgets, remembering
// each widget's previous style; switched off or destroyed it gives every one
// of them its previous style back. The sets of painted kinds and containers
// and the colours are read at paint time.
#include <memory>
#include <vector>

#include <QFont>
#include <QObject>
#include <QPointer>

#include "commands/flat/flat_colors.h"
#include "commands/flat/flat_kinds.h"

class QStyle;
class QWidget;

namespace quillet {

class TFlatStyle;

class TFlatPainter : public QObject {
 public:
  // The form whose widgets and menus are painted; it outlives the painter
  // or is the painter's parent.
  explicit TFlatPainter(QWidget* form);
  ~TFlatPainter() override;

  bool Active() const { return active_; }
  void SetActive(bool on);
  const QFont& Font() const { return font_; }
  void SetFont(const QFont& font);
  TFlatControls FlatControls() const { return controls_; }
  void SetFlatControls(TFlatControls set);
  TFlatContainers FlatContainers() const { return containers_; }
  void SetFlatContainers(TFlatContainers set);
  // Widgets with a style of their own keep it unless this is on.
  bool OverrideOwnerDraw() const { return override_; }
  void SetOverrideOwnerDraw(bool on);
  // Widgets and menus added to the form later are painted too.
  bool AutoDetect() const { return autoDetect_; }
  void SetAutoDetect(bool on);

  // Read at paint time.
  TFlatColors Colors;
  int IconWidth = 24;
  bool DrawSelect = true;
  bool Gradient = false;
  bool FlatMenu = false;  // the popup's flat frame and shadow
  bool DrawMenuBar = false;
  int GrayLevel = 10;
  int DimLevel = 30;
  int ColorDepth = 0;  // bits per pixel; 0: the screen's

  // The working colours for one paint.
  TFlatScheme Scheme() const;
  // Whether the widget is painted flat now, and as what.
  std::optional<TFlatControl> PaintedKind(const QWidget* widget) const;
  bool Paints(const QWidget* widget) const { return PaintedKind(widget).has_value(); }
  QStyle* Style() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct THooked {
    QPointer<QWidget> Widget;
    QPointer<QStyle> Previous;  // null: the application's style
  };
  void InitItems(bool enable);
  void InitItem(QWidget* widget);
  void Hook(QWidget* widget);
  void HookMenu(QWidget* menu);
  void Rehook();
  bool Qualifies(const QWidget* widget) const;
  void WatchLater();

  QPointer<QWidget> form_;
  std::unique_ptr<TFlatStyle> style_;
  std::vector<THooked> hooked_;
  QFont font_;
  bool active_ = false;
  bool override_ = false;
  bool autoDetect_ = false;
  TFlatControls controls_ = AllFlatControls;
  TFlatContainers containers_ = AllFlatContainers;
};

}  // namespace quillet
