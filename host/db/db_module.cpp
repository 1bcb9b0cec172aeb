#include "host/db/db_module.h"

#include "host/codec/document_text.h"
#include "host/db/sql_names.h"
#include "host/db/user_name.h"
#include "platform/core/arith.h"
#include "platform/core/stream.h"

namespace quillet {

namespace {

constexpr char kFieldIsNull[] = "该字段值为空";

// Closes the connection when the job leaves, however it leaves.
template <typename Close>
class TCloseGuard {
 public:
  explicit TCloseGuard(Close close) : close_(std::move(close)) {}
  ~TCloseGuard() { close_(); }
  TCloseGuard(const TCloseGuard&) = delete;
  TCloseGuard& operator=(const TCloseGuard&) = delete;

 private:
  Close close_;
};

}  // namespace

TDbDm::TDbDm(TStoreFactory factory) : factory_(std::move(factory)) {}

TDbDm::~TDbDm() {
  worker_.Stop([this] { store_.reset(); });
}

std::string TDbDm::SelectSQL() const {
  return "SELECT " + FieldName + " FROM " + TableName + " WHERE " + IDName + "=:IDValue";
}

std::string TDbDm::SelectSQL2() const { return "SELECT " + FieldName + " FROM " + TableName + " WHERE 1=2"; }

std::string TDbDm::UpdateSQL() const {
  return "UPDATE " + TableName + " SET " + FieldName + "=:FieldValue " + "WHERE " + IDName + "=:IDValue";
}

int32_t TDbDm::CheckedRecordKey() const {
  CheckSqlTableName(TableName);
  CheckSqlColumnName("field name", FieldName);
  CheckSqlColumnName("key name", IDName);
  const auto key = ParseInt32(IDValue);
  if (!key) ThrowInvalidInteger(IDValue);
  return *key;
}

void TDbDm::ConnectStore(const TDbLocation& location) {
  if (!store_ || storeLocation_.Host != location.Host || storeLocation_.ServerName != location.ServerName) {
    store_.reset();
    store_ = factory_(location);
    storeLocation_ = location;
  }
  store_->Connect();
}

void TDbDm::CloseStore() {
  if (store_) store_->Disconnect();
}

bool TDbDm::ConnectToServer() {
  const TDbLocation location{Host, ServerName};
  bool connected = false;
  worker_.Run([&] {
    try {
      ConnectStore(location);
    } catch (const EDatabaseError&) {  // answered by the result
    }
    connected = store_ && store_->Connected();
  });
  return connected;
}

bool TDbDm::Connected() {
  bool connected = false;
  worker_.Run([&] { connected = store_ && store_->Connected(); });
  return connected;
}

void TDbDm::LoadFromDB(TMemoryStream& stream) {
  const int32_t key = CheckedRecordKey();
  const TDbLocation location{Host, ServerName};
  const std::string sql = SelectSQL();
  TMemoryStream document;
  // The server's work and the decoding run on the worker thread; the
  // caller's stream is touched only once all of it has succeeded.
  worker_.Run([&] {
    TCloseGuard close([this] { CloseStore(); });
    ConnectStore(location);
    const std::optional<std::string> text = store_->SelectField(sql, key);
    if (!text) throw EDatabaseError(kFieldIsNull);
    document.WriteString(*text);
    BeforeLoadFromStream2(document);
  });
  document.SetPosition(0);
  stream.LoadFromStream(document);
  stream.SetPosition(0);
}

bool TDbDm::EnsureRecord() {
  const int32_t key = CheckedRecordKey();
  const TDbLocation location{Host, ServerName};
  bool created = false;
  worker_.Run([&] {
    TCloseGuard close([this] { CloseStore(); });
    ConnectStore(location);
    created = store_->EnsureRecord(TableName, IDName, FieldName, key);
  });
  return created;
}

void TDbDm::UpdateToDB(TStream& stream) {
  const int32_t key = CheckedRecordKey();
  const TDbLocation location{Host, ServerName};
  const std::string probeSql = SelectSQL2();
  const std::string updateSql = UpdateSQL();
  TMemoryStream text;
  text.CopyFrom(stream, 0);  // the whole stream, from its start
  int64_t rows = 0;
  worker_.Run([&] {
    TCloseGuard close([this] { CloseStore(); });
    AfterSaveToStream2(text);
    ConnectStore(location);
    store_->Probe(probeSql);
    rows = store_->UpdateOne(updateSql, text.AsString(), key);
  });
  if (rows == 0) {
    throw EDatabaseError("No record in table " + TableName + " has " + IDName + "=" + IDValue +
                         ": the document was not saved");
  }
  if (rows != 1) {
    throw EDatabaseError(std::to_string(rows) + " records in table " + TableName + " have " + IDName + "=" +
                         IDValue + ": none was changed");
  }
}

std::string TDbDm::GetUserName() { return GetLoginUserName(); }

}  // namespace quillet
