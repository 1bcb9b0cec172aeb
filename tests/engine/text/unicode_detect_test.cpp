#include "engine/text/unicode_detect.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/core/stream.h"

namespace quillet {
namespace {

TEST(UnicodeDetect, FilesByTheirFirstBytes) {
  const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / "unicode_detect";
  std::filesystem::create_directories(dir);
  std::string late(502, 'a');
  late[501] = '\0';   // the last byte looked at
  std::string beyond(504, 'a');
  beyond[502] = '\0';  // past it
  struct Case {
    const char* what;
    std::string bytes;
    TDVUnicodeTestResult result;
  } cases[] = {
      {"empty", "", dvutEmpty},
      {"odd size", "abc", dvutNo},
      {"odd size with a mark", std::string("\xFF\xFE" "a", 3), dvutNo},
      {"little-endian mark alone", "\xFF\xFE", dvutYes},
      {"big-endian mark", std::string("\xFE\xFF\0a", 4), dvutYes},
      {"zero byte, no mark", std::string("a\0b\0", 4), dvutYes},
      {"8-bit text", "plain text", dvutProbably},
      {"zero in the last byte looked at", late, dvutYes},
      {"zero only further on", beyond, dvutProbably},
  };
  for (const auto& c : cases) {
    const std::filesystem::path file = dir / "t.txt";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << c.bytes;
    EXPECT_EQ(DV_TestFileUnicode(file.string()), c.result) << c.what;
    TMemoryStream stream(std::vector<uint8_t>(c.bytes.begin(), c.bytes.end()));
    stream.SetPosition(1);
    EXPECT_EQ(DV_TestStreamUnicode(stream), c.result) << c.what;
  }
  EXPECT_EQ(DV_TestFileUnicode((dir / "missing.txt").string()), dvutError);
  EXPECT_EQ(DV_TestFileUnicode(dir.string()), dvutError);  // a folder cannot be read
}

}  // namespace
}  // namespace quillet
