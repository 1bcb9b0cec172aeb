#pragma once
// The converters of the office suite on this machine: `soffice` found on
// PATH converts .docx, .doc and .odt to RTF and back, headless. Each
// conversion is a process of its own with a fresh profile in a temporary
// folder, so conversions never meet a running instance of the suite (which
// would take the work over and leave the caller nothing); the folder is
// removed whichever way the conversion ends.
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "interchange/convert/converter_backend.h"

namespace quillet {

class TDVLibreOfficeBackend : public TDVConverterBackend {
 public:
  // A conversion still running after this is killed and fails.
  std::chrono::seconds Timeout{600};

  std::vector<TDVConverterRecord> LoadList(TDVConverterKind kind) override;
  void ForeignToRtf(const TDVTextConverterInfo& converter, const std::string& fileName,
                    const TRTFOutput& output) override;
  void RtfToForeign(const TDVTextConverterInfo& converter, const std::string& fileName,
                    const TRTFInput& input) override;

  // The process of the conversion under way; 0 when none runs.
  pid_t ProcessId() const { return processId_; }

 private:
  // Runs the converter's program over the source into a folder of `workDir`,
  // calling `started` once it runs; answers the file it made. Messages name
  // the caller's file.
  std::string Convert(const TDVTextConverterInfo& converter, const std::string& source, const std::string& fileName,
                      const std::string& workDir, const std::function<void()>& started);

  pid_t processId_ = 0;
};

}  // namespace quillet
