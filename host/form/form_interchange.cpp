#include "host/form/form_interchange.h"

#include <QObject>
#include <QWidget>
#include <algorithm>
#include <cctype>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "editing/control/editor.h"
#include "engine/model/dv_data.h"
#include "engine/model/rtf_read_properties.h"
#include "host/form/main_style_sheet.h"
#include "host/review/document_record.h"
#include "platform/core/abort.h"
#include "platform/core/code_page.h"
#include "platform/ui/application.h"
#include "platform/ui/common_dialogs.h"

namespace quillet {

namespace {

constexpr std::string_view kRTFCaption = "RTF(*.rtf)", kRTFPatterns = "*.rtf";
constexpr std::string_view kXMLCaption = "XML文件(*.xml)", kXMLPatterns = "*.xml";

// A failure whose message is ready for the user.
class EInterchangeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string Quoted(const std::string& fileName) { return "\"" + fileName + "\""; }

std::string RTFReason(TDVRTFErrorCode code) {
  switch (code) {
    case rtf_ec_StackUnderflow: return "a group is closed that was never opened";
    case rtf_ec_StackOverflow: return "its groups nest too deeply";
    case rtf_ec_UnmatchedBrace: return "a group is never closed";
    case rtf_ec_InvalidHex: return "it holds damaged hexadecimal data";
    case rtf_ec_BadTable: return "it holds a damaged table";
    case rtf_ec_Assertion: return "no RTF reader is installed";
    case rtf_ec_EndOfFile: return "it ends too early";
    case rtf_ec_FileOpenError: return "it cannot be opened";
    case rtf_ec_InvalidPicture: return "it holds a damaged picture";
    case rtf_ec_Aborted: return "reading was stopped";
    default: return "it is not an RTF document";
  }
}

// The document an RTF import reads into before it replaces the editor's.
// What the reader asks of the document's owner is asked of the editor's.
class TRTFScratchData final : public TCustomDVData {
 public:
  explicit TRTFScratchData(TCustomDVData& target) : target_(target) {}
  TControl* GetParentControl() const override { return target_.GetParentControl(); }
  void ReadHyperlink(const std::string& target, const std::string& extras, TDVLoadFormat docFormat,
                     int32_t& styleNo, TDVTag& itemTag, std::string& itemName) override {
    target_.ReadHyperlink(target, extras, docFormat, styleNo, itemTag, itemName);
  }

 private:
  TCustomDVData& target_;
};

// Reads RTF (through `read`) into a scratch document against a copy of the
// editor's styles, which the reader may add to; only a complete read
// replaces the editor's document and styles. A failed read leaves both.
void ReplaceWithRTF(TCustomDocViewEdit& editor, const std::function<TDVRTFErrorCode(TCustomDVData&)>& read,
                    const std::string& what) {
  TDVStyle* sheet = editor.Style();
  if (!sheet) throw EInterchangeError("The editor has no style sheet");
  TDVStyle styles;
  styles.SetTextStyles(sheet->TextStyles());
  styles.SetParaStyles(sheet->ParaStyles());
  TCustomDVData& target = editor.DVData();
  TRTFScratchData scratch(target);
  scratch.SetDVStyle(&styles);
  scratch.SetOptions(target.GetOptions());
  scratch.SetRTFOptions(target.GetRTFOptions());
  scratch.SetRTFProperties(editor.GetRTFReadProperties());
  scratch.SetDelimiters(target.GetDelimiters());
  scratch.SetBiDiMode(target.GetBiDiMode());
  const TDVRTFErrorCode code = read(scratch);
  if (code != rtf_ec_OK) throw EInterchangeError("Cannot read " + what + " as RTF: " + RTFReason(code));
  editor.Clear();
  sheet->SetTextStyles(styles.TextStyles());
  sheet->SetParaStyles(styles.ParaStyles());
  struct TParagraphMode {
    TCustomDVData& data;
    const bool saved = data.AllowNewPara();
    ~TParagraphMode() { data.SetAddParagraphMode(saved); }
  } mode{target};
  target.SetAddParagraphMode(true);
  target.DrainFrom(&scratch);
}

// "*.bb;*.cc" gives "bb".
std::string FirstExtension(const std::string& patterns) {
  const std::string first = patterns.substr(0, patterns.find(';'));
  const size_t dot = first.rfind('.');
  return dot == std::string::npos ? std::string() : first.substr(dot + 1);
}

// A converter's entry is named by the format it reads or writes: its first
// extension in capitals, "文档", and its patterns.
std::vector<TInterchangeFormat> ConverterFormats(TDVTextConverterList& list) {
  std::vector<TInterchangeFormat> formats;
  for (int i = 0; i < list.Count(); ++i) {
    const TDVTextConverterInfo& converter = list[i];
    std::string name = FirstExtension(converter.Filter);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (!name.empty()) name += ' ';
    formats.push_back(
        {TInterchangeFormat::fkConverter, name + "文档(" + converter.Filter + ")", converter.Filter, converter.Format});
  }
  return formats;
}

// The converter of a format in the list; a format no longer listed fails.
int ConverterOf(TDVTextConverterList& list, const TInterchangeFormat& format) {
  for (int i = 0; i < list.Count(); ++i)
    if (list[i].Format == format.Format) return i;
  throw EInterchangeError("No converter for " + format.Caption + " is installed");
}

// Asks with the dialog titled `title` for a file of one of the formats;
// false when cancelled.
bool AskFile(bool (TCommonDialogs::*ask)(TFileQuestion&), std::string_view title,
             const std::vector<TInterchangeFormat>& formats, TFileQuestion& question) {
  question.Title = title;
  question.Filter = TFormInterchange::FilterText(formats);
  return (CommonDialogs().*ask)(question);
}

const TInterchangeFormat& Chosen(const std::vector<TInterchangeFormat>& formats, int filterIndex) {
  // Dialogs answer 0 when no entry was chosen: that is the first.
  const int index = std::clamp(filterIndex, 1, static_cast<int>(formats.size()));
  return formats[static_cast<size_t>(index - 1)];
}

TInterchangeResult Failure(std::string_view caption, std::string message) {
  return {ioFailed, std::string(caption), std::move(message)};
}

void FocusEditor(TCustomDocViewEdit& editor) {
  if (editor.Widget()->isVisible()) editor.SetFocus();
}

}  // namespace

void ShowInterchangeResult(const TInterchangeResult& result) {
  if (!result.Failed()) return;
  CommonDialogs().MessageBox(
      {result.Message, result.Caption.empty() ? ApplicationTitle() : result.Caption, MB_OK, MB_ICONERROR});
}

TFormInterchange::TFormInterchange(TCustomDocViewEdit& editor, TDocumentRecord& record,
                                   std::unique_ptr<TDVTextConverter> converter)
    : editor_(editor),
      record_(record),
      converter_(converter ? std::move(converter) : std::make_unique<TDVTextConverter>()),
      jumpContext_(new QObject(editor.Widget())) {
  InitXMLImportStyleSheet(DVStyle1);
  DVXML.DocView = &editor_;
  DVXML.RootElement = "book";
  DVXML.Encoding = "windows-1250";
  DVXML.StyleLoadingMode = slmIgnore;
}

TFormInterchange::~TFormInterchange() { delete jumpContext_.data(); }

std::vector<TInterchangeFormat> TFormInterchange::ImportFormats() {
  std::vector<TInterchangeFormat> formats{
      {TInterchangeFormat::fkRTF, std::string(kRTFCaption), std::string(kRTFPatterns), {}}};
  for (TInterchangeFormat& format : ConverterFormats(converter_->ImportConverters()))
    formats.push_back(std::move(format));
  formats.push_back({TInterchangeFormat::fkXML, std::string(kXMLCaption), std::string(kXMLPatterns), {}});
  return formats;
}

std::vector<TInterchangeFormat> TFormInterchange::ExportFormats() {
  return ConverterFormats(converter_->ExportConverters());
}

std::string TFormInterchange::FilterText(const std::vector<TInterchangeFormat>& formats) {
  std::string text;
  for (const TInterchangeFormat& format : formats) {
    if (!text.empty()) text += '|';
    text += format.Caption + "|" + format.Patterns;
  }
  return text;
}

// ---------------------------------------------------------------- import

TInterchangeResult TFormInterchange::FileImportClick() {
  const std::vector<TInterchangeFormat> formats = ImportFormats();
  TFileQuestion question;
  if (!AskFile(&TCommonDialogs::OpenFile, kImportTitle, formats, question))
    return {ioCancelled, std::string(kImportTitle), {}};
  return ImportFile(question.FileName, Chosen(formats, question.FilterIndex));
}

TInterchangeResult TFormInterchange::ImportFile(const std::string& fileName, const TInterchangeFormat& format) {
  TInterchangeResult result = ReadReplacing(fileName, format);
  if (result.Outcome != ioDone) return result;
  if (format.Kind == TInterchangeFormat::fkXML) {
    if (OnXMLLoaded) OnXMLLoaded();
  } else {
    editor_.Format();
    FocusEditor(editor_);
  }
  return result;
}

TInterchangeResult TFormInterchange::ReadReplacing(const std::string& fileName, const TInterchangeFormat& format) {
  try {
    const TScopedHourglass hourglass;
    switch (format.Kind) {
      case TInterchangeFormat::fkRTF:
        record_.Import([&](TCustomDocViewEdit& editor) {
          ReplaceWithRTF(editor, [&](TCustomDVData& data) { return data.LoadRTF(fileName); }, Quoted(fileName));
          return true;
        });
        break;
      case TInterchangeFormat::fkXML:
        record_.Import([&](TCustomDocViewEdit&) {
          LoadXML(fileName);
          return true;
        });
        break;
      case TInterchangeFormat::fkConverter: {
        TDVTextConverterList& list = converter_->ImportConverters();
        const int index = ConverterOf(list, format);
        struct TClearStream {
          TMemoryStream& stream;
          ~TClearStream() { stream.Clear(); }
        } clear{converter_->Stream};
        // The converter's RTF is made before the document is touched.
        if (!converter_->ImportRTF(fileName, index))
          throw EInterchangeError("Cannot convert " + Quoted(fileName) + " with the " + format.Caption + " converter");
        record_.Import([&](TCustomDocViewEdit& editor) {
          ReplaceWithRTF(editor,
                         [&](TCustomDVData& data) {
                           converter_->Stream.SetPosition(0);
                           return data.LoadRTFFromStream(converter_->Stream);
                         },
                         "the converted " + Quoted(fileName));
          return true;
        });
        break;
      }
    }
  } catch (const EAbort&) {
    return {ioCancelled, std::string(kImportTitle), {}};
  } catch (const std::exception& e) {
    return Failure(kImportTitle, e.what());
  }
  return {ioDone, std::string(kImportTitle), {}};
}

void TFormInterchange::LoadXML(const std::string& fileName) {
  // A failed load keeps the document, its sheet and the folder its links
  // are looked up in.
  struct TRestore {
    TFormInterchange& self;
    TDVStyle* sheet;
    std::string basePath;
    bool loaded = false;
    ~TRestore() {
      if (loaded) return;
      self.editor_.SetStyle(sheet);
      self.DVXML.BaseFilePath = basePath;
    }
  } restore{*this, editor_.Style(), DVXML.BaseFilePath};
  editor_.SetStyle(&DVStyle1);
  try {
    DVXML.LoadFromFile(fileName);
  } catch (const std::exception& e) {
    throw EInterchangeError("Cannot read " + Quoted(fileName) + " as an XML document: " + e.what());
  }
  restore.loaded = true;
}

// ---------------------------------------------------------------- export

TInterchangeResult TFormInterchange::FileExportClick() {
  const std::vector<TInterchangeFormat> formats = ExportFormats();
  if (formats.empty()) return Failure(kExportTitle, "No converter for exporting documents is installed");
  TFileQuestion question;
  if (!AskFile(&TCommonDialogs::SaveFile, kExportTitle, formats, question))
    return {ioCancelled, std::string(kExportTitle), {}};
  return ExportFile(question.FileName, Chosen(formats, question.FilterIndex));
}

TInterchangeResult TFormInterchange::ExportFile(const std::string& fileName, const TInterchangeFormat& format) {
  std::string target = fileName;
  if (std::filesystem::path(target).extension().empty()) {
    const std::string extension = FirstExtension(format.Patterns);
    if (!extension.empty()) target += "." + extension;
  }
  try {
    const TScopedHourglass hourglass;
    TDVTextConverterList& list = converter_->ExportConverters();
    const int index = ConverterOf(list, format);
    editor_.Format();
    if (!converter_->ExportDV(target, editor_, index))
      throw EInterchangeError("The document could not be written as RTF for " + Quoted(target));
    editor_.Format();
  } catch (const EAbort&) {
    return {ioCancelled, std::string(kExportTitle), {}};
  } catch (const std::exception& e) {
    return Failure(kExportTitle, e.what());
  }
  FocusEditor(editor_);
  return {ioDone, std::string(kExportTitle), {}};
}

// ---------------------------------------------------------------- hyperlinks

std::string TFormInterchange::HyperlinkURL(int32_t id) { return "#" + std::to_string(id); }

void TFormInterchange::DVEditorURLNeeded(TCustomDocView&, int32_t id, std::string& url) { url = HyperlinkURL(id); }

void TFormInterchange::DVEditorJump(TCustomDocView& sender, int32_t id) {
  TCustomDVFormattedData* data = nullptr;
  int itemNo = -1;
  sender.GetJumpPointLocation(id, data, itemNo);
  if (!data || itemNo < 0 || !jumpContext_) return;
  const TDVTag& tag = data->GetItemTag(itemNo);
  // Numeric tags name nothing.
  if (!data->TagsArePChars() || !tag.Str) return;
  QMetaObject::invokeMethod(
      jumpContext_.data(), [this, name = *tag.Str] { ShowInterchangeResult(JumpTo(name)); }, Qt::QueuedConnection);
}

bool TFormInterchange::IsPlainDocumentName(std::string_view name) {
  if (name.empty() || name.size() > kMaxDocumentNameBytes) return false;
  if (name.find("..") != std::string_view::npos) return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || c == '/' || c == '\\';
  });
}

TInterchangeResult TFormInterchange::JumpTo(std::string_view tag) {
  const std::string caption = ApplicationTitle();
  const TInterchangeResult refused = Failure(caption, "The hyperlink does not name a document");
  // Its UTF-8 form is never shorter.
  if (tag.size() > kMaxDocumentNameBytes || tag.find('\0') != std::string_view::npos) return refused;
  // The tag is text in the system code page; files are named in UTF-8. A
  // tag that does not decode whole names no file.
  const std::u16string units = MultiByteToWideChar(GetACP(), tag);
  const std::string name = Utf16ToUtf8(units);
  if (units.find(u'\uFFFD') != std::u16string::npos || !IsPlainDocumentName(name)) return refused;
  if (DVXML.BaseFilePath.empty())
    return Failure(caption, "The hyperlink's document cannot be found: no XML document has been opened");
  const std::string fileName = DVXML.BaseFilePath + name + ".xml";
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fileName, ec))
    return Failure(caption, "The hyperlink's document is not in the folder of the document that links to it");
  TInterchangeResult result = ReadReplacing(fileName, {TInterchangeFormat::fkXML, std::string(kXMLCaption),
                                                       std::string(kXMLPatterns), {}});
  result.Caption = caption;
  if (result.Outcome == ioDone && OnXMLLoaded) OnXMLLoaded();
  return result;
}

}  // namespace quillet
