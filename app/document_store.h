#pragma once
// The record the program shows when it is started without a file: record 1
// of the table DOCS (key ID, document field BODY) in the embedded default
// store, made with the demo document on the first run.
#include <string>

namespace quillet {

class TCustomDVData;
class TDbDm;
class TDVStyle;

// Points the module at the default record of the embedded store.
void SetDefaultRecord(TDbDm& db);

// Loads the default record into the document, replacing it and its styles.
// On a first run the table and the record are made and the demo document is
// stored first. Errors of the store propagate; a record that is not a
// document raises EDocViewError and leaves the document as it was.
void OpenDefaultRecord(TDbDm& db, TCustomDVData& document, TDVStyle& style);

// Writes the document (with its styles) back into the record the module
// points at.
void SaveRecord(TDbDm& db, TCustomDVData& document);

}  // namespace quillet
