#include "interchange/convert/libreoffice_backend.h"

#include <stdlib.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <vector>

#include "interchange/convert/text_converter.h"
#include "platform/core/process.h"
#include "platform/core/scoped_value.h"
#include "platform/core/stream.h"

namespace quillet {

namespace fs = std::filesystem;

namespace {

struct TFormat {
  const char* name;
  const char* extensions;
  const char* exportFormat;  // the suite's export filter
};

constexpr TFormat kFormats[] = {
    {"Word 2007-365 Document", "docx", "docx:MS Word 2007 XML"},
    {"Word 97-2003 Document", "doc", "doc:MS Word 97"},
    {"OpenDocument Text", "odt", "odt:writer8"},
};

// A folder of its own under the system's temporary folder, removed with
// everything in it when the conversion ends.
class TTempFolder {
 public:
  TTempFolder() {
    std::string pattern = (fs::temp_directory_path() / "quillet_convert_XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
      throw ETextConverterError("Cannot create a temporary folder: " + std::string(std::strerror(errno)));
    path_ = pattern;
  }
  ~TTempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The suite takes its profile folder as a file URL.
std::string FileUrl(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : path) {
    if (std::isalnum(c) || std::strchr("/-._~", c))
      url += static_cast<char>(c);
    else
      url += {'%', kHex[c >> 4], kHex[c & 15]};
  }
  return url;
}

// What the program said went wrong: its lines without the warnings it
// prints on every run, or every line when there is nothing else.
std::string ConverterMessage(const std::string& stdErr) {
  std::vector<std::string> all, errors;
  std::stringstream lines(stdErr);
  for (std::string line; std::getline(lines, line);) {
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
    if (line.empty()) continue;
    all.push_back(line);
    if (line.rfind("Warning", 0) != 0) errors.push_back(line);
  }
  std::string message;
  for (const std::string& line : errors.empty() ? all : errors) message += (message.empty() ? "" : "; ") + line;
  return message;
}

}  // namespace

std::vector<TDVConverterRecord> TDVLibreOfficeBackend::LoadList(TDVConverterKind kind) {
  const std::string program = FindProgramOnPath("soffice");
  if (program.empty()) return {};
  std::vector<TDVConverterRecord> records;
  for (const TFormat& format : kFormats)
    records.push_back({format.name, program, format.extensions, kind == dvckImport ? "rtf" : format.exportFormat});
  return records;
}

std::string TDVLibreOfficeBackend::Convert(const TDVTextConverterInfo& converter, const std::string& source,
                                           const std::string& fileName, const std::string& workDir,
                                           const std::function<void()>& started) {
  const std::string outDir = workDir + "/out";
  TProcess process(converter.Path, {"-env:UserInstallation=" + FileUrl(workDir + "/profile"), "--headless",
                                    "--norestore", "--convert-to", converter.Format, "--outdir", outDir, source});
  TScopedValue<pid_t> running(processId_, process.Pid());
  if (started) started();
  const TProcessResult result = process.Wait(Timeout);

  const std::string failed =
      "Cannot convert \"" + fileName + "\" with " + fs::path(converter.Path).filename().string() + ": ";
  const std::string message = ConverterMessage(result.StdErr);
  const std::string said = message.empty() ? "" : ": " + message;
  if (result.TimedOut)
    throw ETextConverterError(failed + "it did not finish within " + std::to_string(Timeout.count()) + " seconds");
  if (result.Signal != 0) throw ETextConverterError(failed + "it was killed by signal " + std::to_string(result.Signal));
  if (result.ExitCode != 0)
    throw ETextConverterError(failed + "it exited with code " + std::to_string(result.ExitCode) + said);
  // The folder holds nothing but what the program made.
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(outDir, ec))
    if (entry.is_regular_file(ec) && entry.file_size(ec) > 0) return entry.path().string();
  throw ETextConverterError(failed + "it made no file" + said);
}

void TDVLibreOfficeBackend::ForeignToRtf(const TDVTextConverterInfo& converter, const std::string& fileName,
                                         const TRTFOutput& output) {
  TTempFolder folder;
  // The suite tells nothing while it works: 0 as it starts, 100 with the RTF.
  const std::string made = Convert(converter, fs::absolute(fileName).string(), fileName, folder.Path(),
                                   [&output] { output(nullptr, 0, 0); });
  TMemoryStream rtf;
  rtf.LoadFromFile(made);
  output(rtf.Bytes().data(), rtf.GetSize(), 100);
}

void TDVLibreOfficeBackend::RtfToForeign(const TDVTextConverterInfo& converter, const std::string& fileName,
                                         const TRTFInput& input) {
  TTempFolder folder;
  const std::string rtf = folder.Path() + "/document.rtf";
  {
    TFileStream file(rtf, fmCreate);
    for (std::span<const uint8_t> block = input(); !block.empty(); block = input())
      file.WriteBuffer(block.data(), static_cast<int64_t>(block.size()));
  }
  const std::string made = Convert(converter, rtf, fileName, folder.Path(), nullptr);
  TMemoryStream result;
  result.LoadFromFile(made);
  result.SaveToFile(fileName);
}

}  // namespace quillet
