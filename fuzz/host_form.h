#pragma once
// The document side of a main form for the host's fuzz targets: an editor on
// its own style sheet, never shown, its reviewers, annotations and the
// record road.
#include <string>

#include "editing/control/editor.h"
#include "engine/style/style_sheet.h"
#include "host/annotation/postil.h"
#include "host/review/document_record.h"
#include "host/review/reviewer_table.h"

namespace quillet::fuzz {

struct HostForm {
  HostForm() {
    editor.SetStyle(&sheet);
    editor.SetBounds(0, 0, 300, 200);
    postil.Today = [] { return std::string("2026-12-10"); };
  }
  // A document, a reviewer and a stroke: what a refused input must keep.
  void Populate() {
    editor.AddNL("kept", 0, 0);
    editor.Format();
    table.Enter("reviewer", "2026-12-10 00:00:00");
    postil.SetUser("writer");
    postil.BeginDraw();
    postil.AddPointM(5, 5, 255, 3, 0, 0, 1);
    postil.AddPointL(25, 15, 255, 3, 0, 0, 1);
    postil.EndDraw();
  }

  TDVStyle sheet;
  TDocViewEdit editor;
  TReviewerTable table;
  TQvPostil postil;
  TDocumentRecord record{editor, table, postil};
};

}  // namespace quillet::fuzz
