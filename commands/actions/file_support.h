#pragma once
// What the file commands share: their messages, the writers and readers by
// format, and the text test that picks 8-bit or UTF-16.
#include <optional>
#include <string>

#include "commands/actions/file_filters.h"
#include "commands/resource_strings.h"
#include "platform/ui/common_dialogs.h"

namespace quillet {

class TCustomDocView;
class TDVTextConverter;

std::string FileNameWithoutFolder(const std::string& fileName);
// The question of a command's file dialog.
TFileQuestion FileQuestion(const std::string& title, const std::string& filter, int filterIndex,
                           const std::string& defaultExt);
// A message of the string table under the application's title.
void ShowFileMessage(TDVResourceString id, TMsgIcon icon);
// The document in one of the formats a record keeps; false when the writer
// failed or raised.
bool WriteDocument(TCustomDocView& view, const std::string& fileName, TdvFileSaveFilter format);
// A file to read and how.
struct TImportChoice {
  std::string FileName;
  TdvFileImportFilter Format = ffiDVF;
  int ConverterIndex = 0;
};
// Asks with the open dialog, filtered by filter (the converter's formats
// after it); the chosen entry goes back into filterIndex. None when
// cancelled.
std::optional<TImportChoice> AskImportFile(const std::string& title, const std::string& defaultExt, int& filterIndex,
                                           TdvFileImportFilterSet filter, const std::string& dvfFilter,
                                           TDVTextConverter* converter);
// Whether a text file of the automatic format reads as UTF-16.
bool ReadsAsUnicode(const std::string& fileName);

}  // namespace quillet
