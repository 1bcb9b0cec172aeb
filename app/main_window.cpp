#include "app/main_window.h"

#include <QFileInfo>

#include "app/document_store.h"
#include "engine/style/style_sheet.h"
#include "engine/view/docview.h"
#include "host/db/db_module.h"
#include "platform/core/stream.h"

namespace quillet {

TMainWindow::TMainWindow()
    : style_(std::make_unique<TDVStyle>()), view_(std::make_unique<TDocView>(this)), db_(std::make_unique<TDbDm>()) {
  view_->SetStyle(style_.get());
  setCentralWidget(view_->Widget());
  setWindowTitle("afxQuillet");
  resize(900, 700);
}

// The viewer's widget belongs to the window; the viewer goes first.
TMainWindow::~TMainWindow() { view_.reset(); }

bool TMainWindow::OpenDefaultStore(std::string& error) {
  try {
    TMemoryStream stream;
    ReadDefaultRecord(*db_, stream);
    if (!view_->LoadDVFFromStream(stream)) {
      error = "The default record does not hold a document";
      return false;
    }
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
  Shown(db_->TableName + " " + db_->IDName + "=" + db_->IDValue);
  return true;
}

bool TMainWindow::OpenFile(const std::string& fileName, std::string& error) {
  try {
    if (!view_->LoadDVF(fileName)) {
      error = "\"" + fileName + "\" is not a document";
      return false;
    }
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
  Shown(QFileInfo(QString::fromStdString(fileName)).fileName().toStdString());
  return true;
}

void TMainWindow::Shown(const std::string& title) {
  view_->Format();
  setWindowTitle(QString::fromStdString("afxQuillet - " + title));
}

}  // namespace quillet
