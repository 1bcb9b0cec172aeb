// The document record store on Qt SQL: SQLite for the embedded store,
// PostgreSQL for a server.
#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <atomic>

#include "host/db/record_store.h"
#include "host/db/sql_names.h"
#include "platform/core/arith.h"

namespace quillet {

namespace {

constexpr int kDefaultPostgresPort = 5432;
constexpr char kDefaultStoreFile[] = "documents.db";

// $XDG_DATA_HOME/afxQuillet (by default ~/.local/share/afxQuillet).
QString UserDataFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/afxQuillet";
}

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string S(const QString& s) { return s.toUtf8().toStdString(); }

struct TServerAddress {
  std::string host;
  int port = kDefaultPostgresPort;
};

// "host", "host:port", "[v6 address]" or "[v6 address]:port".
TServerAddress ParseServerAddress(const std::string& text) {
  TServerAddress address;
  std::string portText;
  if (!text.empty() && text.front() == '[') {
    const size_t close = text.find(']');
    if (close == std::string::npos) throw EDatabaseError("Invalid server address \"" + text + "\"");
    address.host = text.substr(1, close - 1);
    const std::string rest = text.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != ':') throw EDatabaseError("Invalid server address \"" + text + "\"");
      portText = rest.substr(1);
    }
    if (rest.empty()) return address;
  } else {
    const size_t colon = text.find(':');
    address.host = text.substr(0, colon);
    if (colon == std::string::npos) return address;
    portText = text.substr(colon + 1);
  }
  const auto port = ParseInt32(portText);
  if (address.host.empty() || !port || *port < 1 || *port > 65535) {
    throw EDatabaseError("Invalid server address \"" + text + "\": expected host or host:port");
  }
  address.port = *port;
  return address;
}

class TSqlRecordStore : public TRecordStore {
 public:
  explicit TSqlRecordStore(const TDbLocation& location) : name_(NextConnectionName()) {
    if (location.Host.empty()) {
      QString file = location.ServerName.empty() ? QString(kDefaultStoreFile) : Q(location.ServerName);
      if (QDir::isRelativePath(file)) {
        dataFolder_ = UserDataFolder();
        file = dataFolder_ + "/" + file;
      }
      db_ = QSqlDatabase::addDatabase("QSQLITE", name_);
      db_.setDatabaseName(file);
      // A writer waits this long for another connection's write to finish.
      db_.setConnectOptions("QSQLITE_BUSY_TIMEOUT=10000");
      description_ = "the document store " + S(file);
    } else {
      const TServerAddress address = ParseServerAddress(location.Host);
      db_ = QSqlDatabase::addDatabase("QPSQL", name_);
      db_.setHostName(Q(address.host));
      db_.setPort(address.port);
      db_.setDatabaseName(Q(location.ServerName));
      // User and password come from libpq's environment (PGUSER,
      // PGPASSWORD) or ~/.pgpass, as for every PostgreSQL client.
      db_.setConnectOptions("connect_timeout=10;application_name=afxQuillet");
      description_ = "the PostgreSQL server at " + address.host + ":" + std::to_string(address.port) +
                     ", database \"" + location.ServerName + "\"";
    }
  }

  ~TSqlRecordStore() override {
    db_.close();
    db_ = QSqlDatabase();  // no handle may be left when the connection is removed
    QSqlDatabase::removeDatabase(name_);
  }

  void Connect() override {
    if (db_.isOpen()) return;
    if (!db_.isValid()) throw EDatabaseError("Cannot connect to " + description_ + ": the Qt SQL driver is missing");
    if (!dataFolder_.isEmpty()) QDir().mkpath(dataFolder_);
    if (!db_.open()) throw EDatabaseError("Cannot connect to " + description_ + ": " + S(db_.lastError().text()));
  }

  void Disconnect() override { db_.close(); }

  bool Connected() const override { return db_.isOpen(); }

  std::optional<std::string> SelectField(const std::string& sql, int32_t idValue) override {
    QSqlQuery query = Prepare(sql);
    query.bindValue(":IDValue", idValue);
    Execute(query);
    if (!query.next()) return std::nullopt;
    const QVariant value = query.value(0);
    if (value.isNull()) return std::nullopt;
    const QByteArray bytes =
        value.typeId() == QMetaType::QByteArray ? value.toByteArray() : value.toString().toUtf8();
    return bytes.toStdString();
  }

  void Probe(const std::string& sql) override {
    QSqlQuery query = Prepare(sql);
    Execute(query);
  }

  bool EnsureRecord(const std::string& table, const std::string& keyName, const std::string& fieldName,
                    int32_t idValue) override {
    CheckSqlTableName(table);
    CheckSqlColumnName("IDName", keyName);
    CheckSqlColumnName("FieldName", fieldName);
    // Statements that define tables cannot be prepared on every server.
    QSqlQuery create(db_);
    if (!create.exec(Q("CREATE TABLE IF NOT EXISTS " + table + " (" + keyName + " INTEGER PRIMARY KEY, " +
                       fieldName + " TEXT)")))
      throw EDatabaseError(S(create.lastError().text()));
    QSqlQuery find = Prepare("SELECT 1 FROM " + table + " WHERE " + keyName + "=:IDValue");
    find.bindValue(":IDValue", idValue);
    Execute(find);
    if (find.next()) return false;
    QSqlQuery insert = Prepare("INSERT INTO " + table + " (" + keyName + ") VALUES (:IDValue)");
    insert.bindValue(":IDValue", idValue);
    Execute(insert);
    return true;
  }

  int64_t UpdateOne(const std::string& sql, const std::string& fieldValue, int32_t idValue) override {
    if (!db_.transaction()) throw EDatabaseError(S(db_.lastError().text()));
    int64_t rows = 0;
    try {
      QSqlQuery query = Prepare(sql);
      // The field holds hexadecimal text: one byte is one character.
      query.bindValue(":FieldValue", QString::fromLatin1(fieldValue.data(), static_cast<qsizetype>(fieldValue.size())));
      query.bindValue(":IDValue", idValue);
      Execute(query);
      rows = query.numRowsAffected();
    } catch (...) {
      db_.rollback();
      throw;
    }
    if (rows != 1) {
      db_.rollback();
      return rows;
    }
    if (!db_.commit()) {
      const std::string error = S(db_.lastError().text());
      db_.rollback();
      throw EDatabaseError(error);
    }
    return rows;
  }

 private:
  static QString NextConnectionName() {
    static std::atomic<int> counter{0};
    return QString("quillet-db-%1").arg(++counter);
  }

  QSqlQuery Prepare(const std::string& sql) {
    QSqlQuery query(db_);
    query.setForwardOnly(true);
    if (!query.prepare(Q(sql))) throw EDatabaseError(S(query.lastError().text()));
    return query;
  }

  static void Execute(QSqlQuery& query) {
    if (!query.exec()) throw EDatabaseError(S(query.lastError().text()));
  }

  QString name_;
  QString dataFolder_;  // created on connect when the file lives there
  QSqlDatabase db_;
  std::string description_;
};

}  // namespace

bool TRecordStore::EnsureRecord(const std::string&, const std::string&, const std::string&, int32_t) {
  throw EDatabaseError("This document store cannot create records");
}

std::unique_ptr<TRecordStore> MakeSqlRecordStore(const TDbLocation& location) {
  return std::make_unique<TSqlRecordStore>(location);
}

}  // namespace quillet
