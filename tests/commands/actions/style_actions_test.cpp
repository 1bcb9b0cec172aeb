// Style conversions of the commands on a real editor: the visited styles
// change through copies that reuse equal styles, protected styles stay, the
// change undoes to the bytes from before, and the host's handler comes back
// also when the conversion raises.
#include "commands/actions/style_actions.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "../../editing/edit_test_util.h"
#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"

namespace quillet::test {
namespace {

class StyleActions : public EditTest {};

const auto kMakeBold = [](TFontInfo& style, int32_t) { style.Style |= fsBold; };

TEST_F(StyleActions, TextConversionReusesEqualStylesAndSkipsProtectedOnes) {
  Load(R"(P0 0"ab" 2"cd" 0"ef" P0 0"gh")");
  const int before = sheet.TextStyles().Count();
  editor->SelectAll();
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { ConvertTextStyles(*editor, 0, kMakeBold); }));
  ASSERT_EQ(sheet.TextStyles().Count(), before + 1);
  const std::string bold = std::to_string(before);
  EXPECT_EQ(Doc(), "P0 " + bold + R"("ab" 2"cd" )" + bold + R"("ef" P0 )" + bold + R"("gh")");
  // The same change once more finds the style made the first time.
  editor->SelectAll();
  ConvertTextStyles(*editor, 0, kMakeBold);
  EXPECT_EQ(sheet.TextStyles().Count(), before + 1);
}

TEST_F(StyleActions, ParaConversionSkipsProtectedParagraphs) {
  Load(R"(P0 0"ab" P2 0"cd" P1 0"ef")");
  editor->SelectAll();
  const auto indent = [](TParaInfo& style, int32_t) { style.LeftIndent = 40; };
  EXPECT_TRUE(UndoRedoRoundTrip(Data(), [&] { ConvertParaStyles(*editor, 0, indent); }));
  const TParaInfos& paras = sheet.ParaStyles();
  const int changed = Data().GetItemPara(0);
  EXPECT_EQ(paras[changed].LeftIndent, 40);
  EXPECT_EQ(Data().GetItemPara(1), kProtectedPara);
  EXPECT_EQ(paras[Data().GetItemPara(2)].LeftIndent, 40);
}

TEST_F(StyleActions, HostHandlerComesBackAlsoWhenTheConversionRaises) {
  int hostCalls = 0;
  editor->OnStyleConversion = [&](void*, int32_t, int32_t, bool, int32_t&) { ++hostCalls; };
  Load(R"(P0 0"ab")");
  editor->SelectAll();
  const auto raise = [](TFontInfo&, int32_t) { throw std::runtime_error("stop"); };
  EXPECT_THROW(ConvertTextStyles(*editor, 0, raise), std::runtime_error);
  ASSERT_TRUE(editor->OnStyleConversion);
  int32_t styleNo = 0;
  editor->OnStyleConversion(nullptr, 0, 0, true, styleNo);
  EXPECT_EQ(hostCalls, 1);
}

}  // namespace
}  // namespace quillet::test
