#pragma once
// Ties the ruler above the editor to it: the ruler shows the editor's side
// margins and the indents of the caret's paragraph, and what the user drags
// on the ruler goes into the document through the editor (one undoable step
// for the paragraphs of the selection) or into the editor's margins.
//
// The ruler stands at the editor's left edge, so both share x positions. An
// indent handle's middle column marks the indent.
#include <QObject>
#include <cstdint>

namespace quillet {

class TCustomDocViewEdit;
class TDVRuler;

class TRulerLink final : public QObject {
 public:
  // Both must outlive the link.
  TRulerLink(TDVRuler& ruler, TCustomDocViewEdit& editor);
  ~TRulerLink() override;
  TRulerLink(const TRulerLink&) = delete;
  TRulerLink& operator=(const TRulerLink&) = delete;

  // Margins and indents from the editor and the caret's paragraph.
  void Follow();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ApplyIndents(int handle);
  void ApplyMargin(int side);

  TDVRuler& ruler_;
  TCustomDocViewEdit& editor_;
};

}  // namespace quillet
