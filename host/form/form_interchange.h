#pragma once
// The main form's word-document import and export and its hyperlink jump,
// as one unit the form calls from its menu items and editor events.
//
// Import offers RTF, the formats the text converters list and XML, each
// named by its format ("DOC 文档(*.doc)"); the converter of a chosen entry is
// found by its format, not by its place in the machine's list. Every import
// is a replacing load through the document record: the file is read whole
// before anything changes, so a cancelled or failed import keeps the
// document, its reviewers and its annotations. XML shows in the XML import's
// own style sheet (DVStyle1); a failed XML load keeps the sheet, the
// document and the folder hyperlinks are looked up in.
//
// A hyperlink jump opens an XML document beside the last one loaded: the
// link's tag is a plain file name without ".xml" (no separator, no "..", no
// NUL or control character, not empty, at most kMaxDocumentNameBytes).
// Tags are document data, never paths: any other tag opens nothing and
// reports why.
//
// Errors: nothing here raises for a failed import, export or jump. Each
// answers a TInterchangeResult whose message the form shows in a message
// box (ShowInterchangeResult); a jump, which runs after the click that asked
// for it, shows its own.
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/style/style_sheet.h"
#include "interchange/convert/text_converter.h"
#include "interchange/xml/docview_xml.h"

namespace quillet {

class TCustomDocView;
class TCustomDocViewEdit;
class TDocumentRecord;

enum TInterchangeOutcome : uint8_t { ioDone, ioCancelled, ioFailed };

struct TInterchangeResult {
  TInterchangeOutcome Outcome = ioDone;
  std::string Caption;  // of the message box: the operation's title
  std::string Message;  // why it failed (UTF-8); empty unless ioFailed
  bool Failed() const { return Outcome == ioFailed; }
};

// Shows a failed result's message as an error; done and cancelled show nothing.
void ShowInterchangeResult(const TInterchangeResult& result);

// One entry of the import or export dialog's filter.
struct TInterchangeFormat {
  enum TKind : uint8_t { fkRTF, fkXML, fkConverter };
  TKind Kind = fkRTF;
  std::string Caption;   // "DOC 文档(*.doc)"
  std::string Patterns;  // "*.doc"
  std::string Format;    // the converter's format; empty for RTF and XML
};

class TFormInterchange {
 public:
  static constexpr std::string_view kImportTitle = "导入文档";
  static constexpr std::string_view kExportTitle = "导出文档";
  // With ".xml" a hyperlink's document name fills at most a file name.
  static constexpr size_t kMaxDocumentNameBytes = 251;

  // Neither the editor nor the record is owned; both outlive this unit.
  // Without a converter the office suite's converters are used.
  TFormInterchange(TCustomDocViewEdit& editor, TDocumentRecord& record,
                   std::unique_ptr<TDVTextConverter> converter = nullptr);
  ~TFormInterchange();
  TFormInterchange(const TFormInterchange&) = delete;
  TFormInterchange& operator=(const TFormInterchange&) = delete;

  // The XML import's style sheet and the XML import into the editor (root
  // "book", encoding "windows-1250", the file's styles ignored).
  TDVStyle DVStyle1;
  TDocViewXML DVXML;
  TDVTextConverter& DVOfficeCon() { return *converter_; }

  // After an XML document has replaced the editor's: the form fits its page
  // geometry to the editor again.
  std::function<void()> OnXMLLoaded;

  // The dialogs' entries in order, and their "Caption|Patterns|..." filter.
  std::vector<TInterchangeFormat> ImportFormats();
  std::vector<TInterchangeFormat> ExportFormats();
  static std::string FilterText(const std::vector<TInterchangeFormat>& formats);

  // The import dialog, then the chosen file as ImportFile does.
  TInterchangeResult FileImportClick();
  // The file read in the entry's format replaces the editor's document.
  TInterchangeResult ImportFile(const std::string& fileName, const TInterchangeFormat& format);
  // The export dialog, then the document as ExportFile writes it. Without
  // an export converter no dialog opens and the result says so.
  TInterchangeResult FileExportClick();
  // The document through the entry's converter into the file; a name
  // without extension gets the format's first one.
  TInterchangeResult ExportFile(const std::string& fileName, const TInterchangeFormat& format);

  // The URL of hyperlink id: "#" and the number.
  static std::string HyperlinkURL(int32_t id);
  void DVEditorURLNeeded(TCustomDocView& sender, int32_t id, std::string& url);
  // Takes the link's tag now and opens its document once the click that
  // fired the jump has been handled: the load replaces the items (and
  // closes the cell editor) that the click is still running in.
  void DVEditorJump(TCustomDocView& sender, int32_t id);
  // Opens the document a tag names (bytes in the system code page).
  TInterchangeResult JumpTo(std::string_view tag);
  // Whether a name (UTF-8) is a plain file name a hyperlink may open.
  static bool IsPlainDocumentName(std::string_view name);

 private:
  TInterchangeResult ReadReplacing(const std::string& fileName, const TInterchangeFormat& format);
  void LoadXML(const std::string& fileName);

  TCustomDocViewEdit& editor_;
  TDocumentRecord& record_;
  std::unique_ptr<TDVTextConverter> converter_;
  // Receives the queued jumps; goes with this unit or with the editor's
  // window, whichever goes first, and takes pending jumps with it.
  QPointer<QObject> jumpContext_;
};

}  // namespace quillet
