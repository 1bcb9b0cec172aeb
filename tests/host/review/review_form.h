#pragma once
// One main form's document side for the host's tests: an editor on its own
// style sheet, shown offscreen, its reviewers with tracking on a fixed
// clock, annotations on a fixed date, and the record road.
#include <QCoreApplication>
#include <QKeyEvent>
#include <string>
#include <vector>

#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "host/annotation/postil.h"
#include "host/review/document_record.h"
#include "host/review/reviewer_table.h"
#include "host/review/revision_tracking.h"
#include "tests/host/annotation/postil_test_support.h"

namespace quillet::test {

struct ReviewForm {
  ReviewForm() {
    sheet.TextStyles().Clear();
    sheet.TextStyles().Add().Charset = 134;  // 0: plain, GB2312
    editor.SetStyle(&sheet);
    editor.SetBounds(0, 0, 500, 300);
    editor.Show();
    tracking.Now = [this] { return "2026-12-10 10:00:0" + std::to_string(++clock); };
    WithFixedDate(postil);
  }
  // Typed text, as a key press with that text.
  void Type(const std::string& utf8) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromStdString(utf8));
    QCoreApplication::sendEvent(editor.Widget(), &press);
  }
  std::vector<TReviewer> Reviewers() const {
    std::vector<TReviewer> reviewers;
    for (int i = 0; i < TReviewerTable::kSlots; ++i) reviewers.push_back(table.Slot(i));
    return reviewers;
  }
  // The annotation lines a save would write.
  std::vector<std::string> Annotations() const {
    std::vector<std::string> lines;
    postil.Save(lines);
    return lines;
  }

  TDVStyle sheet;
  TDocViewEdit editor;
  TReviewerTable table;
  TTrackingFormState state;
  TRevisionTracking tracking{editor, table, state};
  TQvPostil postil;
  TDocumentRecord record{editor, table, postil};
  int clock = 0;
};

}  // namespace quillet::test
