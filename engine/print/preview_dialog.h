#pragma once
// The print-preview dialog: a tool bar with the zoom box, page navigation,
// print and close over the preview control. The print button closes the
// dialog with mrOk; the caller prints.
#include <functional>
#include <memory>
#include <string>

#include "engine/print/print_preview.h"
#include "engine/view/base_form.h"

class QAction;

namespace quillet {

class TfrmDVPreview : public TfrmDVBase {
 public:
  TfrmDVPreview();
  ~TfrmDVPreview() override;

  TDVPrintPreview& dvpp() const;
  void FormCreate() override;

  // The zoom box's text taken: a zoom mode, or a percentage from 10 to 500
  // ("75" or "75%"); anything else shows "Please enter number from 10 to
  // 500" and keeps the zoom.
  void UpdateZoom();
  // The page edit's number (the current page when it is none), brought into
  // 1..page count, becomes the page shown.
  void GoToPage();
  void UpdateToolbar();

  // The zoom box and the page edit, as the user types into them.
  std::string ZoomText() const;
  void SetZoomText(const std::string& text);
  std::string PageText() const;
  void SetPageText(const std::string& text);
  std::string PageCountText() const;
  // Whether first, previous, next and last are enabled, in that order.
  bool NavigationEnabled(int index) const;
  // The print button's action: the caller disables it when it has nothing
  // to print with.
  QAction* PrintAction() const;

  // Shows an error; a message box unless replaced.
  std::function<void(const std::string& text, const std::string& caption)> ShowError;

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};

}  // namespace quillet
