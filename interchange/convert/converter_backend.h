#pragma once
// What turns foreign word-processor files into RTF and back. A backend lists
// the converters it offers, like entries of a registry, and runs them: an
// import hands the RTF it made to its caller, an export pulls the RTF to
// convert from its caller block by block. An exception from the caller's
// callback (the silent abort of a cancelled conversion) ends the conversion
// and passes on once the backend has cleaned up.
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillet {

// A conversion that failed; the message says why, in the converter's words
// where it gave any.
class ETextConverterError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum TDVConverterKind { dvckImport, dvckExport };

// One converter as the backend lists it: a record without a name, a program
// or extensions is not listed.
struct TDVConverterRecord {
  std::string Name;        // a caption of the format
  std::string Path;        // the program that converts
  std::string Extensions;  // blank-separated, "doc dot"
  std::string Format;      // how the program names the format it makes
};

struct TDVTextConverterInfo;

class TDVConverterBackend {
 public:
  // Receives RTF bytes (count may be 0) with how far the conversion is, in per cent.
  using TRTFOutput = std::function<void(const uint8_t* data, int64_t count, int percent)>;
  // Answers the next block of RTF; an empty block when the RTF has ended.
  using TRTFInput = std::function<std::span<const uint8_t>()>;

  virtual ~TDVConverterBackend() = default;
  virtual std::vector<TDVConverterRecord> LoadList(TDVConverterKind kind) = 0;
  // The file, converted into RTF.
  virtual void ForeignToRtf(const TDVTextConverterInfo& converter, const std::string& fileName,
                            const TRTFOutput& output) = 0;
  // The RTF, converted into the file; a file there is replaced only when the
  // conversion succeeded.
  virtual void RtfToForeign(const TDVTextConverterInfo& converter, const std::string& fileName,
                            const TRTFInput& input) = 0;
};

}  // namespace quillet
