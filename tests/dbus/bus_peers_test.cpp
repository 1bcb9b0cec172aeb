// The bus pieces between real peers: the stand-in control on the test bus,
// driven through quillet-bus, gdbus and dbus-send, its signals watched with
// gdbus monitor and quillet-bus.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QThread>

#include "bus_peer.h"

namespace quillet {
namespace {

using test::RunProgram;
using test::RunResult;

// The stand-in refuses texts beyond this many bytes, so that the limit is
// tried without texts of the bus's real size.
constexpr int kTextLimit = 4096;

class BusPeers : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    address_ = new QString(test::TestBusAddress());
    if (address_->isEmpty()) return;
    service_ = new QProcess;
    service_->start(QUILLET_BUS_SERVICE, {"--address", *address_, "--text-limit", QString::number(kTextLimit),
                                          "--busy-ms", "3000"});
    // "ready" once the name is claimed.
    QDeadlineTimer deadline(20000);
    while (!service_->canReadLine() && !deadline.hasExpired() && service_->state() != QProcess::NotRunning)
      service_->waitForReadyRead(200);
    ready_ = service_->readLine().trimmed() == "ready";
  }

  static void TearDownTestSuite() {
    if (service_) {
      service_->terminate();
      if (!service_->waitForFinished(5000)) service_->kill();
      service_->waitForFinished();
      delete service_;
      service_ = nullptr;
    }
    delete address_;
    address_ = nullptr;
  }

  void SetUp() override {
    QUILLET_REQUIRE_TEST_BUS(*address_);
    ASSERT_TRUE(ready_) << "the stand-in control did not start: "
                        << QString::fromUtf8(service_->readAllStandardError()).toStdString();
  }

  static RunResult Bus(const QStringList& args, const QByteArray& input = {}) {
    return RunProgram(QUILLET_BUS_CLIENT, QStringList{"--address", *address_} + args, input);
  }

  // Sets the property and reads it back.
  static QStringList SetAndGet(const QString& property, const QStringList& words) {
    const RunResult set = Bus(QStringList{"set", property} + words);
    EXPECT_EQ(set.exitCode, 0) << set.err.toStdString();
    const RunResult get = Bus({"get", property});
    EXPECT_EQ(get.exitCode, 0) << get.err.toStdString();
    return get.Lines();
  }

  static QString* address_;
  static QProcess* service_;
  static bool ready_;
};

QString* BusPeers::address_ = nullptr;
QProcess* BusPeers::service_ = nullptr;
bool BusPeers::ready_ = false;

TEST_F(BusPeers, PropertiesAreWrittenAndReadByTheirTypes) {
  const struct {
    const char* property;
    QStringList words;
    QStringList read;
  } rows[] = {
      {"Visible", {"true"}, {"true"}},
      {"ReadOnly", {"1"}, {"true"}},
      {"AxBorderStyle", {"2"}, {"2"}},
      {"Color", {"0x0000FF"}, {"255"}},
      {"Cursor", {"-22"}, {"-22"}},
      {"Caption", {QStringLiteral("草稿 1")}, {QStringLiteral("草稿 1")}},
      {"UserName", {QStringLiteral("张三")}, {QStringLiteral("张三")}},
      {"HelpFile", {""}, {""}},
      {"Font",
       {QStringLiteral("宋体"), "10.5", "-14", "134", "true", "false", "true", "false"},
       {QStringLiteral("宋体"), "10.5", "-14", "134", "true", "false", "true", "false"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.property);
    EXPECT_EQ(SetAndGet(QString::fromLatin1(row.property), row.words), row.read);
  }
}

TEST_F(BusPeers, WrongUseIsRefusedBeforeAnythingIsSent) {
  const struct {
    QStringList args;
    const char* said;
  } rows[] = {
      {{"set", "Active", "true"}, "cannot be written"},
      {{"set", "Cursor", "40000"}, "16-bit"},
      {{"set", "Visible", "maybe"}, "boolean"},
      {{"set", "Font", QStringLiteral("宋体"), "10.5", "-14"}, "takes 8 values"},
      {{"get", "Nothing"}, "no property Nothing"},
      {{"Nothing"}, "no method Nothing"},
      {{"UserName"}, "no method UserName (a property: get or set it)"},
      {{"SetBorderSize", "300"}, "takes 2 arguments (DVHeight:i, DVWidth:i), not 1"},
      {{"PutAsciiData", "@/nonexistent/doc.hex"}, "Cannot read"},
      {{"wait-signal", "OnNothing"}, "no signal OnNothing"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args.join(' ').toStdString());
    const RunResult run = Bus(row.args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(row.said))) << run.err.toStdString();
  }
  const RunResult noBus = RunProgram(QUILLET_BUS_CLIENT, {"--address", "unix:path=/nonexistent/bus", "Connect"});
  EXPECT_EQ(noBus.exitCode, 1);
  EXPECT_TRUE(noBus.err.startsWith(u"Cannot connect to the bus")) << noBus.err.toStdString();
}

TEST_F(BusPeers, ATextTheCodePageCannotHoldLeavesTheOldValue) {
  ASSERT_EQ(SetAndGet("UserName", {QStringLiteral("李四")}), QStringList{QStringLiteral("李四")});
  const RunResult refused = Bus({"set", "UserName", QStringLiteral("李😀")});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(refused.err.startsWith(u"afxQuillet.Error.Failed: ")) << refused.err.toStdString();
  EXPECT_TRUE(refused.err.contains(u"U+1F600")) << refused.err.toStdString();
  EXPECT_EQ(Bus({"get", "UserName"}).Lines(), QStringList{QStringLiteral("李四")});
}

TEST_F(BusPeers, MethodsAnswerOrFailWithTheErrorsMessage) {
  // A document longer than one command-line argument may be, from a file and from standard input.
  QTemporaryDir dir;
  const QByteArray document = QByteArray("0A1B2C3D").repeated(40000);
  QFile file(dir.filePath("doc.hex"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(document);
  file.close();
  for (const QByteArray& input : {QByteArray(), document}) {
    const RunResult put = input.isEmpty() ? Bus({"PutAsciiData", "@" + file.fileName()}) : Bus({"PutAsciiData", "@-"}, input);
    EXPECT_EQ(put.exitCode, 0) << put.err.toStdString();
    EXPECT_EQ(put.out, "");
    const RunResult get = Bus({"GetAsciiData"});
    EXPECT_EQ(get.exitCode, 0);
    EXPECT_TRUE(get.out == QString::fromLatin1(document) + "\n")
        << get.out.size() << " characters read back from " << (input.isEmpty() ? "a file" : "standard input");
  }

  const struct {
    QStringList args;
    int exitCode;
    QString out;
    QString err;
  } rows[] = {
      {{"GetTableContent", "1", "2", "3"}, 0, QStringLiteral("表1行2列3\n"), ""},
      {{"Connect"}, 0, "false\n", ""},
      {{"UpdateToDB"}, 1, "", QStringLiteral("afxQuillet.Error.Failed: 该字段值为空\n")},
      // A message in the code page arrives as the same text.
      {{"ConnectToServer"}, 1, "", QStringLiteral("afxQuillet.Error.Failed: 无法连接服务器\n")},
      {{"GetTableContent", "9", "1", "1"}, 1, "", "afxQuillet.Error.Failed: List index out of bounds (9)\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args.join(' ').toStdString());
    const RunResult run = Bus(row.args);
    EXPECT_EQ(run.exitCode, row.exitCode);
    EXPECT_EQ(run.out, row.out);
    EXPECT_EQ(run.err.toStdString(), row.err.toStdString());
  }
}

TEST_F(BusPeers, TextsTheBusCannotCarryWholeAreRefusedNotCut) {
  const RunResult fits = Bus({"GetTableContent", "2", "64", "64"});
  EXPECT_EQ(fits.exitCode, 0);
  EXPECT_EQ(fits.out, QString(kTextLimit, u'x') + "\n");
  const RunResult beyond = Bus({"GetTableContent", "2", "64", "65"});
  EXPECT_EQ(beyond.exitCode, 1);
  EXPECT_EQ(beyond.out, "");
  EXPECT_TRUE(beyond.err.startsWith(u"afxQuillet.Error.TooLarge: The text is 4160 bytes long")) << beyond.err.toStdString();
  const RunResult nul = Bus({"GetTableContent", "3", "1", "1"});
  EXPECT_EQ(nul.exitCode, 1);
  EXPECT_EQ(nul.out, "");
  EXPECT_TRUE(nul.err.contains(u"NUL")) << nul.err.toStdString();
  // The control is still on the bus.
  EXPECT_EQ(Bus({"GetTableContent", "1", "1", "1"}).exitCode, 0);

  // quillet-bus refuses a document file longer than a message carries
  // before reading it (a sparse file: nothing is written to the disk).
  QTemporaryDir dir;
  QFile huge(dir.filePath("huge.hex"));
  ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
  ASSERT_TRUE(huge.resize(qint64{1} << 27));
  huge.close();
  const RunResult put = Bus({"PutAsciiData", "@" + huge.fileName()});
  EXPECT_EQ(put.exitCode, 1);
  EXPECT_TRUE(put.err.startsWith(u"afxQuillet.Error.TooLarge: The text is 134217728 bytes long")) << put.err.toStdString();
}

TEST_F(BusPeers, CallsDuringADatabaseLoadAreRefusedAsBusy) {
  QProcess load;
  load.start(QUILLET_BUS_CLIENT, {"--address", *address_, "LoadFromDB"});
  ASSERT_TRUE(load.waitForStarted());
  // The load turns the event loop for three seconds; a call arriving then is refused.
  RunResult during;
  QDeadlineTimer deadline(2500);
  do {
    during = Bus({"get", "TableName"});
  } while (during.exitCode == 0 && !deadline.hasExpired());
  EXPECT_EQ(during.exitCode, 1);
  EXPECT_TRUE(during.err.startsWith(u"afxQuillet.Error.Busy: ")) << during.err.toStdString();
  ASSERT_TRUE(load.waitForFinished(20000));
  EXPECT_EQ(load.exitCode(), 0) << load.readAllStandardError().toStdString();
  EXPECT_EQ(Bus({"get", "TableName"}).exitCode, 0);
}

TEST_F(BusPeers, GdbusCallsMembersAndSeesTheirErrors) {
  QUILLET_REQUIRE_TOOL(gdbus, "gdbus");
  const QStringList target{"--address", *address_, "--dest", "afxQuillet.Editor", "--object-path", "/afxForm"};
  const RunResult resize = RunProgram(gdbus, QStringList{"call"} + target + QStringList{"--method", "afxQuillet.Editor.SetBorderSize", "300", "400"});
  EXPECT_EQ(resize.exitCode, 0) << resize.err.toStdString();
  EXPECT_EQ(resize.out.trimmed(), "()");
  const RunResult cell = RunProgram(gdbus, QStringList{"call"} + target + QStringList{"--method", "afxQuillet.Editor.GetTableContent", "1", "4", "5"});
  EXPECT_EQ(cell.out.trimmed(), QStringLiteral("('表1行4列5',)"));
  const RunResult failed = RunProgram(gdbus, QStringList{"call"} + target + QStringList{"--method", "afxQuillet.Editor.UpdateToDB"});
  EXPECT_NE(failed.exitCode, 0);
  EXPECT_TRUE(failed.err.contains(u"afxQuillet.Error.Failed")) << failed.err.toStdString();
  EXPECT_TRUE(failed.err.contains(QStringLiteral("该字段值为空"))) << failed.err.toStdString();
  // gdbus reads the interface the control describes.
  const RunResult xml = RunProgram(gdbus, QStringList{"introspect", "--xml"} + target);
  EXPECT_EQ(xml.exitCode, 0);
  EXPECT_TRUE(xml.out.contains(u"<signal name=\"OnDVEditorKeyDown\">")) << xml.out.toStdString();
}

TEST_F(BusPeers, DbusSendPutsADocumentAndReadsAProperty) {
  QUILLET_REQUIRE_TOOL(dbusSend, "dbus-send");
  const QStringList head{"--bus=" + *address_, "--print-reply", "--dest=afxQuillet.Editor", "/afxForm"};
  const RunResult put = RunProgram(dbusSend, head + QStringList{"afxQuillet.Editor.PutAsciiData", "string:ABCD"});
  EXPECT_EQ(put.exitCode, 0) << put.err.toStdString();
  EXPECT_EQ(Bus({"GetAsciiData"}).out, "ABCD\n");
  ASSERT_EQ(Bus({"set", "TableName", "DOCS"}).exitCode, 0);
  const RunResult get = RunProgram(dbusSend, head + QStringList{"org.freedesktop.DBus.Properties.Get",
                                                                "string:afxQuillet.Editor", "string:TableName"});
  EXPECT_EQ(get.exitCode, 0) << get.err.toStdString();
  EXPECT_TRUE(get.out.contains(u"variant       string \"DOCS\"")) << get.out.toStdString();
  // Arguments of the wrong type are refused by the control.
  const RunResult wrong = RunProgram(dbusSend, head + QStringList{"afxQuillet.Editor.SetBorderSize", "string:300", "int32:400"});
  EXPECT_NE(wrong.exitCode, 0);
  EXPECT_TRUE(wrong.err.contains(u"InvalidArgs")) << wrong.err.toStdString();
}

TEST_F(BusPeers, SignalsReachGdbusMonitorAndQuilletBus) {
  QUILLET_REQUIRE_TOOL(gdbus, "gdbus");
  test::BusMonitor monitor;
  ASSERT_TRUE(monitor.Start(gdbus, *address_)) << monitor.seen.toStdString();
  EXPECT_TRUE(monitor.ResizeUntilPainted([](const QStringList& args) { return Bus(args).exitCode; }))
      << monitor.seen.toStdString();

  // quillet-bus listens before it calls the member that fires the signal.
  const RunResult key = Bus({"wait-signal", "OnKeyPress", "--timeout", "10", "AddTuZhang", QStringLiteral("印")});
  EXPECT_EQ(key.exitCode, 0) << key.err.toStdString();
  EXPECT_EQ(key.out, QString::number(QStringLiteral("印")[0].unicode()) + "\n");
  const RunResult none = Bus({"wait-signal", "OnClick", "--timeout", "0.5"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_TRUE(none.err.startsWith(u"No signal OnClick")) << none.err.toStdString();
}

}  // namespace
}  // namespace quillet
