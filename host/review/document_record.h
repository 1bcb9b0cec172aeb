#pragma once
// TDocumentRecord: the one road by which a document's host data (its
// reviewers and annotations) enters and leaves the editor.
//
// A save writes the host lines into the document's carrier first: the 15
// reviewer lines, then the annotation layer's lines. A replacing load reads
// the stream into a scratch document and checks its reviewer lines there;
// only when all of it has read is the editor's document replaced, together
// with the carrier's lists, the annotation layer and the reviewer table. A
// failed load changes none of them.
//
// While a load or a save waits for the database, the caller's event loop
// runs: the form then takes no input and is not closed, and any other load
// or save through this record is refused with EDocumentRecordError.
#include <functional>
#include <stdexcept>
#include <string>

#include "engine/base/item_types.h"

class QWidget;

namespace quillet {

class TCustomDocViewEdit;
class TDbDm;
class TQvPostil;
class TReviewerTable;
class TStream;

// A document that is not one, and an operation refused while another waits.
class EDocumentRecordError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TDocumentRecord {
 public:
  // A record carries its styles (tracked changes are styles of their own),
  // so it shows the same wherever it is opened.
  static constexpr TDVFOptions kRecordDVFOptions = dvfoSavePicturesBody | dvfoSaveControlsBody | dvfoSaveBinary |
                                                   dvfoSaveTextStyles | dvfoSaveParaStyles;

  // None is owned; all outlive the record. The form is the window that
  // waits with the editor (its top-level window when none is given).
  TDocumentRecord(TCustomDocViewEdit& editor, TReviewerTable& table, TQvPostil& postil, QWidget* form = nullptr);
  ~TDocumentRecord();
  TDocumentRecord(const TDocumentRecord&) = delete;
  TDocumentRecord& operator=(const TDocumentRecord&) = delete;

  // The reviewer lines (slot 0 named the drafter) and the annotation lines
  // in place of the carrier's lists.
  void WriteHostLines();
  // The host lines, then the whole document with its styles. Raises
  // EDocumentRecordError when it cannot be written.
  void SaveToStream(TStream& stream);

  // Replaces the document by a stream's (the uncompressed document form),
  // with the reviewers and annotations it carries; a stream without reviewer
  // lines gives an empty table. Raises EDocumentRecordError for a stream
  // that is not a document and EReviewerError for damaged reviewer lines,
  // with nothing changed.
  void LoadFromStream(TStream& stream, const std::string& refusal = "The record does not hold a document");
  // Inserts a stream's document (the uncompressed form) before the first
  // item and answers how many items came in. The editor keeps its
  // reviewers, unless none has a name yet: then it takes the stream's. The
  // annotations held move down as far as the old first item moved, new
  // strokes staying new, and the stream's annotations join them. The caret
  // stays with the text it was in; the undo steps go, since they name items
  // by number. Raises EDocumentRecordError for a stream that is not a
  // document and EReviewerError for damaged reviewer lines, with nothing
  // changed.
  int InsertFromStream(TStream& stream, const std::string& refusal = "The text does not hold a document");
  // The same from a DVF file.
  void LoadFromFile(const std::string& fileName);
  // A document of another kind, read into the editor by `read`, replaces
  // this one: it carries no reviewers or annotations, so it starts without
  // them. `read` answers false, with the editor's document as it was, when
  // it could not read; that raises EDocumentRecordError.
  void Import(const std::function<bool(TCustomDocViewEdit& editor)>& read);

  // The record the database module names, loaded as above. Errors of the
  // database leave everything as it was.
  void LoadFromDB(TDbDm& db);
  // Writes the document into the record; after a successful write the
  // editor tracks changes again, in the colour and name it last had.
  void UpdateToDB(TDbDm& db);

  // Whether a load or save is waiting for the database now.
  bool Busy() const { return busy_; }
  // Raises EDocumentRecordError while Busy.
  void RefuseWhileBusy() const;

  TCustomDocViewEdit& Editor() const { return editor_; }
  TReviewerTable& Table() const { return table_; }
  TQvPostil& Postil() const { return postil_; }

 private:
  class TWait;
  // Runs a replacing load of the editor and, when it succeeded, puts the
  // host data it read in place.
  void Replace(const std::function<bool()>& load, const std::string& refusal);

  TCustomDocViewEdit& editor_;
  TReviewerTable& table_;
  TQvPostil& postil_;
  QWidget* form_;
  bool busy_ = false;
};

}  // namespace quillet
