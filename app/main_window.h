#pragma once
// The host program's window: the editor showing one document, from the
// embedded default store's record or from a DVF file, with an annotation
// mode in which the mouse writes pen strokes and stamps seals over the page.
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>

class QAction;

namespace quillet {

class TActionDM;
class TDbDm;
class TDocViewEdit;
class TDVRuler;
class TDVStyle;
class TFlatPainter;
class TPostilBinding;
class TPostilDlg;
class TQvPostil;
class TRulerLink;

class TMainWindow : public QMainWindow {
 public:
  TMainWindow();
  ~TMainWindow() override;

  // Shows the default record, made with the demo document on a first run.
  // False, with the reason in `error`, when it cannot be read.
  bool OpenDefaultStore(std::string& error);
  // Shows a DVF file. False, with the reason in `error`, when it is not one.
  bool OpenFile(const std::string& fileName, std::string& error);

  TDocViewEdit& View() { return *view_; }
  TQvPostil& Postil() { return *postil_; }
  TPostilBinding& PostilBinding() { return *binding_; }
  TPostilDlg& PenDialog() { return *penDialog_; }
  // Paints the window's tool bars and controls flat.
  TFlatPainter& FlatPainter() { return *flat_; }
  TDVRuler& Ruler() { return *ruler_; }

  // Annotation mode: on, the left button draws instead of selecting.
  void SetAnnotating(bool on);
  // Arms a seal from a bitmap file for the next click; false when the file
  // is no bitmap.
  bool ArmSealFromFile(const std::string& fileName);
  // Writes the document with its edits and annotations back where it came
  // from (Ctrl+S); false, with the reason in `error`, when that failed.
  bool SaveDocument(std::string& error);

 protected:
  // Unsaved edits and annotations are written back when the window closes.
  void closeEvent(QCloseEvent* event) override;

 private:
  void Shown(const std::string& title);
  // The commands in a menu bar and a tool bar.
  void BuildMenus();
  void BuildAnnotationActions();
  void ChooseSeal();

  std::unique_ptr<TDVStyle> style_;
  std::unique_ptr<TDocViewEdit> view_;
  std::unique_ptr<TDbDm> db_;
  std::unique_ptr<TQvPostil> postil_;
  std::unique_ptr<TPostilBinding> binding_;
  std::unique_ptr<TPostilDlg> penDialog_;
  // Reviewers, tracking, change hints and the record road they travel by.
  struct Review;
  std::unique_ptr<Review> review_;
  TDVRuler* ruler_ = nullptr;  // above the editor, owned by the window
  std::unique_ptr<TRulerLink> rulerLink_;
  std::string fileName_;  // empty: the default record
  bool opened_ = false;
  uint64_t savedGeneration_ = 0;
  QAction* annotate_ = nullptr;
  // The editor's commands; undo and redo act on the annotations while the
  // annotation mode is on. Owned by the window.
  TActionDM* commands_ = nullptr;
  // Declared last, so it goes first and hands the widgets their styles back.
  std::unique_ptr<TFlatPainter> flat_;
};

}  // namespace quillet
