#pragma once
// What the main form's .cpp files share: its Qt widgets and the state its
// annotation mode keeps. Private to host/form.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "commands/dialogs/text_options.h"
#include "editing/control/editor.h"
#include "host/review/change_hints.h"
#include "host/review/document_record.h"
#include "host/review/picture_marks.h"
#include "host/review/revision_tracking.h"
#include "host/form/main_form.h"

class QMainWindow;
class QToolBar;

namespace quillet {

class TDVPrintComponent;
class TFlatPainter;
class TPageSetupForm;
class TProtectForm;
class TRulerLink;
class TDVTableItemInfo;

// Reviewers, tracking, change hints, picture marks and the record road.
struct TMainForm::Review {
  Review(TDocViewEdit& editor, TReviewerTable& reviewers, TQvPostil& postil, QWidget* form)
      : tracking(editor, reviewers, formState),
        hints(editor, reviewers, postil),
        marks(editor, reviewers),
        record(editor, reviewers, postil, form) {}
  TTrackingFormState formState;
  TRevisionTracking tracking;
  TChangeHints hints;
  TPictureMarks marks;
  TDocumentRecord record;
};

struct TMainForm::Ui {
  QMainWindow* window = nullptr;  // owned; deleted with the form
  std::map<std::string, QAction*, std::less<>> items;
  std::map<std::string, QMenu*, std::less<>> menus;
  QComboBox* fontName = nullptr;
  QComboBox* fontSize = nullptr;
  QToolBar* bars[4] = {};  // ToolBar1 .. ToolBar4
  QWidget* rulerPanel = nullptr;
  TDVPrintComponent* print = nullptr;  // a child of the window
  std::unique_ptr<TRulerLink> rulerLink;
  TTextOptions pageOptions;
  std::unique_ptr<TPageSetupForm> pageSetup;
  std::unique_ptr<TProtectForm> protect;
  // Declared last among the widgets' owners so it goes first and hands
  // every widget its style back.
  std::unique_ptr<TFlatPainter> flat;

  // What annotation mode took from the editor and its tables, given back
  // when it ends.
  bool undoEnabled = false, redoEnabled = false;
  bool readOnly = false;
  uint32_t editorOptions = 0;
  std::vector<std::pair<int, uint32_t>> tableOptions;  // table number, options
};

}  // namespace quillet
