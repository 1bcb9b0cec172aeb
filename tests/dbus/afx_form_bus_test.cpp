// The program's own control on the test bus (quillet --dbus, offscreen, on a
// default store of its own): every property read and written, values it
// cannot take refused, methods answering and failing with their messages,
// calls through gdbus and dbus-send, a signal seen by gdbus monitor, calls
// refused as busy while a load waits for the database, a second program
// refused the name, and SIGTERM ending it with exit code 0.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <memory>
#include <utility>

#include "bus_peer.h"

namespace quillet {
namespace {

using test::RunProgram;
using test::RunResult;

// One running program with its own data and settings folders.
struct Program {
  QTemporaryDir home;
  QProcess process;

  void Start(const QString& address) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", address);
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.start(QUILLET_PROGRAM, {"--dbus"});
  }
  // The store's file: the program's default store.
  QString StoreFile() const { return home.filePath("data/afxQuillet/documents.db"); }
  void Stop() {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (!process.waitForFinished(20000)) process.kill();
    process.waitForFinished();
  }
};

class ControlOnTheBus : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    address_ = new QString(test::TestBusAddress());
    if (address_->isEmpty()) return;
    program_ = new Program;
    program_->Start(*address_);
    ready_ = WaitForName(*program_);
  }
  static void TearDownTestSuite() {
    if (program_) program_->Stop();
    delete program_;
    program_ = nullptr;
    delete address_;
    address_ = nullptr;
  }
  void SetUp() override {
    QUILLET_REQUIRE_TEST_BUS(*address_);
    ASSERT_TRUE(ready_) << "quillet --dbus did not come up: "
                        << QString::fromUtf8(program_->process.readAllStandardError()).toStdString();
  }

  // Until the program answers on the bus, or it ended.
  static bool WaitForName(Program& program) {
    QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired() && program.process.state() != QProcess::NotRunning) {
      if (Bus({"get", "Caption"}).exitCode == 0) return true;
      program.process.waitForFinished(300);
    }
    return false;
  }
  static RunResult Bus(const QStringList& args, const QByteArray& input = {}) {
    return RunProgram(QUILLET_BUS_CLIENT, QStringList{"--address", *address_} + args, input);
  }
  static QStringList SetAndGet(const QString& property, const QStringList& words) {
    const RunResult set = Bus(QStringList{"set", property} + words);
    EXPECT_EQ(set.exitCode, 0) << set.err.toStdString();
    return Bus({"get", property}).Lines();
  }

  static QString* address_;
  static Program* program_;
  static bool ready_;
};

QString* ControlOnTheBus::address_ = nullptr;
Program* ControlOnTheBus::program_ = nullptr;
bool ControlOnTheBus::ready_ = false;

const QString kFailed = QStringLiteral("afxQuillet.Error.Failed: ");

TEST_F(ControlOnTheBus, PropertiesStartAsTheFormAndKeepWhatIsWritten) {
  const struct {
    const char* property;
    QStringList initial;
    QStringList words;
    QStringList read;
  } rows[] = {
      {"Caption", {"afxForm"}, {QStringLiteral("草稿 1")}, {QStringLiteral("草稿 1")}},
      {"Visible", {"true"}, {"false"}, {"false"}},
      {"AutoScroll", {"false"}, {"true"}, {"true"}},
      {"AutoSize", {"false"}, {"true"}, {"true"}},
      {"AxBorderStyle", {"0"}, {"3"}, {"3"}},
      {"Color", {QString::number(static_cast<int32_t>(0x8000000F))}, {"0x0000FF"}, {"255"}},
      {"Font",
       {"MS Sans Serif", "8.25", "-11", "1", "false", "false", "false", "false"},
       {QStringLiteral("宋体"), "10.5", "-14", "134", "true", "false", "true", "false"},
       {QStringLiteral("宋体"), "10.5", "-14", "134", "true", "false", "true", "false"}},
      {"KeyPreview", {"false"}, {"true"}, {"true"}},
      {"PixelsPerInch", {"96"}, {"120"}, {"120"}},
      {"PrintScale", {"1"}, {"2"}, {"2"}},
      {"Scaled", {"true"}, {"false"}, {"false"}},
      {"DropTarget", {"false"}, {"true"}, {"true"}},
      {"HelpFile", {""}, {"help.chm"}, {"help.chm"}},
      {"DoubleBuffered", {"false"}, {"true"}, {"true"}},
      {"Enabled", {"true"}, {"false"}, {"false"}},
      {"Cursor", {"0"}, {"-22"}, {"-22"}},
      {"HelpType", {"1"}, {"0"}, {"0"}},
      {"HelpKeyword", {""}, {"topic"}, {"topic"}},
      {"ReadOnly", {"false"}, {"true"}, {"true"}},
      {"ComputerName", {""}, {""}, {""}},
      {"TableName", {"DOCS"}, {"DOCS"}, {"DOCS"}},
      {"FieldName", {"BODY"}, {"BODY"}, {"BODY"}},
      {"IDName", {"ID"}, {"ID"}, {"ID"}},
      {"IDValue", {"1"}, {"1"}, {"1"}},
      {"ServerName", {""}, {""}, {""}},
      {"IsStartTrace", {"false"}, {"true"}, {"true"}},
      {"UserName", {""}, {QStringLiteral("张三")}, {QStringLiteral("张三")}},
      // Does nothing: reads false whatever is written.
      {"AcceptChange", {"false"}, {"true"}, {"false"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.property);
    EXPECT_EQ(Bus({"get", row.property}).Lines(), row.initial);
    EXPECT_EQ(SetAndGet(QString::fromLatin1(row.property), row.words), row.read);
  }
  // Put back what the other tests use.
  for (const auto& [property, value] : {std::pair{"Visible", "true"}, {"Enabled", "true"}, {"ReadOnly", "false"},
                                        {"IsStartTrace", "false"}})
    EXPECT_EQ(Bus({"set", property, value}).exitCode, 0) << property;

  const struct {
    const char* property;
    QStringList read;
  } readOnly[] = {
      {"AlignDisabled", {"false"}}, {"VisibleDockClientCount", {"0"}}, {"Connected", {"false"}},
      {"isPostil", {"false"}},      {"BmpsID", {""}},
  };
  for (const auto& row : readOnly) {
    SCOPED_TRACE(row.property);
    EXPECT_EQ(Bus({"get", row.property}).Lines(), row.read);
    EXPECT_EQ(Bus({"set", row.property, row.read.value(0)}).exitCode, 2) << "refused as read-only";
  }
  EXPECT_EQ(Bus({"get", "Active"}).exitCode, 0);
}

TEST_F(ControlOnTheBus, ValuesTheControlCannotTakeAreRefusedAndTheOldOneKept) {
  const struct {
    const char* property;
    QStringList words;
    const char* said;
  } rows[] = {
      {"AxBorderStyle", {"9"}, "AxBorderStyle: 9 is not a valid value"},
      {"PrintScale", {"-1"}, "PrintScale: -1 is not a valid value"},
      {"HelpType", {"2"}, "HelpType: 2 is not a valid value"},
      {"PixelsPerInch", {"0"}, "PixelsPerInch: 0 is not a valid value"},
      {"Font", {"Arial", "10", "-13", "300", "false", "false", "false", "false"}, "character set 300"},
      {"Font", {"", "10", "-13", "0", "false", "false", "false", "false"}, "the name is empty"},
      {"UserName", {QStringLiteral("李😀")}, "U+1F600"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.property);
    const QStringList before = Bus({"get", row.property}).Lines();
    const RunResult set = Bus(QStringList{"set", row.property} + row.words);
    EXPECT_EQ(set.exitCode, 1);
    EXPECT_TRUE(set.err.startsWith(kFailed)) << set.err.toStdString();
    EXPECT_TRUE(set.err.contains(QString::fromUtf8(row.said))) << set.err.toStdString();
    EXPECT_EQ(Bus({"get", row.property}).Lines(), before);
  }
}

TEST_F(ControlOnTheBus, MethodsAnswerOrFailWithTheErrorsMessage) {
  // The document out and back, from a file.
  QTemporaryDir dir;
  const RunResult got = Bus({"GetAsciiData"});
  ASSERT_EQ(got.exitCode, 0) << got.err.toStdString();
  const QString document = got.out.trimmed();
  ASSERT_FALSE(document.isEmpty());
  QFile file(dir.filePath("doc.hex"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(document.toLatin1());
  file.close();
  const QString fromFile = "@" + file.fileName();
  const QString text = Bus({"ExportToText"}).out;
  ASSERT_FALSE(text.isEmpty());

  const struct {
    QStringList args;
    int exitCode;
    QString out;     // exact, unless empty and exitCode 0: anything
    QString errHas;  // part of the error reply
  } rows[] = {
      {{"PutAsciiData", fromFile}, 0, "", ""},
      {{"Connect"}, 0, "false\n", ""},
      {{"ConnectToServer"}, 0, "true\n", ""},
      {{"SetBorderSize", "300", "400"}, 0, "", ""},
      {{"StartTrace"}, 0, "", ""},
      {{"StopTrace"}, 0, "", ""},
      {{"StartPostil"}, 0, "", ""},
      {{"StopPostil"}, 0, "", ""},
      {{"CanPostil", "true"}, 0, "", ""},
      {{"DVMenuControl", "FileSave", "true", "true"}, 0, "", ""},
      {{"ClearPostil"}, 0, "", ""},
      {{"AddTuZhang", "seal"}, 0, "", ""},
      {{"GetTableContent", "99", "0", "0"}, 0, "\n", ""},
      {{"InsertTableContent", "x", "99", "0", "0"}, 0, "", ""},
      {{"ClearTableCell", "99", "0", "0"}, 0, "", ""},
      {{"SetTableCellReadOnly", "99", "0", "0"}, 0, "", ""},
      {{"UpdateToDB"}, 0, "", ""},
      {{"LoadFromDB"}, 0, "", ""},
      {{"PutAsciiData", "XYZ"}, 1, "", "is not a valid integer value"},
      {{"InsertAsciiData", "0011"}, 1, "", ""},
      {{"PutBmp", "s", "FF03"}, 1, "", "is not a bitmap"},
      {{"SetBorderSize", "-1", "400"}, 1, "", "is not a size"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args.join(' ').toStdString());
    const RunResult run = Bus(row.args);
    EXPECT_EQ(run.exitCode, row.exitCode) << run.err.toStdString();
    if (row.exitCode == 0 && !row.out.isEmpty()) {
      EXPECT_EQ(run.out, row.out);
    }
    if (row.exitCode != 0) {
      EXPECT_EQ(run.out, "");
      EXPECT_TRUE(run.err.startsWith(kFailed)) << run.err.toStdString();
      EXPECT_TRUE(run.err.contains(row.errHas)) << run.err.toStdString();
    }
  }
  // After all of that the text is the one put, saved and loaded.
  EXPECT_EQ(Bus({"ExportToText"}).out, text);

  // Insertions put the document before the first item: its text now thrice.
  EXPECT_EQ(Bus({"InsertAsciiData", fromFile}).exitCode, 0);
  EXPECT_EQ(Bus({"InsertAsciiDataAtFirst", fromFile}).exitCode, 0);
  EXPECT_GT(Bus({"ExportToText"}).out.size(), 2 * text.size());

  // A database that is not there fails with the store's message, and the
  // document stays.
  ASSERT_EQ(Bus({"set", "TableName", "MISSING"}).exitCode, 0);
  const RunResult load = Bus({"LoadFromDB"});
  EXPECT_EQ(load.exitCode, 1);
  EXPECT_TRUE(load.err.startsWith(kFailed)) << load.err.toStdString();
  ASSERT_EQ(Bus({"set", "TableName", "DOCS"}).exitCode, 0);
}

TEST_F(ControlOnTheBus, GdbusAndDbusSendCallMembers) {
  QUILLET_REQUIRE_TOOL(gdbus, "gdbus");
  QUILLET_REQUIRE_TOOL(dbusSend, "dbus-send");
  const QStringList target{"--address", *address_, "--dest", "afxQuillet.Editor", "--object-path", "/afxForm"};
  const RunResult resize =
      RunProgram(gdbus, QStringList{"call"} + target + QStringList{"--method", "afxQuillet.Editor.SetBorderSize", "300", "400"});
  EXPECT_EQ(resize.exitCode, 0) << resize.err.toStdString();
  EXPECT_EQ(resize.out.trimmed(), "()");
  const RunResult failed =
      RunProgram(gdbus, QStringList{"call"} + target + QStringList{"--method", "afxQuillet.Editor.PutBmp", "s", "FF03"});
  EXPECT_NE(failed.exitCode, 0);
  EXPECT_TRUE(failed.err.contains(u"afxQuillet.Error.Failed")) << failed.err.toStdString();

  const QStringList head{"--bus=" + *address_, "--print-reply", "--dest=afxQuillet.Editor", "/afxForm"};
  ASSERT_EQ(Bus({"set", "Caption", QStringLiteral("公文")}).exitCode, 0);
  const RunResult get = RunProgram(dbusSend, head + QStringList{"org.freedesktop.DBus.Properties.Get",
                                                                "string:afxQuillet.Editor", "string:Caption"});
  EXPECT_EQ(get.exitCode, 0) << get.err.toStdString();
  EXPECT_TRUE(get.out.contains(QStringLiteral("variant       string \"公文\""))) << get.out.toStdString();
  const RunResult wrong = RunProgram(dbusSend, head + QStringList{"afxQuillet.Editor.SetBorderSize", "string:300", "int32:400"});
  EXPECT_NE(wrong.exitCode, 0);
  EXPECT_TRUE(wrong.err.contains(u"InvalidArgs")) << wrong.err.toStdString();
}

TEST_F(ControlOnTheBus, PaintingReachesGdbusMonitor) {
  QUILLET_REQUIRE_TOOL(gdbus, "gdbus");
  test::BusMonitor monitor;
  ASSERT_TRUE(monitor.Start(gdbus, *address_)) << monitor.seen.toStdString();
  EXPECT_TRUE(monitor.ResizeUntilPainted([](const QStringList& args) { return Bus(args).exitCode; }))
      << monitor.seen.toStdString();
}

TEST_F(ControlOnTheBus, CallsWhileALoadWaitsForTheDatabaseAreRefusedAsBusy) {
  // The test holds the store locked, so the load waits for it.
  QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "lock");
  db.setDatabaseName(program_->StoreFile());
  ASSERT_TRUE(db.open());
  {
    QSqlQuery lock(db);
    ASSERT_TRUE(lock.exec("BEGIN EXCLUSIVE"));
  }
  QProcess load;
  load.start(QUILLET_BUS_CLIENT, {"--address", *address_, "LoadFromDB"});
  ASSERT_TRUE(load.waitForStarted());
  RunResult during;
  QDeadlineTimer deadline(8000);
  do {
    during = Bus({"get", "TableName"});
  } while (during.exitCode == 0 && !deadline.hasExpired());
  EXPECT_EQ(during.exitCode, 1);
  EXPECT_TRUE(during.err.startsWith(u"afxQuillet.Error.Busy: ")) << during.err.toStdString();
  const RunResult method = Bus({"GetAsciiData"});
  EXPECT_TRUE(method.err.startsWith(u"afxQuillet.Error.Busy: ")) << method.err.toStdString();
  {
    QSqlQuery unlock(db);
    EXPECT_TRUE(unlock.exec("COMMIT"));
  }
  db.close();
  db = QSqlDatabase();
  QSqlDatabase::removeDatabase("lock");
  ASSERT_TRUE(load.waitForFinished(30000));
  EXPECT_EQ(load.exitCode(), 0) << load.readAllStandardError().toStdString();
  EXPECT_EQ(Bus({"get", "TableName"}).exitCode, 0);
}

TEST_F(ControlOnTheBus, ASecondProgramIsRefusedTheName) {
  Program second;
  second.Start(*address_);
  ASSERT_TRUE(second.process.waitForFinished(60000));
  EXPECT_EQ(second.process.exitCode(), 1);
  EXPECT_TRUE(second.process.readAllStandardError().contains("is taken"));
  EXPECT_EQ(Bus({"get", "Caption"}).exitCode, 0) << "the first keeps it";
}

TEST_F(ControlOnTheBus, SigtermEndsTheProgramWithoutQuestions) {
  // A modified document: a closing window would ask; SIGTERM asks nothing.
  ASSERT_EQ(Bus({"InsertAsciiData", Bus({"GetAsciiData"}).out.trimmed()}).exitCode, 0);
  program_->process.terminate();
  ASSERT_TRUE(program_->process.waitForFinished(20000));
  EXPECT_EQ(program_->process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program_->process.exitCode(), 0) << program_->process.readAllStandardError().toStdString();
  EXPECT_NE(Bus({"get", "Caption"}).exitCode, 0) << "the name is free";
  // The next test of the suite starts its own program.
  program_->Start(*address_);
  ready_ = WaitForName(*program_);
}

}  // namespace
}  // namespace quillet
