#pragma once
// The word-processor surface the control shows: the editor with its style
// sheets, print component, ruler, tool bars, menus and popup, the annotation
// layer with its pen and seals, the reviewers and tracking, the table cells
// the host reaches, and the database module.
//
// Menu items, tool buttons and boxes carry the form's component names as
// their object names (a button is its item's name + "Button"), so hosts and
// tests drive them by name. Qt's widgets stay inside the .cpp files.
#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/geometry.h"
#include "platform/gfx/canvas.h"

class QAction;
class QComboBox;
class QMenu;
class QWidget;

namespace quillet {

class TActionDM;
class TDbDm;
class TDocViewEdit;
class TDVPrint;
class TDVRuler;
class TDVStyle;
class TFlatPainter;
class TFormInterchange;
class TKbHook;
class TTablet;
class TPostilBinding;
class TPostilDlg;
class TPressureSource;
class TPrinterDevice;
class TProtectForm;
class TQvPostil;
class TReviewerTable;
class TDocumentRecord;
class TRevisionTracking;
class TTableCells;
struct TTextOptions;

// The page's text area in screen pixels: the printer's page less the print
// margins (millimetres, each at least 0 past the unprintable edge), scaled
// from the printer's resolution to the screen's. None when the device does
// not answer (no resolution or no page).
std::optional<TSize> ScreenPageSize(const TPrinterDevice& printer, const TRect& marginsMM, int32_t screenPpiX,
                                    int32_t screenPpiY);
// The text area used when no printer answers.
constexpr TSize kFallbackPageSize{643, 971};

class TMainForm : public QObject {
 public:
  // printer: the device the print component prints on and the page is
  // measured from; none gives the print component's own (a PDF file on a
  // machine without a printer).
  explicit TMainForm(QWidget* parent = nullptr, TPrinterDevice* printer = nullptr);
  ~TMainForm() override;
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // The form's window (a main window; the control embeds it).
  QWidget* Widget() const;

  TDocViewEdit& DVEditor() const { return *editor_; }
  TDVStyle& DVStyle() const { return *style_; }
  TQvPostil& qvPostil() const { return *postil_; }
  TPostilBinding& PostilBinding() const { return *binding_; }
  TPostilDlg& PenDialog() const { return *penDialog_; }
  TDbDm& DbDm() const { return *db_; }
  TReviewerTable& Reviewers() const { return *reviewers_; }
  TDocumentRecord& Record() const { return *record_; }
  TRevisionTracking& Tracking() const { return *tracking_; }
  TTableCells& TableCells() const { return *cells_; }
  // Import, export and the hyperlink jump, with the XML import's sheet.
  TFormInterchange& Interchange() const { return *interchange_; }
  TActionDM& Commands() const { return *commands_; }
  TDVPrint& DVPrint() const;
  TTextOptions& PageOptions() const;
  TDVRuler& Ruler() const { return *ruler_; }
  TFlatPainter& FlatPainter() const;

  // A menu item, tool button, box or menu of the form by its component name;
  // null when there is none.
  QAction* MenuItem(std::string_view name) const;
  QWidget* Control(std::string_view name) const;
  QMenu* Menu(std::string_view name) const;
  QMenu* PopupMenu() const { return popup_; }

  // Enables and shows (or not) the menu item of that name and then the
  // component named name + "Button"; a name that is no menu item changes
  // nothing.
  void MenuControl(std::string_view name, bool enable, bool visible);

  // The record the database module names, and back (reviewers and
  // annotations travel with it); errors propagate.
  void LoadFromDB();
  void UpdateToDB();

  // Revision tracking for the current user, and off.
  void StartTraceClick();
  void StopTraceClick();
  // Pen annotation mode: the editor read-only, its tables locked, the mouse
  // drawing; leaving it gives the editor and tables back their state.
  void BeginCommentClick();
  void EndCommentClick();
  bool Annotating() const;
  // Mouse input feeds the annotation layer (the host may withhold it).
  void SetCanPostil(bool value);
  // The next click in annotation mode places the seal held under bmpID.
  void AddTuZhang(const std::string& bmpID);
  // Asks for a bitmap file, stores it as a seal and arms it.
  void btnSumbolClick();
  // A bitmap file stored as a seal under its file name and armed; false
  // when the file is no bitmap.
  bool ArmSealFromFile(const std::string& fileName);
  // True when the document carries an annotation line.
  bool havePostil() const;
  // The tablet whose pressure thins the pen; none for the mouse only.
  void SetPressureSource(const TPressureSource* source);
  // The pen tablet over the editor (present once a stylus was seen).
  TTablet& Tablet() const { return *tablet_; }
  // The keyboard hook: enabled, its reports reach the table cells' keys.
  TKbHook& KbHook() const { return *kbHook_; }

  // The page geometry for the editor's width: the page's text area, the
  // gutter that centres it, the ruler and the annotations' offset.
  void DVEditorResize();
  TSize PageTextSize() const { return pageSize_; }
  int32_t Gutter() const { return gutter_; }

  // The close check: the program's when it set one, else the save command's.
  bool FormCloseQuery();
  std::function<bool()> OnCloseQuery;
  // The save command's close question for the document; false keeps it.
  bool SaveCommandCloseQuery();

  // The undo and redo items name what they would take back.
  void UpdateUndoMenu();
  // Menu items, buttons and font boxes follow the caret's text style.
  void FollowCaret();

 private:
  struct Ui;
  void CreateComponents(TPrinterDevice* printer);
  void BuildUi();
  void BindEditor();
  void FormCreate();
  // The handler of a menu item, by its name.
  std::function<void()> Handler(std::string_view name);
  void RunCommand(std::string_view actionName);
  void CloseCellEditors();
  void FollowParagraph();
  void UpdateSelectionItems();
  void SetTableItemsEnabled(bool enabled);
  void ApplyFontStyle(int32_t code);
  void PrintWithoutGutter(std::string_view actionName);
  void FilePageSetupClick();
  void PopupMenu1Popup();
  void PaintPageGuides(TCanvas& canvas);
  void SaveLastFontChoice();

  std::unique_ptr<TDVStyle> style_;
  std::unique_ptr<TDocViewEdit> editor_;
  std::unique_ptr<TDbDm> db_;
  std::unique_ptr<TQvPostil> postil_;
  std::unique_ptr<TPostilBinding> binding_;
  std::unique_ptr<TPostilDlg> penDialog_;
  std::unique_ptr<TReviewerTable> reviewers_;
  struct Review;
  std::unique_ptr<Review> review_;
  TRevisionTracking* tracking_ = nullptr;
  TDocumentRecord* record_ = nullptr;
  std::unique_ptr<TTableCells> cells_;
  std::unique_ptr<TFormInterchange> interchange_;
  std::unique_ptr<TTablet> tablet_;
  std::unique_ptr<TKbHook> kbHook_;
  std::unique_ptr<Ui> ui_;
  TActionDM* commands_ = nullptr;  // owned by the form's window
  TDVRuler* ruler_ = nullptr;      // owned by the form's window
  QMenu* popup_ = nullptr;
  TSize pageSize_ = kFallbackPageSize;
  int32_t gutter_ = 0;
  bool updatingUI_ = false;
};

}  // namespace quillet
