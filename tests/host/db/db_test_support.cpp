#include "tests/host/db/db_test_support.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "platform/core/code_page.h"

namespace quillet::testing_db {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

int NextSerial() {
  static std::atomic<int> serial{0};
  return ++serial;
}

}  // namespace

std::string BackendName(TBackend backend) { return backend == TBackend::Sqlite ? "Sqlite" : "Postgres"; }

bool InCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && std::string(ci) == "true";
}

int ClosedPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t len = sizeof addr;
  getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  close(fd);
  return ntohs(addr.sin_port);
}

std::optional<TClusterInfo> ReadCluster() {
  std::ifstream in(QUILLET_PG_STATE_FILE);
  if (!in) return std::nullopt;
  std::map<std::string, std::string> values;
  std::string line;
  while (std::getline(in, line)) {
    const size_t eq = line.find('=');
    if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  TClusterInfo info{values["PGHOST"], values["PGPORT"], values["PGUSER"], values["PGPASSWORD"], values["PGDATABASE"]};
  if (info.host.empty() || info.port.empty()) return std::nullopt;
  return info;
}

std::unique_ptr<TTestDatabase> DatabaseForTest(TBackend backend) {
  std::string why;
  std::unique_ptr<TTestDatabase> db = TTestDatabase::Create(backend, &why);
  if (!db) [&] {
      if (backend == TBackend::Sqlite || InCi()) FAIL() << why;
      GTEST_SKIP() << why;
    }();
  return db;
}

std::unique_ptr<TTestDatabase> TTestDatabase::Create(TBackend backend, std::string* unavailable) {
  std::unique_ptr<TTestDatabase> db(new TTestDatabase);
  db->backend_ = backend;
  db->connectionName_ = QString("test-admin-%1").arg(NextSerial());
  if (backend == TBackend::Sqlite) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillet-db-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      *unavailable = "cannot make a temporary folder";
      return nullptr;
    }
    db->folder_ = pattern;
    db->location_ = {"", pattern + "/docs.db"};
    QSqlDatabase admin = QSqlDatabase::addDatabase("QSQLITE", db->connectionName_);
    admin.setDatabaseName(Q(db->location_.ServerName));
    admin.setConnectOptions("QSQLITE_BUSY_TIMEOUT=10000");
    if (!admin.open()) {
      *unavailable = admin.lastError().text().toStdString();
      return nullptr;
    }
    return db;
  }

  const auto cluster = ReadCluster();
  if (!cluster) {
    *unavailable = "no PostgreSQL test cluster (CTest starts one through scripts/postgres-test-cluster)";
    return nullptr;
  }
  // The module takes its credentials from libpq's environment, as in use.
  setenv("PGUSER", cluster->user.c_str(), 1);
  setenv("PGPASSWORD", cluster->password.c_str(), 1);
  const std::string name = "quillet_t" + std::to_string(getpid()) + "_" + std::to_string(NextSerial());
  {
    QSqlDatabase setup = QSqlDatabase::addDatabase("QPSQL", db->connectionName_ + "-setup");
    setup.setHostName(Q(cluster->host));
    setup.setPort(std::stoi(cluster->port));
    setup.setDatabaseName(Q(cluster->database));
    setup.setUserName(Q(cluster->user));
    setup.setPassword(Q(cluster->password));
    bool ok = setup.open();
    if (ok) {
      QSqlQuery create(setup);
      ok = create.exec(Q("CREATE DATABASE " + name));
      if (!ok) *unavailable = create.lastError().text().toStdString();
    } else {
      *unavailable = "cannot reach the PostgreSQL test cluster: " + setup.lastError().text().toStdString();
    }
    setup.close();
    if (!ok) {
      setup = QSqlDatabase();
      QSqlDatabase::removeDatabase(db->connectionName_ + "-setup");
      return nullptr;
    }
  }
  QSqlDatabase::removeDatabase(db->connectionName_ + "-setup");
  db->location_ = {cluster->host + ":" + cluster->port, name};
  QSqlDatabase admin = QSqlDatabase::addDatabase("QPSQL", db->connectionName_);
  admin.setHostName(Q(cluster->host));
  admin.setPort(std::stoi(cluster->port));
  admin.setDatabaseName(Q(name));
  admin.setUserName(Q(cluster->user));
  admin.setPassword(Q(cluster->password));
  if (!admin.open()) {
    *unavailable = admin.lastError().text().toStdString();
    return nullptr;
  }
  return db;
}

TTestDatabase::~TTestDatabase() {
  {
    QSqlDatabase admin = QSqlDatabase::database(connectionName_, false);
    admin.close();
  }
  QSqlDatabase::removeDatabase(connectionName_);
  if (!folder_.empty()) std::filesystem::remove_all(folder_);
}

QSqlDatabase TTestDatabase::Admin() { return QSqlDatabase::database(connectionName_, false); }

std::string TTestDatabase::Qualified(const std::string& table) const {
  return (backend_ == TBackend::Sqlite ? "main." : "public.") + table;
}

void TTestDatabase::Exec(const std::string& sql) {
  QSqlQuery query(Admin());
  if (!query.exec(Q(sql))) ADD_FAILURE() << sql << ": " << query.lastError().text().toStdString();
}

std::optional<std::string> TTestDatabase::Value(const std::string& sql) {
  QSqlQuery query(Admin());
  if (!query.exec(Q(sql))) {
    ADD_FAILURE() << sql << ": " << query.lastError().text().toStdString();
    return std::nullopt;
  }
  if (!query.next() || query.value(0).isNull()) return std::nullopt;
  return query.value(0).toString().toStdString();
}

void TTestDatabase::Begin() {
  // SQLite: take the write lock at once, as a writer elsewhere would hold it.
  Exec(backend_ == TBackend::Sqlite ? "BEGIN IMMEDIATE" : "BEGIN");
}

void TTestDatabase::Commit() { Exec("COMMIT"); }

int TTestDatabase::ModuleConnections(int expected) {
  if (backend_ == TBackend::Sqlite) return -1;
  const std::string sql = "SELECT count(*) FROM pg_stat_activity WHERE application_name='afxQuillet' AND datname='" +
                          location_.ServerName + "'";
  int n = -1;
  for (int i = 0; i < 200 && n != expected; ++i) {
    if (i > 0) usleep(10000);
    n = std::stoi(Value(sql).value_or("0"));
  }
  return n;
}

namespace {

class TRecordingStore : public TRecordStore {
 public:
  TRecordingStore(std::unique_ptr<TRecordStore> inner, TStoreLog& log) : inner_(std::move(inner)), log_(log) {}

  void Connect() override {
    Log("connect");
    inner_->Connect();
    SetConnected();
  }
  void Disconnect() override {
    Log("disconnect");
    inner_->Disconnect();
    SetConnected();
  }
  bool Connected() const override { return inner_->Connected(); }
  std::optional<std::string> SelectField(const std::string& sql, int32_t idValue) override {
    Log(sql + " IDValue=" + std::to_string(idValue));
    return inner_->SelectField(sql, idValue);
  }
  void Probe(const std::string& sql) override {
    Log(sql);
    inner_->Probe(sql);
  }
  int64_t UpdateOne(const std::string& sql, const std::string& fieldValue, int32_t idValue) override {
    Log(sql + " FieldValue=<" + std::to_string(fieldValue.size()) + " characters> IDValue=" + std::to_string(idValue));
    return inner_->UpdateOne(sql, fieldValue, idValue);
  }
  bool EnsureRecord(const std::string& table, const std::string& keyName, const std::string& fieldName,
                    int32_t idValue) override {
    Log("ensure " + table + "(" + keyName + ", " + fieldName + ") " + std::to_string(idValue));
    return inner_->EnsureRecord(table, keyName, fieldName, idValue);
  }

 private:
  void Log(const std::string& call) {
    std::lock_guard lock(log_.mutex);
    log_.calls.push_back(call);
  }
  void SetConnected() {
    std::lock_guard lock(log_.mutex);
    log_.connected = inner_->Connected();
  }

  std::unique_ptr<TRecordStore> inner_;
  TStoreLog& log_;
};

}  // namespace

std::unique_ptr<TRecordStore> MakeRecordingStore(std::unique_ptr<TRecordStore> inner, TStoreLog& log) {
  return std::make_unique<TRecordingStore>(std::move(inner), log);
}

std::string SampleDocument(size_t size, char variant) {
  std::string doc;
  doc += "QV;" + Utf8ToAnsi("起草人") + ";2024-05-06 10:00:00;255\r\n";
  doc += "QV;" + Utf8ToAnsi("审核人甲") + ";2024-05-07 11:30:00;16711680\r\n";
  for (int i = 2; i < 15; ++i) doc += "QV;;;0\r\n";
  doc += "QPUser;reviewer\r\nQPL;1;2;30;40\r\n";
  doc += "-8 1 3\r\n";
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  size_t line = 0;
  while (doc.size() < size) {
    ++line;
    doc += "0 " + std::to_string(line) + " " + variant + " " + Utf8ToAnsi("文档正文，第") + std::to_string(line) +
           Utf8ToAnsi("段。") + "\r\n";
    if (line % 16 == 0) doc += all;
  }
  return doc;
}

}  // namespace quillet::testing_db
