// Documents with tables as the host stores them: the DVF stream, compressed
// and turned into hexadecimal text, read back to the same stream.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editing/table/table_item.h"
#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "host/codec/document_text.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"

namespace quillet {
namespace {

std::string Save(TCustomDVData& data) {
  TMemoryStream stream;
  EXPECT_TRUE(data.SaveDVFToStream(stream, false, clNone, nullptr, nullptr));
  return stream.AsString();
}

class TableRecordTest : public testing::Test {
 protected:
  void SetUp() override {
    RegisterTableItem();
    style.TextStyles()[0].Charset = 134;
    document.SetDVStyle(&style);
    document.SetDVFOptions(dvfoSaveBinary | dvfoSaveTextStyles | dvfoSaveParaStyles);
    document.AddNL(Utf8ToAnsi("表格之前"), 0, 0);
    // A 2 x 2 table whose first row is one cell, and in its lower right
    // cell a table of its own.
    auto table = std::make_unique<TDVTableItemInfo>(2, 2, &document);
    table->Rows.MergeCellsPlain(0, 0, 1, 2, true, true);
    table->GetCells(0, 0)->AddNL(Utf8ToAnsi("合并的第一行"), 0, 0);
    table->GetCells(1, 0)->AddNL("left", 0, 0);
    TDVTableCellData& host = *table->GetCells(1, 1);
    auto inner = std::make_unique<TDVTableItemInfo>(1, 2, &host);
    inner->GetCells(0, 1)->AddNL(Utf8ToAnsi("嵌套"), 0, 0);
    inner->ParaNo = 0;
    host.AddItem("", std::move(inner));
    table->ParaNo = 0;
    document.AddItem("", std::move(table));
    document.AddNL("after", 0, 0);
  }

  TDVStyle style;
  TCustomDVData document;
};

TEST_F(TableRecordTest, CompressedHexadecimalRecordReadsBack) {
  for (bool binary : {true, false}) {
    SCOPED_TRACE(binary ? "binary" : "hexadecimal");
    document.SetDVFOptions(binary ? document.GetDVFOptions() | dvfoSaveBinary
                                  : document.GetDVFOptions() & ~static_cast<TDVFOptions>(dvfoSaveBinary));
    const std::string dvf = Save(document);
    TMemoryStream stream(std::vector<uint8_t>(dvf.begin(), dvf.end()));
    AfterSaveToStream2(stream);
    const std::string text = stream.AsString();
    EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF"), std::string::npos);

    BeforeLoadFromStream2(stream);
    TDVStyle readStyle;
    TCustomDVData read;
    read.SetDVStyle(&readStyle);
    read.SetDVFOptions(document.GetDVFOptions());
    TColor color = clNone;
    ASSERT_TRUE(read.LoadDVFFromStream(stream, color, nullptr, nullptr));
    ASSERT_EQ(read.ItemCount(), 3);
    const auto* table = dynamic_cast<const TDVTableItemInfo*>(read.GetItem(1));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetCells(0, 0)->ColSpan, 2);
    EXPECT_EQ(table->GetCells(0, 0)->GetItemTextR(0), Utf8ToAnsi("合并的第一行"));
    const TDVTableCellData& host = *table->GetCells(1, 1);
    ASSERT_EQ(host.ItemCount(), 1);
    const auto* inner = dynamic_cast<const TDVTableItemInfo*>(host.GetItem(0));
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->GetCells(0, 1)->GetItemTextR(0), Utf8ToAnsi("嵌套"));
    EXPECT_EQ(Save(read), dvf);
  }
}

}  // namespace
}  // namespace quillet
