// A page saved as DVF: the page's items, and of an item split over pages
// only the part the page holds.
#include <gtest/gtest.h>

#include "engine/base/doc_view_error.h"
#include "platform/core/stream.h"
#include "print_test_data.h"

namespace quillet::test {
namespace {

// Writes which part it is asked to save, by the part's height.
class PartRowsItem : public RowsItem {
 public:
  using RowsItem::RowsItem;
  TDVItemClass ItemClass() const override { return DVItemClassOf<PartRowsItem>; }
  void SaveDVF(TStream& stream, TCustomDVData&, int32_t, const std::string&, const TDVMultiDrawItemPart* part,
               bool) const override {
    stream.WriteString("rows " + (part ? std::to_string(part->Height) : std::string("all")) + "\r\n");
  }
};

TEST(PageDVF, SplitItemsSaveTheirPartOfThePage) {
  PrintDoc doc;
  doc.AddLines("ab");
  auto rows = std::make_unique<PartRowsItem>(&doc.data, std::vector<int32_t>{20, 20, 20});
  rows->ParaNo = 0;
  doc.data.AddItem("", std::move(rows));
  doc.AddLines("cd");
  TFakePrinterDevice printer(ScreenPrinter(200, 50));
  TDVPrint print(printer);
  print.SetLeftMarginMM(0);
  print.SetRightMarginMM(0);
  print.SetTopMarginMM(0);
  print.SetBottomMarginMM(0);
  print.AssignSource(&doc);
  // a, b and the first row; the other two rows; c and d.
  ASSERT_EQ(print.FormatPages(), 3);
  TCustomMainPtblDVData& printed = print.DocView().DVData();
  const auto page = [&](int pageNo) {
    TMemoryStream stream;
    EXPECT_TRUE(printed.SavePageDVFToStream(stream, pageNo));
    const std::string s = stream.AsString();
    return s.substr(s.find("-8 1 2\r\n") + 8);
  };
  EXPECT_EQ(page(1), "0 2 0 0 0 0\r\na\r\nb\r\nrows 20\r\n");
  EXPECT_EQ(page(2), "rows 40\r\n");
  EXPECT_EQ(page(3), "0 2 0 0 0 0\r\nc\r\nd\r\n");
  TMemoryStream stream;
  EXPECT_THROW(printed.SavePageDVFToStream(stream, 4), EDocViewError);
}

}  // namespace
}  // namespace quillet::test
