// LibreOffice's RTF inserted at the editor's caret, as a paste of it does:
// its tables arrive as tables, and one undo takes the whole insertion back.
#include <gtest/gtest.h>

#include "editing/control/editor.h"
#include "editing/edit/edit_data.h"
#include "engine/style/style_sheet.h"
#include "interchange/rtf/rtf_document_reader.h"
#include "interchange/rtf/rtf_table_text.h"
#include "platform/core/stream.h"

namespace quillet {
namespace {

TEST(RTFEditorInsertionTest, LibreOfficeTablesArriveAsTables) {
  InstallRTFReader();
  TDVStyle sheet;
  TDocViewEdit editor;
  editor.SetStyle(&sheet);
  editor.SetBounds(0, 0, 600, 400);
  editor.Show();
  TDVEditDVData& data = editor.EditData();
  data.AddNL("kept", 0, 0);
  editor.Format();
  data.SetCaretAtItem(0, 5);
  auto dvf = [&data] {
    TMemoryStream stream;
    EXPECT_TRUE(data.SaveDVFToStream(stream, false, clNone, nullptr, nullptr));
    return stream.AsString();
  };
  const std::string before = dvf();

  TFileStream file(QUILLET_FIXTURES_DIR "/rtf/tables.rtf", fmOpenRead);
  ASSERT_TRUE(data.InsertRTFFromStreamEd_(file));
  const std::string text = test::DocText(data);
  EXPECT_NE(text.find("kept"), std::string::npos) << text;
  EXPECT_NE(text.find("[wide|<|tall / a2|b2|^]"), std::string::npos) << text;
  EXPECT_NE(text.find("[outer 1+[inner 1|inner 2]|outer 2]"), std::string::npos) << text;
  EXPECT_NE(text.find("[yellow|green]"), std::string::npos) << text;

  // The spanned tables were merged while built: undo finds no step of them.
  editor.Undo();
  EXPECT_EQ(test::FirstTable(data), nullptr);
  EXPECT_EQ(dvf(), before);
}

}  // namespace
}  // namespace quillet
