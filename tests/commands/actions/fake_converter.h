#pragma once
// Text converters without an office suite: "Alpha" (*.aa) and "Beta"
// (*.bb;*.cc) both ways, over what the test puts in a shared record.
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "interchange/convert/text_converter.h"

namespace quillet::test {

struct FakeConversions {
  std::string importRtf;  // what an import hands over
  std::string exported;   // what the last export was given
  std::string lastFile;
  bool fail = false;      // every conversion fails
};

class FakeConverterBackend : public TDVConverterBackend {
 public:
  explicit FakeConverterBackend(FakeConversions& state) : state_(state) {}
  std::vector<TDVConverterRecord> LoadList(TDVConverterKind) override {
    return {{"Alpha", "/bin/alpha", "aa", "a"}, {"Beta", "/bin/beta", "bb cc", "b"}};
  }
  void ForeignToRtf(const TDVTextConverterInfo&, const std::string& fileName, const TRTFOutput& output) override {
    Start(fileName);
    output(reinterpret_cast<const uint8_t*>(state_.importRtf.data()), static_cast<int64_t>(state_.importRtf.size()),
           100);
  }
  void RtfToForeign(const TDVTextConverterInfo&, const std::string& fileName, const TRTFInput& input) override {
    Start(fileName);
    state_.exported.clear();
    for (std::span<const uint8_t> block = input(); !block.empty(); block = input())
      state_.exported.append(block.begin(), block.end());
  }

 private:
  void Start(const std::string& fileName) {
    state_.lastFile = fileName;
    if (state_.fail) throw ETextConverterError("the converter failed");
  }
  FakeConversions& state_;
};

inline std::unique_ptr<TDVTextConverter> MakeFakeConverter(FakeConversions& state) {
  return std::make_unique<TDVTextConverter>(std::make_unique<FakeConverterBackend>(state));
}

}  // namespace quillet::test
