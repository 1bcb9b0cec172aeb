#include "host/review/document_record.h"

#include <QCloseEvent>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "editing/control/editor.h"
#include "editing/table/kept_cell_editor.h"
#include "engine/stream/host_lines_check.h"
#include "host/annotation/postil.h"
#include "host/db/db_module.h"
#include "host/review/reviewer_table.h"
#include "platform/core/stream.h"

namespace quillet {

// Holds the form still while a load or save waits for the database: no
// input, no closing, no deletion (a deletion asked meanwhile follows the
// wait), and the record refuses other operations.
class TDocumentRecord::TWait final : public QObject {
 public:
  TWait(TDocumentRecord& record, QWidget* form) : record_(record), form_(form) {
    record_.busy_ = true;
    if (!form_) return;
    wasEnabled_ = form_->isEnabled();
    form_->setEnabled(false);
    form_->installEventFilter(this);
  }
  ~TWait() override {
    record_.busy_ = false;
    if (!form_) return;
    form_->removeEventFilter(this);
    form_->setEnabled(wasEnabled_);
    // Asked again, the deletion would be dropped as already pending.
    if (deleteAsked_) {
      QWidget* form = form_;
      QMetaObject::invokeMethod(form, [form] { delete form; }, Qt::QueuedConnection);
    }
  }
  TWait(const TWait&) = delete;
  TWait& operator=(const TWait&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == form_.data()) {
      if (event->type() == QEvent::Close) {
        event->ignore();
        return true;
      }
      if (event->type() == QEvent::DeferredDelete) {
        deleteAsked_ = true;
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  TDocumentRecord& record_;
  QPointer<QWidget> form_;
  bool wasEnabled_ = true;
  bool deleteAsked_ = false;
};

TDocumentRecord::TDocumentRecord(TCustomDocViewEdit& editor, TReviewerTable& table, TQvPostil& postil, QWidget* form)
    : editor_(editor), table_(table), postil_(postil), form_(form) {}

TDocumentRecord::~TDocumentRecord() = default;

void TDocumentRecord::RefuseWhileBusy() const {
  if (busy_)
    throw EDocumentRecordError(
        "The document is still being loaded or saved; try again when that has finished");
}

void TDocumentRecord::WriteHostLines() {
  TQvDvData& lines = editor_.DVData().HostLines();
  table_.WriteLines(lines.userInfo);
  postil_.Save(lines.allPostil);
}

void TDocumentRecord::SaveToStream(TStream& stream) {
  RefuseWhileBusy();
  WriteHostLines();
  // A host reads the document whenever it likes, also while the user types
  // in a table cell.
  const TKeptCellEditor keptCell(editor_);
  TCustomDVData& data = editor_.DVData();
  const TDVFOptions options = data.GetDVFOptions();
  data.SetDVFOptions(options | kRecordDVFOptions);
  bool written = false;
  try {
    written = editor_.SaveDVFToStream(stream, false);
  } catch (...) {
    data.SetDVFOptions(options);
    throw;
  }
  data.SetDVFOptions(options);
  if (!written) throw EDocumentRecordError("The document could not be written");
}

void TDocumentRecord::Replace(const std::function<bool()>& load, const std::string& refusal) {
  RefuseWhileBusy();
  TReviewerTable read;
  bool linesRead = false;
  TCustomDVData& data = editor_.DVData();
  // The reviewer lines are read while the new document is still a scratch
  // one: damaged lines fail the load before anything is replaced.
  const TScopedHostLinesCheck check(data, [&](const TQvDvData& lines) {
    read.ReadLines(lines.userInfo);
    linesRead = true;
  });
  // A cell edited in place belongs to the document about to go.
  editor_.DestroyInplaceEditor();
  if (!load()) throw EDocumentRecordError(refusal);
  // A document of another kind brought no lines of its own.
  if (!linesRead) data.HostLines() = {};
  table_ = std::move(read);
  postil_.loadPostil(data.HostLines().allPostil);
  // Steps of the old document have nothing to act on in the new one.
  editor_.ClearUndo();
  editor_.Modified = false;
  editor_.Format();
}

void TDocumentRecord::LoadFromStream(TStream& stream, const std::string& refusal) {
  Replace([&] { return editor_.LoadDVFFromStream(stream); }, refusal);
}

int TDocumentRecord::InsertFromStream(TStream& stream, const std::string& refusal) {
  RefuseWhileBusy();
  // The cell's items are written back before the items move.
  editor_.DestroyInplaceEditor();
  TDocViewDVData& data = editor_.DVData();
  const int oldCount = data.ItemCount();
  int32_t left = 0, oldTop = 0;
  bool placed = oldCount > 0 && data.GetItemCoords(0, left, oldTop);
  if (oldCount > 0 && !placed) {
    editor_.Format();
    placed = data.GetItemCoords(0, left, oldTop);
  }
  int startItem = -1, endItem = -1;
  int32_t startOffs = 0, endOffs = 0;
  editor_.GetSelectionBounds(startItem, startOffs, endItem, endOffs, false);

  TReviewerTable read;
  bool reviewersRead = false;
  std::vector<std::string> annotations;
  {
    // Damaged reviewer lines fail the insertion before it stands, whether
    // or not the table takes them.
    const TScopedHostLinesCheck check(data, [&](const TQvDvData& lines) {
      read.ReadLines(lines.userInfo);
      reviewersRead = !lines.userInfo.empty();
      annotations = lines.allPostil;
    });
    if (!editor_.InsertDVFFromStream(stream, 0)) throw EDocumentRecordError(refusal);
  }
  const int added = data.ItemCount() - oldCount;

  bool named = false;
  for (int i = 0; i < TReviewerTable::kSlots && !named; ++i) named = !table_.Slot(i).Name.empty();
  if (!named && reviewersRead) table_ = std::move(read);
  editor_.ClearUndo();
  editor_.Modified = true;
  editor_.Format();
  int32_t newTop = oldTop;
  if (placed && !data.GetItemCoords(added, left, newTop)) newTop = oldTop;
  postil_.InsertPostil(annotations, newTop - oldTop);
  if (startItem >= 0 && endItem >= 0) editor_.SetSelectionBounds(startItem + added, startOffs, endItem + added, endOffs);
  editor_.Invalidate();
  return added;
}

void TDocumentRecord::LoadFromFile(const std::string& fileName) {
  Replace([&] { return editor_.LoadDVF(fileName); }, "\"" + fileName + "\" is not a document");
}

void TDocumentRecord::Import(const std::function<bool(TCustomDocViewEdit&)>& read) {
  Replace([&] { return read(editor_); }, "The document could not be read");
}

void TDocumentRecord::LoadFromDB(TDbDm& db) {
  RefuseWhileBusy();
  TMemoryStream stream;
  {
    TWait wait(*this, form_ ? form_ : editor_.Widget()->window());
    db.LoadFromDB(stream);
  }
  LoadFromStream(stream);
}

void TDocumentRecord::UpdateToDB(TDbDm& db) {
  TMemoryStream stream;
  SaveToStream(stream);
  stream.SetPosition(0);
  {
    TWait wait(*this, form_ ? form_ : editor_.Widget()->window());
    db.UpdateToDB(stream);
  }
  editor_.TraceOn = true;
}

}  // namespace quillet
