// Two modules, each with its own connection, saving at the same time.
#include <gtest/gtest.h>

#include <thread>

#include "host/db/db_module.h"
#include "platform/core/stream.h"
#include "tests/host/db/db_test_support.h"

namespace quillet {
namespace {

using testing_db::TBackend;
using testing_db::TTestDatabase;

class DbConcurrencyTest : public ::testing::TestWithParam<TBackend> {};

TEST_P(DbConcurrencyTest, ParallelSavesLeaveEveryRecordWhole) {
  auto db = testing_db::DatabaseForTest(GetParam());
  if (!db) return;
  db->Exec("CREATE TABLE DOCS (ID integer PRIMARY KEY, BODY text)");
  for (int id : {1, 2, 3}) db->Exec("INSERT INTO DOCS VALUES (" + std::to_string(id) + ", NULL)");

  // Large enough that a torn write would show: a few hundred kilobytes of
  // hexadecimal text each, different in every part.
  const std::string documents[2] = {testing_db::SampleDocument(200000, 'A'), testing_db::SampleDocument(210000, 'B')};
  constexpr int kRounds = 6;
  std::string failures[2];
  auto writer = [&](int w) {
    TDbDm module;
    module.Host = db->Location().Host;
    module.ServerName = db->Location().ServerName;
    module.TableName = "DOCS";
    module.FieldName = "BODY";
    module.IDName = "ID";
    try {
      for (int round = 0; round < kRounds; ++round) {
        // Its own record, then the record both write.
        for (const char* id : {w == 0 ? "1" : "2", "3"}) {
          module.IDValue = id;
          TMemoryStream out(std::vector<uint8_t>(documents[w].begin(), documents[w].end()));
          module.UpdateToDB(out);
        }
        module.IDValue = w == 0 ? "1" : "2";
        TMemoryStream in;
        module.LoadFromDB(in);
        if (in.AsString() != documents[w]) failures[w] += "own record changed; ";
      }
    } catch (const std::exception& e) {
      failures[w] += e.what();
    }
  };
  std::thread first(writer, 0);
  std::thread second(writer, 1);
  first.join();
  second.join();
  EXPECT_EQ(failures[0], "");
  EXPECT_EQ(failures[1], "");

  TDbDm reader;
  reader.Host = db->Location().Host;
  reader.ServerName = db->Location().ServerName;
  reader.TableName = "DOCS";
  reader.FieldName = "BODY";
  reader.IDName = "ID";
  auto load = [&](const char* id) {
    reader.IDValue = id;
    TMemoryStream in;
    reader.LoadFromDB(in);
    return in.AsString();
  };
  EXPECT_EQ(load("1"), documents[0]);
  EXPECT_EQ(load("2"), documents[1]);
  const std::string shared = load("3");
  EXPECT_TRUE(shared == documents[0] || shared == documents[1]) << "record 3 is neither document whole";
}

INSTANTIATE_TEST_SUITE_P(Backends, DbConcurrencyTest, ::testing::Values(TBackend::Sqlite, TBackend::Postgres),
                         [](const auto& info) { return testing_db::BackendName(info.param); });

}  // namespace
}  // namespace quillet
