#pragma once
// The document record as the database module sees it: one text field of one
// row, reached through a connection that is opened and closed around each
// operation. The rest of the host sees only this interface, never the SQL
// library behind it.
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace quillet {

// Connection failures, server-side SQL errors and a record that is not there.
class EDatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where the records live: `Host` empty is the embedded SQLite store, the file
// named by `ServerName` (relative names resolve in the user's data folder);
// otherwise a PostgreSQL server at `Host` ("host" or "host:port"), database
// `ServerName`.
struct TDbLocation {
  std::string Host;
  std::string ServerName;
};

// Every member raises EDatabaseError on failure. A store is used from one
// thread only: the one that created it.
class TRecordStore {
 public:
  virtual ~TRecordStore() = default;

  virtual void Connect() = 0;
  virtual void Disconnect() = 0;
  virtual bool Connected() const = 0;

  // Runs a query that names the parameter ":IDValue". The first column of
  // the first row; nullopt when the field is null or no row matches.
  virtual std::optional<std::string> SelectField(const std::string& sql, int32_t idValue) = 0;
  // Runs a query that only checks that its table and field exist.
  virtual void Probe(const std::string& sql) = 0;
  // Runs an update with the parameters ":FieldValue" (text) and ":IDValue"
  // (integer) in a transaction and answers how many rows it matched; the
  // change is committed only when that is exactly one, otherwise rolled back.
  virtual int64_t UpdateOne(const std::string& sql, const std::string& fieldValue, int32_t idValue) = 0;
  // Makes the table (key integer, field text) when it is missing and a row
  // with the key and a null field when none has it; answers whether the row
  // is new. The names must be plain identifiers. For a store's first run.
  virtual bool EnsureRecord(const std::string& table, const std::string& keyName, const std::string& fieldName,
                            int32_t idValue);
};

// The store on Qt SQL for a location (sql_record_store.cpp).
std::unique_ptr<TRecordStore> MakeSqlRecordStore(const TDbLocation& location);

}  // namespace quillet
