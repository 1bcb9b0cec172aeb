#pragma once
// The record the program shows when it is started without a file: record 1
// of the table DOCS (key ID, document field BODY) in the embedded default
// store, made with the demo document on the first run.
#include <string>

namespace quillet {

class TCustomDVData;
class TDbDm;
class TMemoryStream;

// Points the module at the default record of the embedded store.
void SetDefaultRecord(TDbDm& db);

// Points the module at the default record; on a first run the table and the
// record are made and the demo document is stored. Errors of the store
// propagate.
void PrepareDefaultRecord(TDbDm& db);

// The default record's document (its DVF stream, positioned at 0), prepared
// as above first.
void ReadDefaultRecord(TDbDm& db, TMemoryStream& stream);

// Writes the document (with its styles) back into the record the module
// points at.
void SaveRecord(TDbDm& db, TCustomDVData& document);

}  // namespace quillet
