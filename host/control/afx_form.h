#pragma once
// The control a host embeds: a window that holds nothing of its own but the
// main form, filling it, and the automation members the host drives it by.
//
// Each control makes its main form (which owns the commands module, the
// protection, page setup and pen dialogs and the database module) at
// creation and frees it, before its own window, at destruction, so any
// number of controls live side by side in one process.
//
// The members keep the automation interface's names. Texts are in the
// system code page. A member that cannot do its work raises, with a
// message, and keeps whatever it did before the error (the document members
// change nothing then). The form's own properties that mean nothing on this
// platform are plain stores.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/core/colors.h"
#include "platform/gfx/canvas.h"

namespace quillet {

class TDocumentExchange;
class TMainForm;

// A property value the control cannot take.
class EAfxFormError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum TxActiveFormBorderStyle : int32_t { afbNone = 0, afbSingle = 1, afbSunken = 2, afbRaised = 3 };
enum TxPrintScale : int32_t { poNone = 0, poProportional = 1, poPrintToFit = 2 };
enum TxHelpType : int32_t { htKeyword = 0, htContext = 1 };
// Scoped: the platform's mouse buttons and shift states share these names
// with other values (its shift states are bits, these ordinals).
enum class TxMouseButton : int32_t { mbLeft = 0, mbRight = 1, mbMiddle = 2 };
enum class TxShiftState : int32_t { ssShift = 0, ssAlt = 1, ssCtrl = 2, ssLeft = 3, ssRight = 4, ssMiddle = 5, ssDouble = 6 };

class TafxForm : public QObject {
  Q_OBJECT

 public:
  // Makes the control's window and its main form, embedded. No database
  // connection is made.
  explicit TafxForm(QWidget* parent = nullptr);
  // Fires OnDestroy, then frees the main form and the window.
  ~TafxForm() override;
  TafxForm(const TafxForm&) = delete;
  TafxForm& operator=(const TafxForm&) = delete;

  // The control's window, for the host to place.
  QWidget* Widget() const;
  TMainForm& MainForm() const { return *mainForm_; }

  // ---- the form's properties ----
  bool Visible() const;
  void SetVisible(bool value);
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool value) { autoScroll_ = value; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value) { autoSize_ = value; }
  int32_t AxBorderStyle() const { return axBorderStyle_; }
  // EAfxFormError for a value outside the enumeration.
  void SetAxBorderStyle(int32_t value);
  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  TColor Color() const { return color_; }
  void SetColor(TColor value) { color_ = value; }
  const TFont& Font() const { return font_; }
  // EAfxFormError for an empty name or a height of 0.
  void SetFont(const TFont& value);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool value) { keyPreview_ = value; }
  int32_t PixelsPerInch() const { return pixelsPerInch_; }
  // EAfxFormError for a resolution not above 0.
  void SetPixelsPerInch(int32_t value);
  int32_t PrintScale() const { return printScale_; }
  void SetPrintScale(int32_t value);
  bool Scaled() const { return scaled_; }
  void SetScaled(bool value) { scaled_ = value; }
  // Whether the control's window holds the active window's focus.
  bool Active() const;
  bool DropTarget() const { return dropTarget_; }
  void SetDropTarget(bool value) { dropTarget_ = value; }
  std::string HelpFile() const { return helpFile_; }
  void SetHelpFile(const std::string& value) { helpFile_ = value; }
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }
  bool AlignDisabled() const { return false; }
  int32_t VisibleDockClientCount() const { return 0; }
  bool Enabled() const;
  void SetEnabled(bool value);
  int16_t Cursor() const { return cursor_; }
  void SetCursor(int16_t value) { cursor_ = value; }
  int32_t HelpType() const { return helpType_; }
  void SetHelpType(int32_t value);
  std::string HelpKeyword() const { return helpKeyword_; }
  void SetHelpKeyword(const std::string& value) { helpKeyword_ = value; }
  // The window's size in pixels.
  int32_t Width() const;
  int32_t Height() const;

  // ---- the control's own properties ----
  bool ReadOnly() const;
  void SetReadOnly(bool value);
  // The database names: plain stores that take effect at the next
  // connection, load or save.
  std::string ComputerName() const;
  void SetComputerName(const std::string& value);
  std::string TableName() const;
  void SetTableName(const std::string& value);
  std::string FieldName() const;
  void SetFieldName(const std::string& value);
  std::string IDName() const;
  void SetIDName(const std::string& value);
  std::string IDValue() const;
  void SetIDValue(const std::string& value);
  std::string ServerName() const;
  void SetServerName(const std::string& value);
  // The editor's tracking flag alone: no reviewer, no colour.
  bool IsStartTrace() const;
  void SetIsStartTrace(bool value);
  // Do nothing; read as false.
  bool AcceptChange() const { return false; }
  void SetAcceptChange(bool) {}
  bool Connected() const { return false; }
  // The reviewer name tracking and annotations use; setting it gives the
  // annotation layer that name, or the login name when it is empty.
  std::string UserName() const;
  void SetUserName(const std::string& value);
  // Whether the document has annotations, loaded or drawn.
  bool isPostil() const;
  // The identifiers of the seal pictures held.
  std::string BmpsID() const;

  // ---- methods ----
  // The record the database names give, then laid out; errors propagate.
  void LoadFromDB();
  void UpdateToDB();
  void StartTrace();
  void StopTrace();
  // Does nothing; false.
  bool Connect() { return false; }
  void StartPostil();
  // Leaves annotation mode as the form's own item does: the editor and its
  // tables get back what annotation mode took.
  void StopPostil();
  std::string GetAsciiData();
  void PutAsciiData(std::string_view data);
  void InsertAsciiData(std::string_view data);
  void InsertAsciiDataAtFirst(std::string_view data);
  std::string ExportToText();
  void PutBmp(const std::string& bmpID, std::string_view bmp);
  void DVMenuControl(std::string_view dvMenuName, bool dvMenuEnable, bool dvMenuVisible);
  void AddTuZhang(const std::string& bmpID);
  void ClearPostil();
  // Table cells: table from 1, row and column from 0. A table that is not
  // there reads "" and changes nothing; a cell it lacks raises.
  std::string GetTableContent(int32_t Num, int32_t Row, int32_t Col);
  void InsertTableContent(const std::string& Data, int32_t Num, int32_t Row, int32_t Col);
  void ClearTableCell(int32_t Num, int32_t Row, int32_t Col);
  void SetTableCellReadOnly(int32_t Num, int32_t Row, int32_t Col);
  // The window's height, then its width; EAfxFormError for a negative size.
  void SetBorderSize(int32_t DVHeight, int32_t DVWidth);
  void CanPostil(bool Flag);
  bool ConnectToServer();

  // A character key the control's window received: OnKeyPress may change
  // it; the key returned (0: none) is what the window goes on with.
  int16_t KeyPress(int16_t key);

 signals:
  void OnActivate();
  void OnClick();
  // Bound only after creation is over, so never fired at start-up.
  void OnCreate();
  // Declared for hosts that bind it; never fired.
  void OnDVEditorKeyDown(int16_t& Key, int32_t& Shrift);
  void OnDblClick();
  void OnDestroy();
  void OnDeactivate();
  // The character's code; what a directly connected handler leaves in Key
  // is the character the window processes.
  void OnKeyPress(int16_t& Key);
  void OnPaint();

 private:
  class TControlWindow;
  void ActiveFormCreate();

  // Made in this order, freed in reverse.
  // Held weakly: a host that parented the window may free it first.
  QPointer<QWidget> window_;
  std::unique_ptr<TMainForm> mainForm_;
  std::unique_ptr<TDocumentExchange> exchange_;

  bool autoScroll_ = false;
  bool autoSize_ = false;
  int32_t axBorderStyle_ = afbNone;
  std::string caption_ = "afxForm";
  TColor color_ = clBtnFace;
  TFont font_;
  bool keyPreview_ = false;
  int32_t pixelsPerInch_ = 96;
  int32_t printScale_ = poProportional;
  bool scaled_ = true;
  bool dropTarget_ = false;
  std::string helpFile_;
  bool doubleBuffered_ = false;
  int16_t cursor_ = 0;
  int32_t helpType_ = htContext;
  std::string helpKeyword_;
};

}  // namespace quillet
