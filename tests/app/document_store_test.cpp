#include "app/document_store.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <string>

#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "host/db/db_module.h"
#include "platform/core/code_page.h"
#include "platform/core/stream.h"

namespace quillet {
namespace {

// The default store lives in the user's data folder: each test gets one of
// its own.
class DefaultStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", folder.path().toUtf8());
  }
  void TearDown() override { qputenv("XDG_DATA_HOME", saved); }
  QTemporaryDir folder;
  QByteArray saved;
};

std::string AllText(const TCustomDVData& document) {
  std::string text;
  for (int i = 0; i < document.ItemCount(); ++i) text += document.GetItemTextR(i) + "\n";
  return text;
}

void OpenDefaultRecord(TDbDm& db, TCustomDVData& document, TDVStyle& style) {
  TMemoryStream stream;
  ReadDefaultRecord(db, stream);
  document.SetDVStyle(&style);
  TColor color = clNone;
  ASSERT_TRUE(document.LoadDVFFromStream(stream, color, nullptr, nullptr));
}

TEST_F(DefaultStoreTest, FirstRunMakesTheDemoRecordAndLaterRunsLoadIt) {
  TDbDm db;
  TDVStyle style;
  TCustomDVData document;
  OpenDefaultRecord(db, document, style);
  EXPECT_NE(AllText(document).find(Utf8ToAnsi("示例文档")), std::string::npos);
  EXPECT_GT(style.TextStyles().Count(), 6);  // the demo's styles came with it

  // A changed document is saved and is what the next run opens.
  document.AddNL("added later", 0, 0);
  SaveRecord(db, document);
  TDbDm again;
  TDVStyle style2;
  TCustomDVData reopened;
  OpenDefaultRecord(again, reopened, style2);
  EXPECT_EQ(AllText(reopened), AllText(document));
  EXPECT_FALSE(again.Connected());
}

}  // namespace
}  // namespace quillet
