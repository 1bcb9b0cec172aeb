#include "commands/actions/file_support.h"

#include <exception>
#include <filesystem>

#include "engine/text/unicode_detect.h"
#include "engine/view/docview.h"
#include "platform/ui/application.h"

namespace quillet {

std::string FileNameWithoutFolder(const std::string& fileName) {
  return std::filesystem::path(fileName).filename().string();
}

TFileQuestion FileQuestion(const std::string& title, const std::string& filter, int filterIndex,
                           const std::string& defaultExt) {
  TFileQuestion question;
  question.Title = title;
  question.Filter = filter;
  question.FilterIndex = filterIndex;
  question.DefaultExt = defaultExt;
  return question;
}

void ShowFileMessage(TDVResourceString id, TMsgIcon icon) {
  CommonDialogs().MessageBox({std::string(LoadResString(id)), ApplicationTitle(), MB_OK, icon});
}

bool WriteDocument(TCustomDocView& view, const std::string& fileName, TdvFileSaveFilter format) {
  // Plain text is written in lines of at most this many characters.
  constexpr int kTextLineWidth = 80;
  try {
    switch (format) {
      case ffeDVF: return view.SaveDVF(fileName, false);
      case ffeRTF: return view.SaveRTF(fileName, false);
      case ffeTextANSI: return view.SaveText(fileName, kTextLineWidth);
      case ffeTextUnicode: return view.SaveTextW(fileName, kTextLineWidth);
      default: return false;
    }
  } catch (const std::exception&) {
    return false;
  }
}

bool ReadsAsUnicode(const std::string& fileName) { return DV_TestFileUnicode(fileName) == dvutYes; }

std::optional<TImportChoice> AskImportFile(const std::string& title, const std::string& defaultExt, int& filterIndex,
                                           TdvFileImportFilterSet filter, const std::string& dvfFilter,
                                           TDVTextConverter* converter) {
  std::vector<int> formats;
  TFileQuestion question = FileQuestion(title, std::string(), filterIndex, defaultExt);
  MakeImportFilter(filter, dvfFilter, formats, question.Filter, converter);
  if (!CommonDialogs().OpenFile(question)) return std::nullopt;
  filterIndex = question.FilterIndex;
  RepaintActiveWindow();
  TImportChoice choice{question.FileName};
  GetImportFilterFormat(formats, question.FilterIndex - 1, choice.Format, choice.ConverterIndex);
  // The automatic text format has no entry of its own: offered, it decides
  // how the text entry reads, so that UTF-16 files open as UTF-16.
  if (choice.Format == ffiTextANSI && filter.Contains(ffiTextAuto)) choice.Format = ffiTextAuto;
  return choice;
}

}  // namespace quillet
