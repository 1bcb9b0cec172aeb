#pragma once
// A small document for the HTML tests: paragraphs of two alignments,
// styles, a hyperlink, checkpoints, Chinese text in GBK and in a Unicode
// item, and an object.
#include <memory>
#include <string>

#include "engine/export/export_test_util.h"
#include "engine/style/style_sheet.h"

namespace quillet::test {

class HTMLSample {
 public:
  HTMLSample() {
    TFontInfo& normal = style.TextStyles()[0];
    normal.Charset = 134;  // GB2312
    normal.FontName = Utf8ToAnsi("宋体");
    normal.Color = clBlack;
    style.TextStyles()[3].Unicode = true;
    data.SetDVStyle(&style);

    data.AddNL("Hello  <world> & co ", 0, 0);
    data.AddNL("bold", 1, -1);
    data.AddNamedCheckpointExTag("intro", false, {});
    data.AddNL(Utf8ToAnsi("中文段落"), 0, 1);
    data.AddNL("link", 4, 0);
    data.GetItem(data.ItemCount() - 1)->JumpID = 7;
    data.SetAddParagraphMode(false);
    data.AddNL(U16(u"汉字"), 3, 0);
    data.SetAddParagraphMode(true);
    data.AddNL(U16(u" \U0001F600"), 3, -1);
    auto object = std::make_unique<ObjectItem>(&data);
    object->StyleNo = dvsPicture;
    object->ParaNo = -1;
    data.AddItem("pic", std::move(object));
    data.AddNamedCheckpointExTag("end", false, {});
  }
  std::string Font(TDVSaveOptions options = 0) {
    TMemoryStream stream;
    EXPECT_TRUE(data.SaveHTMLToStream(stream, "", "Sample <1>", "img", options, clWhite, nullptr, {5, 6, 7, 8}));
    return stream.AsString();
  }
  std::string CSS(TDVSaveOptions options = 0) {
    TMemoryStream stream;
    EXPECT_TRUE(data.SaveHTMLToStreamEx(stream, "", "Sample <1>", "img", "", "", options, clWhite, nullptr,
                                        {5, 6, 7, 8}));
    return stream.AsString();
  }

  TDVStyle style;
  ExportData data;
};

}  // namespace quillet::test
