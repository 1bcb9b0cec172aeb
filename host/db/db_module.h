#pragma once
// TDbDm: the database module. It holds the connection to the document store,
// builds the SQL texts from the names the host sets, reads the document field
// into a stream of the uncompressed document and writes a document back into
// the field as the hexadecimal text of its compressed form.
#include <functional>
#include <memory>
#include <string>

#include "host/db/db_worker.h"
#include "host/db/record_store.h"

namespace quillet {

class TStream;
class TMemoryStream;

class TDbDm {
 public:
  using TStoreFactory = std::function<std::unique_ptr<TRecordStore>(const TDbLocation&)>;

  // The store is made by `factory` for the names set at the time of
  // connecting; by default the store on Qt SQL.
  explicit TDbDm(TStoreFactory factory = MakeSqlRecordStore);
  // Closes the connection when it is open.
  ~TDbDm();
  TDbDm(const TDbDm&) = delete;
  TDbDm& operator=(const TDbDm&) = delete;

  // Set by the host; plain stores that take effect at the next connection.
  std::string Host;         // empty: the embedded store; else "host" or "host:port"
  std::string ServerName;   // the store's file, or the server's database
  std::string CurUserName;  // empty: the login user name is used
  std::string FieldName;
  std::string TableName;
  std::string IDName;
  std::string IDValue;  // a decimal integer

  // Connects with the current names and leaves the connection open until
  // the next load or update closes it; false when it did not come up.
  bool ConnectToServer();
  // Whether the connection is open now.
  bool Connected();

  // The key value is a parameter in both the select and the update, never
  // pasted into the text.
  std::string SelectSQL() const;
  // An empty result that checks that the table and the field exist.
  std::string SelectSQL2() const;
  std::string UpdateSQL() const;

  // Fills `stream` with the uncompressed document, positioned at 0. On any
  // failure the stream is left untouched; "该字段值为空" when the field is
  // null or no row has the key.
  void LoadFromDB(TMemoryStream& stream);
  // Writes the whole of `stream` (an uncompressed document) into the field.
  // On any failure the record is left as it was; an update that matches no
  // row, or more than one, is a failure.
  void UpdateToDB(TStream& stream);

  // Makes the record's table and row when they are missing (a store's first
  // run); answers whether the row is new, its field still null.
  bool EnsureRecord();

  // The logged-in user's name; empty when it cannot be found.
  static std::string GetUserName();

 private:
  // Refuses names that are not plain identifiers and a key that is not an
  // integer, before anything is sent.
  int32_t CheckedRecordKey() const;
  // On the worker thread: a store for the current names, connected.
  void ConnectStore(const TDbLocation& location);
  void CloseStore();

  TStoreFactory factory_;
  // Made, used and freed on the worker thread only.
  std::unique_ptr<TRecordStore> store_;
  TDbLocation storeLocation_;
  TDbWorker worker_;
};

}  // namespace quillet
