// quillet: the editor's host program. Without arguments it shows the record
// of the embedded default document store (made on the first run); with a
// file it shows that DVF file. --render-to FILE draws the window into a PNG
// file and ends, for checks without a screen. --dbus puts the control on the
// session bus for hosts to drive (app/bus_program.h).
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <cstdio>
#include <string>

#include "app/bus_program.h"
#include "app/program_window.h"
#include "interchange/rtf/rtf_document_reader.h"
#include "editing/table/table_item.h"
#include "platform/gfx/font_setup.h"
#include "platform/ui/application.h"
#include "platform/ui/qt_texts.h"

int main(int argc, char** argv) {
  quillet::InstallProjectFontConfig();
  QApplication app(argc, argv);
  quillet::InstallWindowLayer();
  const quillet::TChineseQtTexts qtTexts;
  quillet::InstallRTFReader();
  quillet::RegisterTableItem();

  QStringList args = QApplication::arguments();
  args.removeFirst();
  if (args == QStringList{"--dbus"}) return quillet::RunBusProgram();
  QString renderTo;
  if (const qsizetype at = args.indexOf("--render-to"); at >= 0) {
    if (at + 1 >= args.size()) {
      std::fprintf(stderr, "quillet: --render-to needs a file name\n");
      return 2;
    }
    renderTo = args.at(at + 1);
    args.remove(at, 2);
  }

  quillet::TProgramWindow window;
  std::string error;
  const bool opened = args.isEmpty() ? window.OpenDefaultStore(error) : window.OpenFile(args.first().toStdString(), error);
  if (!opened) {
    std::fprintf(stderr, "quillet: %s\n", error.c_str());
    if (!renderTo.isEmpty()) return 1;
    QMessageBox::critical(window.Widget(), "afxQuillet", QString::fromStdString(error));
  }
  window.Widget()->show();
  if (!renderTo.isEmpty()) {
    QApplication::processEvents();
    return window.Widget()->grab().save(renderTo, "PNG") ? 0 : 1;
  }
  return QApplication::exec();
}
