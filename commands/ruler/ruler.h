#pragma once
// The horizontal ruler above an editor: the page's side margins as shaded
// bands, a scale measured from the left margin edge, and four handles for
// the paragraph's first-line, left and right indents (the fourth, a box under
// the left handle, moves first-line and left together). Margin edges and
// handles are dragged with the mouse, snapped to RulerTab; the ruler reports
// clicks, drags and finished changes and leaves applying them to its owner.
// Positions are pixels of the ruler's client area; an indent is the left
// edge of its handle.
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "platform/core/colors.h"
#include "platform/core/geometry.h"
#include "platform/core/lifetime_ref.h"
#include "platform/gfx/canvas.h"

namespace quillet {

class TCustomDocView;
struct TRulerScale;

class TDVRuler : public QWidget {
 public:
  // Handles, and the Index of indent events.
  enum THandle : uint8_t { rhFirstIndent = 0, rhLeftIndent = 1, rhRightIndent = 2, rhBothLeftIndent = 3 };
  // The Index of margin events.
  enum TMarginSide : uint8_t { rmLeft = 0, rmRight = 1 };
  using TRulerEvent = std::function<void(TDVRuler& sender, int index)>;

  static constexpr int32_t HandleWidth = 9;

  explicit TDVRuler(QWidget* parent = nullptr);
  ~TDVRuler() override;

  // Setters refuse what the ruler cannot show (negative values, values past
  // its width, indents closer than MinIndentDist), leaving everything as it
  // was and firing nothing.
  int32_t IndentFirst() const { return indent_[rhFirstIndent]; }
  void SetIndentFirst(int32_t value);
  int32_t IndentLeft() const { return indent_[rhLeftIndent]; }
  void SetIndentLeft(int32_t value);
  int32_t IndentRight() const { return indent_[rhRightIndent]; }
  void SetIndentRight(int32_t value);
  // A margin move carries the indents on its side along; when one of them
  // cannot follow, the move is refused whole.
  int32_t MarginLeft() const { return marginLeft_; }
  void SetMarginLeft(int32_t value);
  int32_t MarginRight() const { return marginRight_; }
  void SetMarginRight(int32_t value);

  // The snapping grid of drags, 1 to 255.
  int32_t RulerTab() const { return rulerTab_; }
  void SetRulerTab(int32_t value);
  // The right indent stays more than this right of the other two.
  int32_t MinIndentDist() const { return minIndentDist_; }
  void SetMinIndentDist(int32_t value);
  // Tick spacing, 1 to 65535.
  int32_t TabDist() const { return tabDist_; }
  void SetTabDist(int32_t value);
  // Multiplies the numbers, 0 to 65535.
  int32_t Factor() const { return factor_; }
  void SetFactor(int32_t value);
  int32_t BorderLeft() const { return border_.Left; }
  int32_t BorderUp() const { return border_.Top; }
  int32_t BorderRight() const { return border_.Right; }
  int32_t BorderDown() const { return border_.Bottom; }
  void SetBorderLeft(int32_t value);
  void SetBorderUp(int32_t value);
  void SetBorderRight(int32_t value);
  void SetBorderDown(int32_t value);
  bool ShowSmallLines() const { return showSmallLines_; }
  void SetShowSmallLines(bool value);
  bool ShowLargeLines() const { return showLargeLines_; }
  void SetShowLargeLines(bool value);
  bool ShowNumbers() const { return showNumbers_; }
  void SetShowNumbers(bool value);
  // Also shows or hides the handles.
  bool ShowIndents() const { return showIndents_; }
  void SetShowIndents(bool value);
  bool ShowMarginHandlers() const { return showMarginHandlers_; }
  void SetShowMarginHandlers(bool value);
  // The frame strips.
  TColor Background() const { return background_; }
  void SetBackground(TColor value);
  // The text band between the margins.
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  const TFont& Font() const { return font_; }

  // The editor the ruler stands for; it reads as none once the editor goes.
  TCustomDocView* DocView() const { return docView_.get(); }
  void SetDocView(TCustomDocView* value);

  // Where a handle is drawn and takes the mouse.
  TRect HandleRect(THandle handle) const;
  // The topmost handle under the point, -1 for none or with the handles hidden.
  int HandleAt(int32_t x, int32_t y) const;
  // x of the left and right margin edges.
  int32_t LeftEdge() const { return border_.Left + marginLeft_; }
  int32_t RightEdge() const { return width() - border_.Right - marginRight_; }
  // The handle being dragged, -1 for none.
  int DraggedHandle() const { return dragged_; }
  bool DraggingLeft() const { return draggingLeft_; }
  bool DraggingRight() const { return draggingRight_; }

  TRulerEvent OnIndentChange, OnIndentDrag, OnIndentClick, OnIndentDblClick;
  TRulerEvent OnMarginChange, OnMarginDrag, OnMarginClick;

  // As wide as its place, 25 pixels high.
  QSize sizeHint() const override { return {300, 25}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  bool IndentAccepted(THandle handle, int32_t value) const;
  void MoveIndent(THandle handle, int32_t value);
  bool SetBorder(int32_t& border, int32_t value);
  template <class T>
  void SetDrawn(T& field, T value);
  TRulerScale Scale() const;
  void Fire(const TRulerEvent& event, int index);
  void HandlePress(THandle handle, int32_t x);
  void HandleMove(int32_t x);
  void UpdateCursor(int32_t x, int32_t y);
  void PaintHandle(TCanvas& canvas, THandle handle, int32_t left, bool ghost);

  std::array<int32_t, 3> indent_{45, 45, 250};
  int32_t marginLeft_ = 30, marginRight_ = 20;
  int32_t rulerTab_ = 10, minIndentDist_ = 50, tabDist_ = 10, factor_ = 1;
  TRect border_{5, 5, 5, 5};
  bool showSmallLines_ = true, showLargeLines_ = true, showIndents_ = true, showNumbers_ = true,
       showMarginHandlers_ = true;
  TColor background_ = clBtnFace;
  TColor color_ = clBtnFace;
  TFont font_;
  TLifetimeRef<TCustomDocView> docView_;

  int dragged_ = -1;
  int32_t dragOfs_ = 0;
  std::array<int32_t, 4> dragStart_{};  // each handle's left when the drag began
  bool draggingLeft_ = false, draggingRight_ = false;
  bool indDblClicked_ = false;
};

}  // namespace quillet
