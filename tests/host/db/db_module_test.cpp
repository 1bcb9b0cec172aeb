#include "host/db/db_module.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "platform/core/arith.h"
#include "platform/core/stream.h"
#include "tests/host/db/db_test_support.h"

namespace quillet {
namespace {

using testing_db::TBackend;
using testing_db::TStoreLog;
using testing_db::TTestDatabase;

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

std::string Unhex(const std::string& text) {
  std::string out;
  for (size_t i = 0; i + 1 < text.size(); i += 2) out += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
  return out;
}

TMemoryStream StreamOf(const std::string& bytes) { return TMemoryStream(std::vector<uint8_t>(bytes.begin(), bytes.end())); }

// A table DOCS(ID, BODY) with record 7 holding "old" text, 8 a null field;
// no record 9.
class DbModuleTest : public ::testing::TestWithParam<TBackend> {
 protected:
  void SetUp() override {
    db_ = testing_db::DatabaseForTest(GetParam());
    if (!db_) return;
    db_->Exec("CREATE TABLE DOCS (ID integer PRIMARY KEY, BODY text)");
    db_->Exec("INSERT INTO DOCS VALUES (7, 'old')");
    db_->Exec("INSERT INTO DOCS VALUES (8, NULL)");
    module_ = MakeModule();
  }

  std::unique_ptr<TDbDm> MakeModule() {
    auto module = std::make_unique<TDbDm>(
        [this](const TDbLocation& location) { return testing_db::MakeRecordingStore(MakeSqlRecordStore(location), log_); });
    module->Host = db_->Location().Host;
    module->ServerName = db_->Location().ServerName;
    module->TableName = "DOCS";
    module->FieldName = "BODY";
    module->IDName = "ID";
    module->IDValue = "7";
    return module;
  }

  std::string Body(const std::string& id) { return db_->Value("SELECT BODY FROM DOCS WHERE ID=" + id).value_or("<null>"); }

  void ExpectClosed() {
    EXPECT_FALSE(log_.connected);
    EXPECT_FALSE(module_->Connected());
    if (GetParam() == TBackend::Postgres) {
      EXPECT_EQ(db_->ModuleConnections(), 0);
    }
  }

  void Save(const std::string& document) {
    TMemoryStream stream = StreamOf(document);
    module_->UpdateToDB(stream);
  }

  std::string Load() {
    TMemoryStream stream;
    module_->LoadFromDB(stream);
    EXPECT_EQ(stream.GetPosition(), 0);
    return stream.AsString();
  }

  TStoreLog log_;
  std::unique_ptr<TTestDatabase> db_;
  std::unique_ptr<TDbDm> module_;
};

TEST_P(DbModuleTest, SaveAndLoadSendTheirSqlWithTheKeyAsAParameter) {
  const std::string document = testing_db::SampleDocument(4000, 'a');
  Save(document);
  const std::string field = Body("7");
  EXPECT_EQ(log_.Calls(), (std::vector<std::string>{
                              "connect",
                              "SELECT BODY FROM DOCS WHERE 1=2",
                              "UPDATE DOCS SET BODY=:FieldValue WHERE ID=:IDValue FieldValue=<" +
                                  std::to_string(field.size()) + " characters> IDValue=7",
                              "disconnect",
                          }));
  ExpectClosed();

  log_.calls.clear();
  EXPECT_EQ(Load(), document);
  EXPECT_EQ(log_.Calls(), (std::vector<std::string>{
                              "connect",
                              "SELECT BODY FROM DOCS WHERE ID=:IDValue IDValue=7",
                              "disconnect",
                          }));
  ExpectClosed();
  EXPECT_EQ(module_->SelectSQL(), "SELECT BODY FROM DOCS WHERE ID=:IDValue");
}

TEST_P(DbModuleTest, AFirstRunMakesTheTableAndTheRecord) {
  module_->TableName = "NEWDOCS";
  module_->IDValue = "1";
  EXPECT_TRUE(module_->EnsureRecord());
  EXPECT_EQ(db_->Value("SELECT BODY FROM NEWDOCS WHERE ID=1"), std::nullopt);
  EXPECT_FALSE(module_->EnsureRecord());
  Save("first document");
  EXPECT_EQ(Load(), "first document");
  module_->TableName = "DOCS";
  module_->IDValue = "7";
  EXPECT_FALSE(module_->EnsureRecord());
  EXPECT_EQ(Body("7"), "old");
  module_->TableName = "DOCS; DROP TABLE DOCS";
  EXPECT_THROW(module_->EnsureRecord(), EDatabaseError);
  ExpectClosed();
}

TEST_P(DbModuleTest, ARealDocumentRoundTripsWithItsHostLines) {
  TDVStyle style;
  TCustomDVData document;
  document.SetDVStyle(&style);
  document.HostLines().QvRead("QV;\xC6\xF0\xB2\xDD\xC8\xCB;2026-12-10;255");  // 起草人
  document.HostLines().QvRead("QPUser;drafter");
  document.AddNL("\xD6\xD0\xCE\xC4\xCE\xC4\xB5\xB5", 0, 0);  // 中文文档
  document.AddNL("second paragraph", 1, 1);
  document.AddNamedCheckpointExTag("end", false, {});
  TMemoryStream dvf;
  ASSERT_TRUE(document.SaveDVFToStream(dvf, false, clNone, nullptr, nullptr));
  module_->UpdateToDB(dvf);

  TMemoryStream loaded;
  module_->LoadFromDB(loaded);
  TCustomDVData back;
  back.SetDVStyle(&style);
  TColor color = clNone;
  ASSERT_TRUE(back.LoadDVFFromStream(loaded, color, nullptr, nullptr));
  ASSERT_EQ(back.ItemCount(), 2);
  EXPECT_EQ(back.GetItemTextR(0), document.GetItemTextR(0));
  EXPECT_EQ(back.GetItemStyle(1), 1);
  EXPECT_EQ(back.HostLines().userInfo, document.HostLines().userInfo);
  EXPECT_EQ(back.HostLines().allPostil, document.HostLines().allPostil);
  ASSERT_NE(back.NotAddedCP(), nullptr);
  ExpectClosed();
}

TEST_P(DbModuleTest, TheFieldHoldsTheHexadecimalTextOfTheCompressedDocument) {
  for (size_t size : {size_t(0), size_t(300), size_t(300000)}) {
    SCOPED_TRACE(size);
    const std::string document = testing_db::SampleDocument(size, 'b').substr(0, size);
    Save(document);
    const std::string field = Body("7");
    ASSERT_EQ(field.size() % 2, 0u);
    EXPECT_EQ(field, Hex(Unhex(field))) << "upper-case digits only";
    const std::string compressed = Unhex(field);
    ASSERT_GE(compressed.size(), 4u);
    const uint32_t length = static_cast<uint8_t>(compressed[0]) | static_cast<uint8_t>(compressed[1]) << 8 |
                            static_cast<uint8_t>(compressed[2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(compressed[3])) << 24;
    EXPECT_EQ(length, document.size());
    if (size > 1000) {
      EXPECT_LT(compressed.size(), document.size() / 2);
    }
    EXPECT_EQ(Load(), document);
    ExpectClosed();
  }
  EXPECT_EQ(Body("8"), "<null>") << "other records untouched";
}

TEST_P(DbModuleTest, SchemaQualifiedTableNameReachesTheSameRecord) {
  module_->TableName = db_->Qualified("DOCS");
  const std::string document = testing_db::SampleDocument(500, 'q');
  Save(document);
  module_->TableName = "DOCS";
  EXPECT_EQ(Load(), document);
}

TEST_P(DbModuleTest, FailedLoadLeavesTheStreamUntouchedAndTheConnectionClosed) {
  db_->Exec("INSERT INTO DOCS VALUES (10, 'XYZ')");       // not hexadecimal
  db_->Exec("INSERT INTO DOCS VALUES (11, '0A0B0C0D0E')");  // hexadecimal, not a compressed document
  db_->Exec("INSERT INTO DOCS VALUES (12, '')");
  struct Case {
    const char* id;
    const char* message;  // empty: any error
  } cases[] = {
      {"8", "该字段值为空"},  // null field
      {"9", "该字段值为空"},  // no such record: an empty result's field is null
      {"10", "'$XY' is not a valid integer value"},
      {"11", ""},
      {"12", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    module_->IDValue = c.id;
    TMemoryStream stream = StreamOf("caller's bytes");
    stream.SetPosition(3);
    try {
      module_->LoadFromDB(stream);
      ADD_FAILURE() << "no error";
    } catch (const std::exception& e) {
      if (*c.message) {
        EXPECT_STREQ(e.what(), c.message);
      }
    }
    EXPECT_EQ(stream.AsString(), "caller's bytes");
    EXPECT_EQ(stream.GetPosition(), 3);
    ExpectClosed();
  }
}

TEST_P(DbModuleTest, FailedSaveLeavesTheRecordsAsTheyWere) {
  db_->Exec("CREATE TABLE DUPS (ID integer, BODY text)");
  db_->Exec("INSERT INTO DUPS VALUES (5, 'first')");
  db_->Exec("INSERT INTO DUPS VALUES (5, 'second')");
  struct Case {
    const char* table;
    const char* field;
    const char* id;
    const char* message;  // the start of the error's text
  } cases[] = {
      // The update matches no row: a failure, and no record appears.
      {"DOCS", "BODY", "9", "No record in table DOCS has ID=9: the document was not saved"},
      // More than one row: none of them is overwritten.
      {"DUPS", "BODY", "5", "2 records in table DUPS have ID=5: none was changed"},
      // The server refuses the statement.
      {"DOCS", "NOSUCH", "7", ""},
      {"NOSUCH", "BODY", "7", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.table + std::string(".") + c.field + "=" + c.id);
    module_->TableName = c.table;
    module_->FieldName = c.field;
    module_->IDValue = c.id;
    try {
      Save(testing_db::SampleDocument(1000, 'n'));
      ADD_FAILURE() << "no error";
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
    }
    ExpectClosed();
  }
  EXPECT_EQ(db_->Value("SELECT count(*) FROM DOCS"), "2");
  EXPECT_EQ(Body("7"), "old");
  EXPECT_EQ(db_->Value("SELECT BODY FROM DUPS ORDER BY BODY"), "first");
  EXPECT_EQ(db_->Value("SELECT count(*) FROM DUPS WHERE BODY IN ('first', 'second')"), "2");
}

TEST_P(DbModuleTest, KeyValueThatIsNotAnIntegerIsRefusedBeforeAnythingIsSent) {
  for (const char* key : {"abc", "", "7 OR 1=1", "7;DELETE FROM DOCS", "99999999999", "0x10", "7.0", " 7"}) {
    SCOPED_TRACE(key);
    module_->IDValue = key;
    const std::string expected = "'" + std::string(key) + "' is not a valid integer value";
    TMemoryStream stream = StreamOf("caller's bytes");
    try {
      module_->LoadFromDB(stream);
      ADD_FAILURE() << "load: no error";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.what(), expected);
    }
    EXPECT_EQ(stream.AsString(), "caller's bytes");
    try {
      Save("doc");
      ADD_FAILURE() << "save: no error";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.what(), expected);
    }
  }
  EXPECT_TRUE(log_.Calls().empty());
  EXPECT_EQ(db_->Value("SELECT count(*) FROM DOCS"), "2");
  EXPECT_EQ(Body("7"), "old");
}

TEST_P(DbModuleTest, NamesThatAreNotPlainIdentifiersAreRefusedBeforeAnythingIsSent) {
  struct Case {
    std::string TDbDm::*property;
    const char* value;
    const char* message;
  } cases[] = {
      {&TDbDm::TableName, "DOCS; DROP TABLE DOCS", "Invalid table name \"DOCS; DROP TABLE DOCS\": "},
      {&TDbDm::TableName, "DOCS WHERE 1=1 --", "Invalid table name \"DOCS WHERE 1=1 --\": "},
      {&TDbDm::TableName, "DOCS/**/", "Invalid table name \"DOCS/**/\": "},
      {&TDbDm::TableName, "\"DOCS\"", "Invalid table name \"\"DOCS\"\": "},
      {&TDbDm::TableName, "main.public.DOCS", "Invalid table name \"main.public.DOCS\": "},
      {&TDbDm::TableName, ".DOCS", "Invalid table name \".DOCS\": "},
      {&TDbDm::TableName, "", "Invalid table name \"\": "},
      {&TDbDm::FieldName, "BODY,ID", "Invalid field name \"BODY,ID\": "},
      {&TDbDm::FieldName, "BODY=NULL", "Invalid field name \"BODY=NULL\": "},
      {&TDbDm::FieldName, "(SELECT 1)", "Invalid field name \"(SELECT 1)\": "},
      {&TDbDm::FieldName, "DOCS.BODY", "Invalid field name \"DOCS.BODY\": "},
      {&TDbDm::FieldName, "1BODY", "Invalid field name \"1BODY\": "},
      {&TDbDm::IDName, "ID OR 1=1", "Invalid key name \"ID OR 1=1\": "},
      {&TDbDm::IDName, "ID=ID;", "Invalid key name \"ID=ID;\": "},
      {&TDbDm::IDName, "ID\n", "Invalid key name \"ID\n\": "},
      {&TDbDm::IDName, "标识", "Invalid key name \"标识\": "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    module_ = MakeModule();
    (*module_).*c.property = c.value;
    for (bool save : {false, true}) {
      try {
        if (save) {
          Save("doc");
        } else {
          TMemoryStream stream;
          module_->LoadFromDB(stream);
        }
        ADD_FAILURE() << "no error";
      } catch (const EDatabaseError& e) {
        EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
      }
    }
  }
  EXPECT_TRUE(log_.Calls().empty());
  EXPECT_EQ(db_->Value("SELECT count(*) FROM DOCS"), "2");
  EXPECT_EQ(Body("7"), "old");
}

TEST_P(DbModuleTest, ConnectToServerHoldsTheConnectionUntilTheNextOperation) {
  EXPECT_TRUE(module_->ConnectToServer());
  EXPECT_TRUE(module_->Connected());
  if (GetParam() == TBackend::Postgres) {
    EXPECT_EQ(db_->ModuleConnections(1), 1);
  }
  EXPECT_TRUE(module_->ConnectToServer()) << "already connected";
  Save("doc");
  ExpectClosed();
  EXPECT_EQ(Load(), "doc");
  ExpectClosed();
  // Names take effect at the next connection: one that cannot be reached.
  module_->ServerName = GetParam() == TBackend::Sqlite ? "/nonexistent-folder/x.db" : "no_such_database";
  EXPECT_FALSE(module_->ConnectToServer());
  EXPECT_FALSE(module_->Connected());
}

TEST_P(DbModuleTest, EventsAreProcessedWhileTheServerWorks) {
  // The test's own connection holds the record (PostgreSQL: a row lock;
  // SQLite: the write lock) so the save waits on the server; timers keep
  // firing meanwhile, and one of them lets the save through.
  db_->Begin();
  db_->Exec("UPDATE DOCS SET BODY='held' WHERE ID=7");
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
  ticker.start(10);
  bool released = false;
  QTimer::singleShot(300, [&] {
    released = true;
    db_->Commit();
  });
  const std::string document = testing_db::SampleDocument(2000, 'w');
  Save(document);
  EXPECT_TRUE(released);
  EXPECT_GE(ticks, 5);
  EXPECT_EQ(Load(), document);
}

INSTANTIATE_TEST_SUITE_P(Backends, DbModuleTest, ::testing::Values(TBackend::Sqlite, TBackend::Postgres),
                         [](const auto& info) { return testing_db::BackendName(info.param); });

}  // namespace
}  // namespace quillet
