// The control's interface as the bus describes it: every member under the
// control's own name, with its arguments, types, access and dispatch number.
#include <gtest/gtest.h>

#include <QStringList>

#include "app/dbus/bus_introspection.h"
#include "app/dbus/bus_names.h"
#include "app/dbus/editor_interface.h"

namespace quillet {
namespace {

TBusInterface Editor() {
  QString error;
  const auto parsed = ParseBusInterface(EditorIntrospectionXml(), QString(kBusInterfaceName), &error);
  EXPECT_TRUE(parsed) << error.toStdString();
  return parsed.value_or(TBusInterface{});
}

QString Args(const QList<TBusArg>& args) {
  QStringList parts;
  for (const TBusArg& arg : args) parts << arg.Name + ":" + arg.Signature;
  return parts.join(u',');
}

struct PropertyRow {
  const char* name;
  const char* type;
  const char* access;
  int dispId;
};

TEST(EditorInterface, PropertiesKeepTheirNamesTypesAndAccess) {
  const PropertyRow rows[] = {
      {"Visible", "b", "rw", 1},        {"AutoScroll", "b", "rw", 2},        {"AutoSize", "b", "rw", 3},
      {"AxBorderStyle", "i", "rw", 4},  {"Caption", "s", "rw", -518},        {"Color", "i", "rw", -501},
      {"Font", "(sdiibbbb)", "rw", -512}, {"KeyPreview", "b", "rw", 5},     {"PixelsPerInch", "i", "rw", 6},
      {"PrintScale", "i", "rw", 7},     {"Scaled", "b", "rw", 8},            {"Active", "b", "r", 9},
      {"DropTarget", "b", "rw", 10},    {"HelpFile", "s", "rw", 11},         {"DoubleBuffered", "b", "rw", 12},
      {"AlignDisabled", "b", "r", 13},  {"VisibleDockClientCount", "i", "r", 14}, {"Enabled", "b", "rw", -514},
      {"Cursor", "n", "rw", 15},        {"HelpType", "i", "rw", 16},         {"HelpKeyword", "s", "rw", 17},
      {"ReadOnly", "b", "rw", 18},      {"ComputerName", "s", "rw", 19},     {"TableName", "s", "rw", 20},
      {"FieldName", "s", "rw", 21},     {"IDName", "s", "rw", 22},           {"IDValue", "s", "rw", 23},
      {"IsStartTrace", "b", "rw", 24},  {"AcceptChange", "b", "rw", 25},     {"Connected", "b", "r", 28},
      {"ServerName", "s", "rw", 29},    {"UserName", "s", "rw", 31},         {"isPostil", "b", "r", 35},
      {"BmpsID", "s", "r", 37},
  };
  const TBusInterface editor = Editor();
  for (const PropertyRow& row : rows) {
    SCOPED_TRACE(row.name);
    const TBusProperty* property = editor.FindProperty(QString::fromLatin1(row.name));
    ASSERT_TRUE(property);
    EXPECT_EQ(property->Signature, QString::fromLatin1(row.type));
    EXPECT_TRUE(property->Readable);
    EXPECT_EQ(property->Writable, std::string(row.access) == "rw");
    EXPECT_EQ(property->Annotations.value("afxQuillet.DispId"), QString::number(row.dispId));
  }
  // Nothing beyond the control's members.
  EXPECT_EQ(editor.Properties.size(), std::size(rows));
}

struct MemberRow {
  const char* name;
  const char* in;
  const char* out;
  int dispId;
};

TEST(EditorInterface, MethodsKeepTheirArgumentNamesAndTypes) {
  const MemberRow rows[] = {
      {"LoadFromDB", "", "", 26},
      {"UpdateToDB", "", "", 27},
      {"StartTrace", "", "", 30},
      {"Connect", "", "Result:b", 32},
      {"StartPostil", "", "", 33},
      {"GetAsciiData", "", "Result:s", 34},
      {"PutAsciiData", "Data:s", "", 36},
      {"PutBmp", "bmpID:s,bmp:s", "", 38},
      {"DVMenuControl", "dvMenuName:s,dvMenuEnable:b,dvMenuVisible:b", "", 39},
      {"AddTuZhang", "bmpID:s", "", 40},
      {"ClearPostil", "", "", 41},
      {"GetTableContent", "Num:i,Row:i,Col:i", "Param4:s", 42},
      {"InsertTableContent", "Data:s,Num:i,Row:i,Col:i", "", 43},
      {"SetBorderSize", "DVHeight:i,DVWidth:i", "", 44},
      {"ClearTableCell", "Num:i,Row:i,Col:i", "", 45},
      {"SetTableCellReadOnly", "Num:i,Row:i,Col:i", "", 46},
      {"CanPostil", "Flag:b", "", 47},
      {"StopTrace", "", "", 48},
      {"ExportToText", "", "Result:s", 49},
      {"ConnectToServer", "", "Result:b", 50},
      {"InsertAsciiData", "Data:s", "", 51},
      {"InsertAsciiDataAtFirst", "Data:s", "", 52},
      {"StopPostil", "", "", 53},
  };
  const TBusInterface editor = Editor();
  for (const MemberRow& row : rows) {
    SCOPED_TRACE(row.name);
    const TBusMethod* method = editor.FindMethod(QString::fromLatin1(row.name));
    ASSERT_TRUE(method);
    EXPECT_EQ(Args(method->In), QString::fromLatin1(row.in));
    EXPECT_EQ(Args(method->Out), QString::fromLatin1(row.out));
    EXPECT_EQ(method->Annotations.value("afxQuillet.DispId"), QString::number(row.dispId));
  }
  EXPECT_EQ(editor.Methods.size(), std::size(rows));
}

TEST(EditorInterface, EventsAreSignalsCarryingTheirKeysByValue) {
  const MemberRow rows[] = {
      {"OnActivate", "", "", 1},  {"OnClick", "", "", 2},   {"OnCreate", "", "", 3},
      {"OnDVEditorKeyDown", "Key:n,Shrift:i", "", 4},        {"OnDblClick", "", "", 5},
      {"OnDestroy", "", "", 6},   {"OnDeactivate", "", "", 7}, {"OnKeyPress", "Key:n", "", 11},
      {"OnPaint", "", "", 16},
  };
  const TBusInterface editor = Editor();
  for (const MemberRow& row : rows) {
    SCOPED_TRACE(row.name);
    const TBusSignal* signal = editor.FindSignal(QString::fromLatin1(row.name));
    ASSERT_TRUE(signal);
    EXPECT_EQ(Args(signal->Args), QString::fromLatin1(row.in));
    EXPECT_EQ(signal->Annotations.value("afxQuillet.DispId"), QString::number(row.dispId));
  }
  EXPECT_EQ(editor.Signals.size(), std::size(rows));
}

TEST(EditorInterface, TheInterfaceElementStandsAlone) {
  // What the object answers when introspected: one element, read on its own.
  const QString element = EditorInterfaceXml();
  EXPECT_TRUE(element.startsWith(u"<interface name=\"afxQuillet.Editor\">"));
  QString error;
  const auto parsed = ParseBusInterface("<node>" + element + "</node>", QString(kBusInterfaceName), &error);
  ASSERT_TRUE(parsed) << error.toStdString();
  EXPECT_EQ(parsed->Methods.size(), Editor().Methods.size());
}

TEST(BusIntrospection, ReadsOnlyTheInterfaceAskedForWithItsDirections) {
  const QString xml = R"(<node>
    <interface name="org.freedesktop.DBus.Properties">
      <method name="Get"><arg type="s" name="interface_name" direction="in"/><arg type="v" direction="out"/></method>
    </interface>
    <interface name="x.Y">
      <method name="Get"><arg type="i" name="a"/><arg type="s" name="r" direction="out"/></method>
      <signal name="Fired"><arg type="n" name="k"/></signal>
      <property name="W" type="s" access="write"/>
    </interface>
    <node name="child"/>
  </node>)";
  QString error;
  const auto parsed = ParseBusInterface(xml, u"x.Y", &error);
  ASSERT_TRUE(parsed) << error.toStdString();
  ASSERT_EQ(parsed->Methods.size(), 1);
  // An argument without a direction is an input of a method.
  EXPECT_EQ(Args(parsed->Methods[0].In), "a:i");
  EXPECT_EQ(Args(parsed->Methods[0].Out), "r:s");
  EXPECT_EQ(Args(parsed->FindSignal(u"Fired")->Args), "k:n");
  const TBusProperty* w = parsed->FindProperty(u"W");
  ASSERT_TRUE(w);
  EXPECT_FALSE(w->Readable);
  EXPECT_TRUE(w->Writable);
}

TEST(BusIntrospection, RefusesBrokenDocumentsAndMissingInterfaces) {
  const struct {
    const char* xml;
    const char* reason;
  } rows[] = {
      {"<node><interface name=\"x.Y\"><method name=\"M\"></interface></node>", "not well-formed"},
      {"", "not well-formed"},
      {"<node><interface name=\"x.Z\"/></node>", "no interface x.Y"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.xml);
    QString error;
    EXPECT_FALSE(ParseBusInterface(QString::fromLatin1(row.xml), u"x.Y", &error));
    EXPECT_TRUE(error.contains(QString::fromLatin1(row.reason))) << error.toStdString();
  }
}

}  // namespace
}  // namespace quillet
