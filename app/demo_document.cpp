#include "app/demo_document.h"

#include <memory>
#include <string>

#include "editing/table/table_item.h"
#include "engine/model/dv_data.h"
#include "engine/model/item_registry.h"
#include "engine/style/style_sheet.h"
#include "platform/core/code_page.h"

namespace quillet {

namespace {

// The program's own texts are UTF-8; documents hold the system code page.
std::string Text(const char* utf8) { return Utf8ToAnsi(utf8); }

}  // namespace

void BuildDemoDocument(TCustomDVData& document, TDVStyle& style) {
  TFontInfo& body = style.TextStyles()[0];
  body.FontName = Text("宋体");
  body.Charset = 134;  // GB2312
  body.Size = 12;
  TFontInfo& title = style.TextStyles().Add();
  title.Assign(body);
  title.StyleName = "Title";
  title.Size = 20;
  title.Style = fsBold;
  const int32_t titleNo = style.TextStyles().Count() - 1;
  TFontInfo& latin = style.TextStyles().Add();
  latin.Assign(body);
  latin.StyleName = "Latin";
  latin.FontName = "Times New Roman";
  latin.Charset = 0;
  const int32_t latinNo = style.TextStyles().Count() - 1;
  TParaInfo& centered = style.ParaStyles()[1];
  centered.Alignment = dvaCenter;

  document.AddNL(Text("afxQuillet 文档编辑器"), titleNo, 1);
  document.AddItem("", CreateDocViewItem(dvsBreak, &document));
  document.AddNL(Text("这是默认文档库中的示例文档。文档从起草人传到审阅人手中，每位审阅人的修订以各自的颜色标出，"
                      "可以接受或拒绝；审阅人还可以在页面上手写批注、加盖印章。"),
                 0, 0);
  document.AddNL("This is the sample record of the embedded document store. It is kept in a database field as the "
                 "hexadecimal text of the compressed document, and loaded from there each time the editor starts.",
                 latinNo, 0);
  document.AddNL(Text("文档保存在数据库记录中；没有数据库服务器时，使用用户数据文件夹中的嵌入式文档库。"), 0, 0);

  // A 3 x 3 table whose first row is one merged cell, ruled in the demo colour.
  auto table = std::make_unique<TDVTableItemInfo>(3, 3, &document);
  table->Rows.MergeCellsPlain(0, 0, 1, 3, true, true);
  table->BorderWidth = 1;
  table->BorderStyle = dvtbColor;
  table->BorderColor = DemoTableColor;
  table->CellBorderWidth = 1;
  table->CellBorderStyle = dvtbColor;
  table->CellBorderColor = DemoTableColor;
  table->CellPadding = 4;
  table->GetCells(0, 0)->AddNL(Text("文档的流转"), 0, 1);
  const char* const cells[2][3] = {{"起草人", "审阅人", "批注"}, {"写出初稿", "以各自的颜色修订", "手写批注与印章"}};
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 3; ++c) table->GetCells(r + 1, c)->AddNL(Text(cells[r][c]), 0, 0);
  table->ParaNo = 0;
  document.AddItem("", std::move(table));
}

}  // namespace quillet
