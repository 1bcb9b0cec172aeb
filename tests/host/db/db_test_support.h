#pragma once
// Real databases for the database module's tests: a SQLite file in a
// temporary folder, or a fresh database in the throwaway PostgreSQL cluster
// that CTest starts (scripts/postgres-test-cluster).
#include <QSqlDatabase>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "host/db/record_store.h"

namespace quillet::testing_db {

enum class TBackend { Sqlite, Postgres };
std::string BackendName(TBackend backend);

// The cluster's coordinates, when CTest started it.
struct TClusterInfo {
  std::string host, port, user, password, database;
};
std::optional<TClusterInfo> ReadCluster();
bool InCi();
// A loopback port that nothing listens on: a server that is down.
int ClosedPort();

class TTestDatabase {
 public:
  // A new, empty database; nullptr with the reason when the backend is not
  // there (only PostgreSQL can be missing).
  static std::unique_ptr<TTestDatabase> Create(TBackend backend, std::string* unavailable);
  ~TTestDatabase();

  TBackend Backend() const { return backend_; }
  // What the host sets as ComputerName and ServerName.
  TDbLocation Location() const { return location_; }
  // The schema-qualified form of a table name on this backend.
  std::string Qualified(const std::string& table) const;

  // Statements of the test's own, on a connection of the test's own.
  void Exec(const std::string& sql);
  // The first column of the first row; nullopt for null or no row.
  std::optional<std::string> Value(const std::string& sql);
  // Starts or ends a transaction on the test's connection (to hold locks).
  void Begin();
  void Commit();
  // Connections the module holds open on the server, once that count has
  // settled at `expected` (a closed connection's server process leaves a
  // moment after the client) or two seconds have passed; -1 for SQLite,
  // where nothing can be asked.
  int ModuleConnections(int expected = 0);

 private:
  TTestDatabase() = default;
  QSqlDatabase Admin();

  TBackend backend_ = TBackend::Sqlite;
  TDbLocation location_;
  QString connectionName_;
  std::string folder_;  // SQLite: the temporary folder
};

// Forwards to a real store and keeps a log of what was asked of it, so a
// test sees the SQL texts and parameters sent and whether the connection was
// left open.
struct TStoreLog {
  std::mutex mutex;
  std::vector<std::string> calls;
  bool connected = false;
  std::vector<std::string> Calls() {
    std::lock_guard lock(mutex);
    return calls;
  }
};

// A new database for the running test. A missing PostgreSQL skips the test,
// except under CI, where it fails as a missing SQLite does; nullptr then.
std::unique_ptr<TTestDatabase> DatabaseForTest(TBackend backend);

std::unique_ptr<TRecordStore> MakeRecordingStore(std::unique_ptr<TRecordStore> inner, TStoreLog& log);

// A DVF-like document: 15 reviewer lines (the first the drafter, in GBK),
// two annotation lines, a version line, text lines with double-byte text and
// a run of every byte value, about `size` bytes long.
std::string SampleDocument(size_t size, char variant);

}  // namespace quillet::testing_db
