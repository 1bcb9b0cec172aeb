#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "host/db/record_store.h"
#include "tests/host/db/db_test_support.h"
#include "tests/support/scoped_env.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EDatabaseError& e) {
    return e.what();
  }
  return "<no error>";
}

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

TEST(SqlRecordStore, EmbeddedStoreLivesInTheUserDataFolder) {
  const fs::path home = fs::temp_directory_path() / ("quillet-xdg-" + std::to_string(getpid()));
  fs::remove_all(home);
  const test::TScopedEnv dataHome("XDG_DATA_HOME", home.string());
  struct Case {
    const char* serverName;
    fs::path file;
  } cases[] = {
      {"", home / "afxQuillet" / "documents.db"},
      {"mine.db", home / "afxQuillet" / "mine.db"},
      {"", home / "afxQuillet" / "documents.db"},  // the folder exists by now
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.serverName);
    auto store = MakeSqlRecordStore({"", c.serverName});
    store->Connect();
    EXPECT_TRUE(store->Connected());
    store->Probe("CREATE TABLE IF NOT EXISTS DOCS (ID integer, BODY text)");
    store->Disconnect();
    EXPECT_FALSE(store->Connected());
    EXPECT_TRUE(fs::exists(c.file));
  }
  // An absolute name is taken as it is.
  const fs::path absolute = home / "elsewhere.db";
  auto store = MakeSqlRecordStore({"", absolute.string()});
  store->Connect();
  EXPECT_TRUE(fs::exists(absolute));
  store.reset();
  fs::remove_all(home);
}

TEST(SqlRecordStore, UnopenableFileGivesAClearError) {
  auto store = MakeSqlRecordStore({"", "/nonexistent-folder/docs.db"});
  EXPECT_TRUE(StartsWith(ErrorOf([&] { store->Connect(); }),
                         "Cannot connect to the document store /nonexistent-folder/docs.db: "));
  EXPECT_FALSE(store->Connected());
}

TEST(SqlRecordStore, ServerAddressIsHostOrHostAndPort) {
  for (const char* address : {"db.example:", "db.example:0", "db.example:65536", "db.example:54x", ":5432",
                              "[::1", "[::1]5432", "[]:5432", "db.example:-1"}) {
    SCOPED_TRACE(address);
    EXPECT_TRUE(StartsWith(ErrorOf([&] { MakeSqlRecordStore({address, "docs"}); }),
                           "Invalid server address \"" + std::string(address) + "\""));
  }
  for (const char* address : {"db.example", "db.example:6543", "[::1]", "[::1]:6543", "127.0.0.1:5432"}) {
    SCOPED_TRACE(address);
    EXPECT_NO_THROW(MakeSqlRecordStore({address, "docs"}));
  }
}

TEST(SqlRecordStore, ServerThatIsDownGivesAClearConnectionError) {
  const std::string port = std::to_string(testing_db::ClosedPort());
  auto store = MakeSqlRecordStore({"127.0.0.1:" + port, "docs"});
  const std::string error = ErrorOf([&] { store->Connect(); });
  EXPECT_TRUE(StartsWith(error, "Cannot connect to the PostgreSQL server at 127.0.0.1:" + port + ", database \"docs\": "))
      << error;
  EXPECT_NE(error.find("refused"), std::string::npos) << error;
  EXPECT_FALSE(store->Connected());
}

TEST(SqlRecordStore, CredentialsComeFromThePostgresEnvironment) {
  const auto cluster = testing_db::ReadCluster();
  if (!cluster) {
    if (testing_db::InCi()) FAIL() << "no PostgreSQL test cluster";
    GTEST_SKIP() << "no PostgreSQL test cluster";
  }
  const TDbLocation location{cluster->host + ":" + cluster->port, cluster->database};
  setenv("PGUSER", cluster->user.c_str(), 1);
  setenv("PGPASSWORD", "wrong", 1);
  auto refused = MakeSqlRecordStore(location);
  const std::string error = ErrorOf([&] { refused->Connect(); });
  EXPECT_NE(error.find("password authentication failed"), std::string::npos) << error;
  setenv("PGPASSWORD", cluster->password.c_str(), 1);
  auto store = MakeSqlRecordStore(location);
  store->Connect();
  EXPECT_TRUE(store->Connected());
}

}  // namespace
}  // namespace quillet
