// RTF pasted into the editor through the clipboard with the real reader:
// LibreOffice's file and our own writer's, with revision tracking off and
// on. Each paste is one undo step that gives back the document's bytes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "interchange/item_text_util.h"
#include "interchange/rtf/rtf_document_reader.h"
#include "platform/core/stream.h"
#include "platform/ui/clipboard.h"

namespace quillet {
namespace {

std::string Dvf(TDVEditDVData& data) {
  TMemoryStream stream;
  EXPECT_TRUE(data.SaveDVFToStream(stream, false, clNone, nullptr, nullptr));
  return stream.AsString();
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class RtfPaste : public testing::Test {
 protected:
  void SetUp() override {
    InstallRTFReader();
    sheet.TextStyles()[0].Charset = 134;
    sheet.TextStyles().Add().Assign(sheet.TextStyles()[0]);
    sheet.TextStyles()[1].Unicode = true;
    sheet.DefUnicodeStyle = 1;
  }

  // Our writer's RTF of a small document.
  std::string OurRtf() {
    TDocViewEdit source;
    source.SetStyle(&sheet);
    source.AddNL("first line", 0, 0);
    source.AddNL(std::string("\x2D\x4E\x87\x65", 4), 1, 0);  // 中文 in UTF-16LE
    source.Format();
    TMemoryStream stream;
    EXPECT_TRUE(source.SaveRTFToStream(stream, false));
    return stream.AsString();
  }

  TDVStyle sheet;
};

TEST_F(RtfPaste, OursAndLibreOfficesAreOneUndoStep) {
  const std::pair<std::string, std::string> sources[] = {
      {FileBytes(QUILLET_FIXTURES_DIR "/rtf/mixed.rtf"), "Plain paragraph"}, {OurRtf(), "first line"}};
  for (const auto& [rtf, text] : sources)
    for (bool trace : {false, true}) {
      SCOPED_TRACE(text + (trace ? " tracked" : ""));
      ASSERT_FALSE(rtf.empty());
      TDocViewEdit editor;
      editor.SetStyle(&sheet);
      editor.SetBounds(0, 0, 400, 300);
      editor.AddNL("ab", 0, 0);
      editor.Format();
      TDVEditDVData& data = editor.EditData();
      data.SetCaretAtItem(0, 2);
      // The reviewer's inserted style: an underlined copy in red.
      std::map<int32_t, int32_t> inserted;
      editor.TraceOn = trace;
      editor.TraceUserColor = clRed;
      editor.OnStyleConversion = [&](void*, int32_t styleNo, int32_t code, bool, int32_t& newStyleNo) {
        if (code != Orvane_TraceSaveInsert) return;
        if (!inserted.count(styleNo)) {
          TFontInfo& style = sheet.TextStyles().Add();
          style.Assign(sheet.TextStyles()[styleNo]);
          style.Style = fsUnderline;
          style.Color = clRed;
          inserted[styleNo] = inserted[sheet.TextStyles().Count() - 1] = sheet.TextStyles().Count() - 1;
        }
        newStyleNo = inserted[styleNo];
      };
      const std::string before = Dvf(data);
      Clipboard().Clear();
      Clipboard().SetAsHandle(RegisterClipboardFormat("Rich Text Format"), rtf);
      ASSERT_TRUE(editor.CanPasteRTF());
      editor.Paste();
      const int at = test::FindItem(data, text);
      ASSERT_GE(at, 0);
      EXPECT_EQ(editor.IsOwnInsertion(at), trace);
      EXPECT_EQ(data.UndoList->Count(), 1);
      editor.Undo();
      EXPECT_EQ(Dvf(data), before);
    }
}

}  // namespace
}  // namespace quillet
