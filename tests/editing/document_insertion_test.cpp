// Text files, DVF streams and RTF streams at the caret: byte-order marks,
// the OEM code page, joining with same-style neighbours, and bad input that
// leaves the document's bytes and the undo list as they were.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "engine/model/item_registry.h"
#include "insertion_test_util.h"
#include "platform/core/stream.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

class DocumentInsertion : public InsertionTest {
 protected:
  void SetUp() override {
    InsertionTest::SetUp();
    dir_ = fs::temp_directory_path() / ("quillet_insertion_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    InsertionTest::TearDown();
  }
  std::string File(const std::string& bytes) {
    const std::string name = (dir_ / ("f" + std::to_string(files_++))).string();
    std::ofstream(name, std::ios::binary) << bytes;
    return name;
  }
  // The DVF bytes of a document in the notation (the editor's sheet).
  std::string DvfOf(const std::string& notation) {
    Load(notation);
    return DvfBytes(Data());
  }
  bool InsertDvf(const std::string& bytes) {
    TMemoryStream stream;
    stream.WriteString(bytes);
    stream.SetPosition(0);
    return Data().InsertDVFFromStreamEd_(stream);
  }
  // Bad input: false, a beep, the same bytes, no undo group.
  void ExpectUnchanged(const std::function<bool()>& insert) {
    const std::string before = DvfBytes(Data());
    beeps = 0;
    EXPECT_FALSE(insert());
    EXPECT_EQ(DvfBytes(Data()), before);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(Data().UndoList->Count(), 0);
    EXPECT_TRUE(DrawingIsFresh(Data()));
  }

 private:
  fs::path dir_;
  int files_ = 0;
};

struct FileCase {
  const char* name;
  std::string bytes;
  const char* expected;
};

const FileCase kUnicodeFiles[] = {
    {"LittleEndianMark", std::string("\xff\xfe", 2) + W("1\r\n2"), "P0 0\"x1\" P0 0\"2y\""},
    {"BigEndianMark", std::string("\xfe\xff\0" "1\0\n\0" "2", 8), "P0 0\"x1\" P0 0\"2y\""},
    {"NoMark", W("中\u20282"), "P0 0\"x中\" / 0\"2y\""},
};

TEST_F(DocumentInsertion, UnicodeFiles) {
  for (const FileCase& c : kUnicodeFiles) {
    SCOPED_TRACE(c.name);
    LoadAt("P0 0\"xy\"", 0, 2);
    const std::string name = File(c.bytes);
    ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { ASSERT_TRUE(Data().InsertTextFromFileW(name)); }));
    EXPECT_EQ(Doc(), c.expected);
  }
}

TEST_F(DocumentInsertion, OddUnicodeFileIsRefused) {
  LoadAt("P0 0\"xy\"", 0, 2);
  const std::string name = File(std::string("\xff\xfe" "a\0b", 5));
  ExpectUnchanged([&] { return Data().InsertTextFromFileW(name); });
}

TEST_F(DocumentInsertion, UnreadableFileRaisesAndChangesNothing) {
  LoadAt("P0 0\"xy\"", 0, 2);
  const std::string before = DvfBytes(Data());
  EXPECT_THROW(Data().InsertTextFromFile("/nonexistent/quillet.txt", false), EFOpenError);
  EXPECT_THROW(Data().InsertTextFromFileW("/nonexistent/quillet.txt"), EFOpenError);
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(Data().UndoList->Count(), 0);
}

TEST_F(DocumentInsertion, EightBitFilesLineByLine) {
  LoadAt("P0 0\"xy\"", 0, 2);
  // GBK text, a tab, a form feed, a trailing line end that starts no line.
  const std::string name = File(Utf8ToAnsi("中\t1\r\n2\f3\r\n"));
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { ASSERT_TRUE(Data().InsertTextFromFile(name, false)); }));
  EXPECT_EQ(Doc(), "P0 0\"x中        1\" P0 0\"2\" P0 ^ 0\"3y\"");
}

TEST_F(DocumentInsertion, OemFileIntoGbkAndUnicode) {
  for (const char* doc : {"P0 0\"xy\"", "P0 1\"xy\""}) {
    LoadAt(doc, 0, 2);
    // 0x82 is é in code page 437.
    const std::string name = File("\x82!");
    ASSERT_TRUE(Data().InsertTextFromFile(name, true));
    EXPECT_EQ(Doc(), std::string(doc).substr(0, 5) + "xé!y\"");
  }
}

TEST_F(DocumentInsertion, DvfJoinsSameStyleNeighbours) {
  const std::string dvf = DvfOf("P0 0\"12\" P0 0\"34\"");
  LoadAt("P0 0\"ab\"", 0, 2);
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { ASSERT_TRUE(InsertDvf(dvf)); }));
  EXPECT_EQ(Doc(), "P0 0\"a12\" P0 0\"34b\"");
  EXPECT_EQ(Caret(), std::make_pair(1, 3));
  EXPECT_EQ(Data().UndoList->CurrentUndoType(), dvutInsert);
  EXPECT_TRUE(DrawingIsFresh(Data()));
}

TEST_F(DocumentInsertion, DvfKeepsTheDocumentsOwnReviewerLines) {
  Load("P0 0\"12\"");
  Data().HostLines().userInfo.push_back("QV;other;t;255");
  const std::string dvf = DvfBytes(Data());
  LoadAt("P0 0\"ab\"", 0, 2);
  Data().HostLines() = TQvDvData();
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { ASSERT_TRUE(InsertDvf(dvf)); }));
  EXPECT_EQ(Doc(), "P0 0\"a12b\"");
  EXPECT_TRUE(Data().HostLines().Empty());
}

TEST_F(DocumentInsertion, DvfOfAnotherStyleStaysApart) {
  const std::string dvf = DvfOf("P0 1\"中\" pic:10x10");
  LoadAt("P0 0\"ab\"", 0, 2);
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { ASSERT_TRUE(InsertDvf(dvf)); }));
  EXPECT_EQ(Doc(), "P0 0\"a\" 1\"中\" pic:10x10 0\"b\"");
}

TEST_F(DocumentInsertion, BadDvfLeavesTheDocumentAsItWas) {
  const std::string dvf = DvfOf("P0 0\"12\" P0 0\"34\" P0 0\"56\"");
  // Broken after its first items are read, and broken from the start.
  const std::string cut = dvf.substr(0, dvf.size() - 3) + "\r\n-77 x y z\r\n";
  for (const std::string& bad : {cut, std::string("not a stream\r\n"), dvf.substr(0, dvf.size() / 2)}) {
    LoadAt("P0 0\"ab\" P0 0\"cd\"", 0, 2);
    ExpectUnchanged([&] { return InsertDvf(bad); });
  }
}

TEST_F(DocumentInsertion, DvfRefusedInAReadOnlyParagraph) {
  const std::string dvf = DvfOf("P0 0\"12\"");
  LoadAt(WithStyles("PR 0\"ab\""), 0, 2);
  ExpectUnchanged([&] { return InsertDvf(dvf); });
}

// Reads "RTF" as items of text style 0, one per line, the way the reader
// inserts them; a line "!" fails the reading after what came before it.
class RtfDouble : public TDVRTFReaderProperties {
 public:
  TDVRTFErrorCode ReadFromFile(const std::string&, TCustomDVData&) override { return rtf_ec_Assertion; }
  TDVRTFErrorCode ReadFromStream(TStream&, TCustomDVData&) override { return rtf_ec_Assertion; }
  TDVRTFErrorCode InsertFromStreamEd(TStream& stream, TCustomDVData& dvData, int& index) override {
    std::string text(static_cast<size_t>(stream.Remaining()), '\0');
    stream.ReadBuffer(text.data(), stream.Remaining());
    int first = -1, next = index;
    for (size_t pos = 0; pos <= text.size();) {
      const size_t end = std::min(text.find('\n', pos), text.size());
      std::string line = text.substr(pos, end - pos);
      pos = end + 1;
      if (line == "!") {
        if (first >= 0) dvData.DeleteItems(first, next - first);
        index = -1;
        return rtf_ec_InvalidHex;
      }
      auto item = DocViewTextItemClass(&dvData);
      item->StyleNo = 0;
      item->ParaNo = 0;
      if (first < 0) {
        int at = next;
        if (!dvData.InsertFirstDVFItem(at, line, item, true)) {
          index = -1;
          return rtf_ec_OK;
        }
        first = at;
        next = at + 1;
      } else {
        dvData.InsertItemDirectly(next++, std::move(line), std::move(item));
      }
    }
    index = next - 1;
    return rtf_ec_OK;
  }
};

TEST_F(DocumentInsertion, RtfThroughTheReaderProperties) {
  // The editor makes its reader settings on first use.
  SetRTFReaderPropertiesFactory([] { return std::make_unique<RtfDouble>(); });
  auto insert = [&](const std::string& text) {
    TMemoryStream stream;
    stream.WriteString(text);
    stream.SetPosition(0);
    return Data().InsertRTFFromStreamEd_(stream);
  };
  LoadAt("P0 0\"ab\"", 0, 2);
  ASSERT_TRUE(UndoRedoRoundTrip(Data(), [&] { ASSERT_TRUE(insert("12\n34")); }));
  EXPECT_EQ(Doc(), "P0 0\"a12\" P0 0\"34b\"");

  LoadAt("P0 0\"ab\" P0 0\"cd\"", 0, 2);
  ExpectUnchanged([&] { return insert("12\n34\n!"); });

  // A refused first item: true, nothing done (the refusal beeped).
  LoadAt(WithStyles("PR 0\"ab\""), 0, 2);
  const std::string before = DvfBytes(Data());
  beeps = 0;
  EXPECT_TRUE(insert("12"));
  EXPECT_EQ(DvfBytes(Data()), before);
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(Data().UndoList->Count(), 0);
  SetRTFReaderPropertiesFactory({});
}

}  // namespace
}  // namespace quillet::test
