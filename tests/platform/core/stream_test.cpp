#include "platform/core/stream.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

namespace quillet {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> B(std::initializer_list<int> bytes) {
  std::vector<uint8_t> v;
  for (int b : bytes) v.push_back(static_cast<uint8_t>(b));
  return v;
}

TEST(StreamHelpers, LittleEndianLayoutAndRoundTrip) {
  TMemoryStream s;
  WriteU8(s, 0xAB);
  WriteI16(s, -2);
  WriteU16(s, 0x1234);
  WriteI32(s, -123456789);
  WriteU32(s, 0xDEADBEEF);
  WriteI64(s, std::numeric_limits<int64_t>::min());
  EXPECT_EQ(s.Bytes(), B({0xAB, 0xFE, 0xFF, 0x34, 0x12, 0xEB, 0x32, 0xA4, 0xF8, 0xEF, 0xBE, 0xAD, 0xDE,
                          0, 0, 0, 0, 0, 0, 0, 0x80}));
  s.SetPosition(0);
  EXPECT_EQ(ReadU8(s), 0xAB);
  EXPECT_EQ(ReadI16(s), -2);
  EXPECT_EQ(ReadU16(s), 0x1234);
  EXPECT_EQ(ReadI32(s), -123456789);
  EXPECT_EQ(ReadU32(s), 0xDEADBEEFu);
  EXPECT_EQ(ReadI64(s), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(s.Remaining(), 0);
}

TEST(StreamHelpers, ReadingPastTheEndRaisesReadError) {
  TMemoryStream s(B({1, 2, 3}));
  try {
    ReadI32(s);
    FAIL() << "no error";
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Stream read error");
  }
  TMemoryStream empty;
  EXPECT_THROW(ReadU8(empty), EReadError);
  char buf[4];
  EXPECT_THROW(s.ReadBuffer(buf, -1), EReadError);
  EXPECT_THROW(s.WriteBuffer(buf, -1), EWriteError);
  EXPECT_EQ(s.Read(buf, -5), 0);
}

TEST(MemoryStream, ReadAnswersWhatIsLeft) {
  TMemoryStream s(B({1, 2, 3, 4, 5}));
  s.SetPosition(3);
  uint8_t buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 2);
  EXPECT_EQ(buf[0], 4);
  EXPECT_EQ(buf[1], 5);
  EXPECT_EQ(s.Read(buf, 8), 0);
  s.Seek(100, TSeekOrigin::soBeginning);  // past the end is a position, not an error
  EXPECT_EQ(s.Read(buf, 8), 0);
}

TEST(MemoryStream, SeekingBeforeTheStartOrOverflowingFails) {
  TMemoryStream s(B({1, 2, 3}));
  s.SetPosition(2);
  EXPECT_THROW(s.Seek(-3, TSeekOrigin::soCurrent), EStreamError);
  EXPECT_THROW(s.Seek(-4, TSeekOrigin::soEnd), EStreamError);
  EXPECT_THROW(s.Seek(-1, TSeekOrigin::soBeginning), EStreamError);
  s.SetPosition(10);
  EXPECT_THROW(s.Seek(std::numeric_limits<int64_t>::max(), TSeekOrigin::soCurrent), EStreamError);
  EXPECT_EQ(s.Seek(-1, TSeekOrigin::soEnd), 2);
}

TEST(MemoryStream, WritingPastTheEndFillsWithZerosButHugeGrowthFails) {
  TMemoryStream s(B({1}));
  s.SetPosition(3);
  WriteU8(s, 9);
  EXPECT_EQ(s.Bytes(), B({1, 0, 0, 9}));

  s.SetPosition(std::numeric_limits<int64_t>::max() - 1);
  EXPECT_THROW(WriteU16(s, 1), EWriteError);
  s.SetPosition(TMemoryStream::MaxSize);
  EXPECT_THROW(WriteU8(s, 1), EWriteError);
  EXPECT_THROW(s.SetSize(TMemoryStream::MaxSize + 1), EWriteError);
  EXPECT_THROW(s.SetSize(-1), EWriteError);
  EXPECT_EQ(s.GetSize(), 4);  // nothing was allocated or lost
}

TEST(MemoryStream, SetSizeKeepsThePositionInside) {
  TMemoryStream s(B({1, 2, 3, 4}));
  s.SetPosition(4);
  s.SetSize(2);
  EXPECT_EQ(s.GetPosition(), 2);
  s.SetSize(3);
  EXPECT_EQ(s.Bytes(), B({1, 2, 0}));
}

TEST(MemoryStream, CopyFrom) {
  TMemoryStream source(B({1, 2, 3, 4, 5}));
  source.SetPosition(3);
  TMemoryStream whole;
  EXPECT_EQ(whole.CopyFrom(source, 0), 5);  // 0 means the whole source from its start
  EXPECT_EQ(whole.Bytes(), source.Bytes());

  source.SetPosition(1);
  TMemoryStream part;
  EXPECT_EQ(part.CopyFrom(source, 2), 2);
  EXPECT_EQ(part.Bytes(), B({2, 3}));
  EXPECT_THROW(part.CopyFrom(source, 3), EReadError);  // only 2 left
  EXPECT_THROW(part.CopyFrom(source, -1), EReadError);
}

// A source that claims more bytes than it can deliver.
class ShortStream : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;
  int64_t GetSize() override { return TMemoryStream::GetSize() + 10; }
};

TEST(MemoryStream, FailedLoadKeepsTheContents) {
  TMemoryStream s(B({7, 8, 9}));
  ShortStream bad(B({1, 2}));
  EXPECT_THROW(s.LoadFromStream(bad), EReadError);
  EXPECT_EQ(s.Bytes(), B({7, 8, 9}));

  TMemoryStream good(B({4, 5}));
  s.SetPosition(3);
  s.LoadFromStream(good);
  EXPECT_EQ(s.Bytes(), B({4, 5}));
  EXPECT_EQ(s.GetPosition(), 0);
}

class FileStreamTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::path(testing::TempDir()) / "quillet_stream_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir_, ec);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  static std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void WriteAll(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  size_t EntryCount() const { return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {})); }

  fs::path dir_;
};

TEST_F(FileStreamTest, OpenErrorsNameTheFileAndTheReason) {
  const std::string missing = Path("missing.dvf");
  try {
    TFileStream f(missing, fmOpenRead);
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + missing + "\". No such file or directory");
  }
  EXPECT_THROW(TFileStream(dir_.string(), fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(Path("no/such/dir.dvf"), fmCreate), EFOpenError);
}

TEST_F(FileStreamTest, WriteSeekReadAndResize) {
  const std::string path = Path("data.bin");
  {
    TFileStream f(path, fmCreate);
    WriteI32(f, 0x01020304);
    f.WriteString("abc");
    EXPECT_EQ(f.GetSize(), 7);
    EXPECT_EQ(f.Seek(-3, TSeekOrigin::soEnd), 4);
    EXPECT_EQ(ReadU8(f), 'a');
    EXPECT_THROW(f.Seek(-100, TSeekOrigin::soCurrent), EStreamError);
    f.SetSize(5);
    EXPECT_EQ(f.GetPosition(), 5);
  }
  TFileStream f(path, fmOpenRead);
  EXPECT_EQ(ReadI32(f), 0x01020304);
  EXPECT_EQ(ReadU8(f), 'a');
  EXPECT_THROW(ReadU8(f), EReadError);
  EXPECT_THROW(WriteU8(f, 1), EWriteError);  // opened read-only
}

TEST_F(FileStreamTest, SaveToFileReplacesAndLoadsBack) {
  const std::string path = Path("doc.dvf");
  WriteAll(path, "old contents that are longer");
  ::chmod(path.c_str(), 0640);
  TMemoryStream s(B({'n', 'e', 'w', 0, 0xFF}));
  s.SaveToFile(path);
  EXPECT_EQ(ReadAll(path), std::string("new\0\xFF", 5));
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms(0640));
  EXPECT_EQ(EntryCount(), 1u);  // no temporary file left behind

  TMemoryStream back;
  back.LoadFromFile(path);
  EXPECT_EQ(back.Bytes(), s.Bytes());
}

TEST_F(FileStreamTest, SaveThroughASymbolicLinkKeepsTheLink) {
  const std::string real = Path("real.dvf"), link = Path("link.dvf");
  WriteAll(real, "old");
  fs::create_symlink(real, link);
  TMemoryStream(B({'n', 'e', 'w'})).SaveToFile(link);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadAll(real), "new");
}

TEST_F(FileStreamTest, SaveToAnImpossiblePathThrowsAndCreatesNothing) {
  TMemoryStream s(B({'n', 'e', 'w'}));
  // The directory does not exist.
  const std::string nowhere = Path("absent/doc.dvf");
  EXPECT_THROW(s.SaveToFile(nowhere), EStreamError);
  EXPECT_FALSE(fs::exists(Path("absent")));

  // The target is a directory.
  fs::create_directory(Path("folder"));
  EXPECT_THROW(s.SaveToFile(Path("folder")), EStreamError);
  EXPECT_TRUE(fs::is_directory(Path("folder")));
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FileStreamTest, SaveIntoAnUnwritableDirectoryKeepsTheOldFile) {
  TMemoryStream s(B({'n', 'e', 'w'}));
  const std::string path = Path("doc.dvf");
  WriteAll(path, "old");
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
  fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_THROW(s.SaveToFile(path), EStreamError);
  fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(ReadAll(path), "old");
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FileStreamTest, WriteFailureMidwayIsReportedAndTheOldFileSurvives) {
  const std::string path = Path("doc.dvf");
  WriteAll(path, "old");
  TMemoryStream s(std::vector<uint8_t>(100000, 'x'));
  // A file-size limit makes the write fail part way, even for root.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  bool threw = false;
  try {
    s.SaveToFile(path);
  } catch (const EWriteError&) {
    threw = true;
  }
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_TRUE(threw);
  EXPECT_EQ(ReadAll(path), "old");
  EXPECT_EQ(EntryCount(), 1u);
}

}  // namespace
}  // namespace quillet
