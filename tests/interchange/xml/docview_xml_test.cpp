// The import component: the root element, files and their folder, the view
// settings of "document", and loads that fail leaving the editor as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/model/dv_data.h"
#include "engine/print/print_component.h"
#include "platform/core/arith.h"
#include "platform/core/stream.h"
#include "platform/gfx/fake_printer_device.h"
#include "xml_import_util.h"

namespace quillet::test {
namespace {

using XmlComponent = XmlImportTest;

TEST_F(XmlComponent, TheRootElementIsMatchedWithoutRegardToCase) {
  Load("<?xml version=\"1.0\" encoding=\"windows-1250\"?><BOOK><document><text>\xD6\xD0</text></document></BOOK>");
  EXPECT_EQ(Items(), "|[\xD6\xD0/0/0]");
  EXPECT_GT(editor->DVData().DrawItems.Count(), 0);  // formatted

  for (const char* file : {"<dvxml><document><text>x</text></document></dvxml>", "<a><book/></a>", "", "<book"}) {
    try {
      Load(file);
      ADD_FAILURE() << file;
    } catch (const EDocViewXMLError& e) {
      EXPECT_STREQ(e.what(), "No root element");
    }
    EXPECT_EQ(Items(), "|[\xD6\xD0/0/0]") << file;
  }
}

TEST_F(XmlComponent, WithoutADocumentTheEditorIsClearedAndFormatted) {
  LoadBody("<text>old</text>");
  xml.StyleLoadingMode = slmReplace;
  Load("<book><style><font name=\"Only\"/><para/></style></book>");
  EXPECT_EQ(Items(), "|[/0/0]");  // the editor's empty line, laid out
  EXPECT_EQ(sheet.TextStyles().Count(), 1);
  EXPECT_EQ(editor->DVData().DrawItems.Count(), 1);

  xml.DocView = nullptr;
  Load("<book><document><text>x</text></document></book>");  // nothing happens
  EXPECT_EQ(Items(), "|[/0/0]");
}

TEST_F(XmlComponent, FilesAreReadWithTheirFolderAsBase) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quillet_xml_component";
  std::filesystem::create_directories(folder);
  TBitmap bitmap(4, 3);
  bitmap.SaveToFile((folder / "pic.bmp").string());
  std::ofstream(folder / "doc.xml") << "<book><document><image imgsource=\"pic.bmp\">p</image></document></book>";
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  xml.LoadFromFile("doc.xml");
  std::filesystem::current_path(previous);
  EXPECT_EQ(xml.BaseFilePath, folder.string() + "/");
  EXPECT_EQ(Items(), "|pic/0");
  EXPECT_THROW(xml.LoadFromFile((folder / "missing.xml").string()), EFOpenError);
  std::filesystem::remove_all(folder);
}

TEST_F(XmlComponent, ViewSettingsOfTheDocument) {
  Load("<book><document backcolor=\"clYellow\" leftmargin=\"12\" vsmallstep=\"3\" checkevent=\"Visible\" "
       "showcheckpoints=\"1\" autocopyrtf=\"0\" rtftransformjpeg=\"1\" rtfdefaultimgformat=\"emf\" "
       "dvfsavebinary=\"0\" allowselection=\"0\" ctrljump=\"1\" ignoretab=\"0\" hscrollbarvisible=\"0\"/></book>");
  EXPECT_EQ(editor->Color, clYellow);
  EXPECT_EQ(editor->LeftMargin, 12);
  EXPECT_EQ(editor->VSmallStep(), 3);
  EXPECT_EQ(editor->CPEventKind, cpeWhenVisible);
  EXPECT_FALSE(editor->HScrollVisible());
  EXPECT_EQ(editor->Options(), (DVDefaultOptions | dvoShowCheckpoints) & ~dvoAutoCopyRTF);  // selection is the viewer's
  EXPECT_EQ(editor->RTFOptions(), (DVDefaultRTFOptions & ~dvrtfSaveJpegAsJpeg) | dvrtfSaveEMFDefault);
  EXPECT_EQ(editor->DVFOptions(), DVDefaultDVFOptions & ~dvfoSaveBinary);
  EXPECT_EQ(editor->EditorOptions, dvoClearTagOnStyleApp | dvoCtrlJumps | dvoWantTabs);

  xml.LoadBackground = false;
  Load("<book><document backcolor=\"clRed\"/></book>");
  EXPECT_EQ(editor->Color, clYellow);
}

TEST_F(XmlComponent, AFailedLoadLeavesEverythingAsItWas) {
  TFakePrinterDevice printer;
  TDVPrint print(printer);
  xml.DVPrint = &print;
  xml.LoadPrint = true;
  xml.StyleLoadingMode = slmReplace;
  LoadBody("<text>kept</text><text br=\"0\" textstyleno=\"1\">too</text>");
  const std::string before = Items();
  const int fonts = sheet.TextStyles().Count();

  const std::string good = "<style inactiveselcolor=\"clRed\"><font/><font/><para/></style>"
                           "<print leftmargin=\"1\"/>";
  const char* bodies[] = {
      "<text>a</text><break color=\"notacolour\"/>",
      "<text>a</text><bullet img=\"3\"/>",
      "<text>a</text><bullet img=\"three\"/>",
      "<text>a</text><image imgsource=\"/no/such/picture.bmp\"/>",
      "<text>a</text><image class=\"TBitmap\" img=\"00112233\"/>",
      "<text>a</text><control class=\"TButton\" data=\"not a component\"/>",
      "<text>a</text><text textstyleno=\"9\">b</text>",
      "<text>a</text><table rows=\"1\" cols=\"1\"><row><cell><text parastyleno=\"4\">c</text></cell></row></table>",
  };
  for (const char* body : bodies) {
    EXPECT_ANY_THROW(Load("<book>" + good + "<document backcolor=\"clRed\">" + body + "</document></book>")) << body;
    EXPECT_EQ(Items(), before) << body;
    EXPECT_EQ(sheet.TextStyles().Count(), fonts) << body;
    EXPECT_EQ(sheet.InactiveSelColor, clHighlight) << body;
    EXPECT_EQ(editor->Color, clNone) << body;
    EXPECT_EQ(print.LeftMarginMM(), 20) << body;
    EXPECT_GT(editor->DVData().DrawItems.Count(), 0) << body;
  }
  // A bad colour in the style sheet fails before anything is read.
  EXPECT_THROW(Load("<book><style inactiveselcolor=\"x\"><font/><para/></style><document/></book>"), EConvertError);
  EXPECT_EQ(Items(), before);
}

}  // namespace
}  // namespace quillet::test
