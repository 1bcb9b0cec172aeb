#include "app/document_store.h"

#include "app/demo_document.h"
#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "host/db/db_module.h"
#include "host/review/document_record.h"
#include "platform/core/stream.h"

namespace quillet {

void SetDefaultRecord(TDbDm& db) {
  db.Host.clear();
  db.ServerName.clear();
  db.TableName = "DOCS";
  db.FieldName = "BODY";
  db.IDName = "ID";
  db.IDValue = "1";
}

void SaveRecord(TDbDm& db, TCustomDVData& document) {
  const TDVFOptions options = document.GetDVFOptions();
  document.SetDVFOptions(options | TDocumentRecord::kRecordDVFOptions);
  TMemoryStream stream;
  const bool written = document.SaveDVFToStream(stream, false, clNone, nullptr, nullptr);
  document.SetDVFOptions(options);
  if (!written) throw EDocViewError("The document could not be written");
  db.UpdateToDB(stream);
}

void PrepareDefaultRecord(TDbDm& db) {
  SetDefaultRecord(db);
  if (db.EnsureRecord()) {
    TDVStyle demoStyle;
    TCustomDVData demo;
    demo.SetDVStyle(&demoStyle);
    BuildDemoDocument(demo, demoStyle);
    SaveRecord(db, demo);
  }
}

void ReadDefaultRecord(TDbDm& db, TMemoryStream& stream) {
  PrepareDefaultRecord(db);
  db.LoadFromDB(stream);
}

}  // namespace quillet
