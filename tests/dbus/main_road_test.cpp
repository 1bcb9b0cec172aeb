// The main road as a host drives it, with real peers: quillet --dbus under
// an X server of its own on a fresh default store; a document one reviewer
// tracked put in; a second reviewer types and deletes words through the
// X server (xdotool), draws a stroke and places a seal by mouse; the record
// saved, the program ended by SIGTERM and started again; the loaded record
// is the document taken before the save, byte for byte.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <string>
#include <vector>

#include "app/dbus/bus_text.h"
#include "bus_peer.h"
#include "host/codec/document_text.h"
#include "platform/core/stream.h"

namespace quillet {
namespace {

using test::RunProgram;
using test::RunResult;

// Polls until the condition holds or ms have passed.
bool WaitFor(const std::function<bool()>& condition, int ms) {
  QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) {
    if (condition()) return true;
    QThread::msleep(100);
  }
  return condition();
}

// The DVF bytes of a document's text: hexadecimal, compressed.
std::string DocumentBytes(const QString& text) {
  const QByteArray hex = text.trimmed().toLatin1();
  TMemoryStream stream(std::vector<uint8_t>(hex.begin(), hex.end()));
  BeforeLoadFromStream2(stream);
  return stream.AsString();
}

// The DVF's lines that begin with the tag (the host's lines at its head).
std::vector<std::string> LinesTagged(const std::string& dvf, const std::string& tag) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < dvf.size()) {
    size_t end = dvf.find('\n', start);
    if (end == std::string::npos) end = dvf.size();
    std::string line = dvf.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.compare(0, tag.size(), tag) == 0) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// A small 24-bit bitmap: a red block on white, rows bottom-up, padded to four bytes.
std::string SealBitmap() {
  const int width = 24, height = 16, stride = (width * 3 + 3) / 4 * 4;
  const uint32_t pixels = uint32_t(stride) * height, fileSize = 54 + pixels;
  std::string bmp;
  auto put = [&bmp](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  bmp += "BM";
  put(fileSize, 4), put(0, 4), put(54, 4);
  put(40, 4), put(width, 4), put(height, 4), put(1, 2), put(24, 2), put(0, 4), put(pixels, 4);
  put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool red = x >= 3 && x < width - 3 && y >= 3 && y < height - 3;
      put(red ? 0x0000FF : 0xFFFFFF, 3);  // blue, green, red
    }
    put(0, stride - width * 3);
  }
  return bmp;
}

// The run-length text a host hands seals over in: each run as the byte's
// two digits and a two-digit count.
QString RunLengthHex(const std::string& bytes) {
  QString text;
  for (size_t i = 0; i < bytes.size();) {
    size_t run = 1;
    while (i + run < bytes.size() && run < 255 && bytes[i + run] == bytes[i]) ++run;
    text += QString::asprintf("%02X%02X", static_cast<unsigned char>(bytes[i]), static_cast<unsigned>(run));
    i += run;
  }
  return text;
}

// quillet --dbus under an X server that xvfb-run starts for it.
struct XProgram {
  QProcess process;  // xvfb-run
  QString display, xauthority;
  qint64 pid = 0;    // the program's own

  bool Start(const QString& xvfbRun, const QString& home, const QString& address) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", address);
    env.insert("XDG_DATA_HOME", home + "/data");
    env.insert("XDG_CONFIG_HOME", home + "/config");
    env.insert("QT_QPA_PLATFORM", "xcb");
    process.setProcessEnvironment(env);
    // The shell tells where the server is and becomes the program.
    process.start(xvfbRun, {"-a", "-s", "-screen 0 1280x1024x24", "sh", "-c",
                            R"(echo "$$ $DISPLAY $XAUTHORITY"; exec "$0" --dbus)", QUILLET_PROGRAM});
    if (!process.waitForStarted(10000)) return false;
    QDeadlineTimer deadline(30000);
    while (!process.canReadLine() && !deadline.hasExpired() && process.state() != QProcess::NotRunning)
      process.waitForReadyRead(200);
    const QStringList words = QString::fromLocal8Bit(process.readLine()).trimmed().split(u' ');
    if (words.size() != 3) return false;
    pid = words[0].toLongLong();
    display = words[1];
    xauthority = words[2];
    return pid > 0;
  }
  // SIGTERM to the program; xvfb-run ends with it and passes on its code.
  int Stop() {
    if (process.state() == QProcess::NotRunning) return process.exitCode();
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    if (!process.waitForFinished(30000)) {
      ::kill(static_cast<pid_t>(pid), SIGKILL);
      process.waitForFinished();
      return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }
  ~XProgram() { Stop(); }
};

class MainRoad : public testing::Test {
 protected:
  RunResult Bus(const QStringList& args) {
    return RunProgram(QUILLET_BUS_CLIENT, QStringList{"--address", address_} + args);
  }
  // A member that must succeed; its output.
  QString Call(const QStringList& args) {
    const RunResult run = Bus(args);
    EXPECT_EQ(run.exitCode, 0) << args.join(' ').toStdString() << ": " << run.err.toStdString();
    return run.out;
  }
  bool WaitForName(XProgram& program) {
    return WaitFor([&] { return program.process.state() != QProcess::NotRunning && Bus({"get", "Caption"}).exitCode == 0; },
                   60000);
  }
  RunResult X(const XProgram& program, const QStringList& args) {
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", program.display);
    env.insert("XAUTHORITY", program.xauthority);
    tool.setProcessEnvironment(env);
    tool.start(xdotool_, args);
    RunResult result;
    if (!tool.waitForStarted(10000) || !tool.waitForFinished(30000)) {
      tool.kill();
      tool.waitForFinished();
      return result;
    }
    result.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    result.out = QString::fromUtf8(tool.readAllStandardOutput());
    result.err = QString::fromUtf8(tool.readAllStandardError());
    return result;
  }
  void XDo(const XProgram& program, const QStringList& args) {
    const RunResult run = X(program, args);
    ASSERT_EQ(run.exitCode, 0) << "xdotool " << args.join(' ').toStdString() << ": " << run.err.toStdString();
  }
  // The program's shown window, once mapped at the size the host gave it.
  QString WaitForWindow(const XProgram& program, int width, int height) {
    QString window;
    const QString size = QString("%1x%2").arg(width).arg(height);
    WaitFor(
        [&] {
          const QStringList found = X(program, {"search", "--onlyvisible", "--pid", QString::number(program.pid)})
                                        .out.split(u'\n', Qt::SkipEmptyParts);
          for (const QString& id : found)
            if (X(program, {"getwindowgeometry", id}).out.contains(size)) {
              window = id;
              return true;
            }
          return false;
        },
        30000);
    return window;
  }
  QString Text() { return Bus({"ExportToText"}).out; }
  std::string Document() { return DocumentBytes(Call({"GetAsciiData"})); }
  // Writes the document's text to a file for a call's @FILE argument.
  QString FileOf(const QString& name, const QString& text) {
    QFile file(home_.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
    return "@" + file.fileName();
  }

  QString address_ = test::TestBusAddress();
  QString xdotool_;
  QTemporaryDir home_;
};

TEST_F(MainRoad, TrackedTypedAnnotatedSavedAndLoadedAfterARestart) {
  QUILLET_REQUIRE_TEST_BUS(address_);
  QUILLET_REQUIRE_TOOL(xvfbRun, "xvfb-run");
  QUILLET_REQUIRE_TOOL(xdotool, "xdotool");
  xdotool_ = xdotool;
  ASSERT_TRUE(home_.isValid());
  const QString tracker = QStringLiteral("张三"), reviewer = QStringLiteral("李四");
  const int width = 800, height = 600;
  const QString cx = QString::number(width / 2), cy = QString::number(height / 2);

  std::string saved;
  {
    XProgram program;
    ASSERT_TRUE(program.Start(xvfbRun, home_.path(), address_)) << program.process.readAllStandardError().toStdString();
    ASSERT_TRUE(WaitForName(program)) << program.process.readAllStandardError().toStdString();
    Call({"SetBorderSize", QString::number(height), QString::number(width)});
    const QString window = WaitForWindow(program, width, height);
    ASSERT_FALSE(window.isEmpty()) << "no window of " << width << "x" << height;
    XDo(program, {"windowfocus", "--sync", window});

    // The first reviewer's document: words typed while tracking.
    Call({"set", "UserName", tracker});
    Call({"StartTrace"});
    XDo(program, {"mousemove", "--window", window, cx, cy, "click", "1"});
    XDo(program, {"type", "--delay", "5", " alpha beta"});
    ASSERT_TRUE(WaitFor([&] { return Text().contains(u"alpha beta"); }, 20000)) << Text().toStdString();
    Call({"StopTrace"});
    const QString first = Call({"GetAsciiData"}).trimmed();
    const std::string firstDvf = DocumentBytes(first);
    ASSERT_EQ(LinesTagged(firstDvf, "QV;").size(), 15u);

    // Put in as the host's document; the second reviewer types and deletes.
    Call({"PutAsciiData", FileOf("first.hex", first)});
    EXPECT_EQ(Document(), firstDvf) << "the document put is the one shown";
    Call({"set", "UserName", reviewer});
    Call({"StartTrace"});
    XDo(program, {"mousemove", "--window", window, cx, cy, "click", "1"});
    XDo(program, {"key", "ctrl+End"});
    XDo(program, {"type", "--delay", "5", " gamma delta"});
    ASSERT_TRUE(WaitFor([&] { return Text().contains(u"gamma delta"); }, 20000)) << Text().toStdString();
    // A tracked deletion may keep the text, marked: the document changes.
    const std::string typed = Document();
    XDo(program, {"key", "--delay", "5", "BackSpace", "BackSpace", "BackSpace", "BackSpace", "BackSpace"});
    ASSERT_TRUE(WaitFor([&] { return Document() != typed; }, 20000)) << "the deletions did not arrive";
    EXPECT_TRUE(Text().contains(u"alpha beta"));

    // A stroke by mouse in annotation mode, then a seal placed by a click.
    Call({"StartPostil"});
    XDo(program, {"mousemove", "--window", window, "200", "200", "mousedown", "1"});
    for (int step = 1; step <= 8; ++step)
      XDo(program, {"mousemove", "--window", window, QString::number(200 + 20 * step), QString::number(200 + 8 * step)});
    XDo(program, {"mouseup", "1"});
    ASSERT_TRUE(WaitFor([&] { return !LinesTagged(Document(), "QPL;").empty(); }, 20000)) << "no stroke recorded";
    EXPECT_EQ(Call({"get", "isPostil"}).trimmed().toStdString(), "true") << "the layer holds the stroke";
    Call({"PutBmp", "seal", RunLengthHex(SealBitmap())});
    Call({"AddTuZhang", "seal"});
    XDo(program, {"mousemove", "--window", window, "500", "350", "click", "1"});
    ASSERT_TRUE(WaitFor([&] { return !LinesTagged(Document(), "QPT;").empty(); }, 20000)) << "no seal placed";

    saved = Document();
    Call({"UpdateToDB"});
    EXPECT_EQ(program.Stop(), 0) << program.process.readAllStandardError().toStdString();
  }
  EXPECT_NE(Bus({"get", "Caption"}).exitCode, 0) << "the name is free";

  // Both reviewers among the 15 reviewer lines; the stroke and the seal.
  const std::vector<std::string> reviewers = LinesTagged(saved, "QV;");
  ASSERT_EQ(reviewers.size(), 15u);
  auto named = [&](const QString& name) {
    const std::string head = "QV;" + BusTextToAnsi(name) + ";";
    for (const std::string& line : reviewers)
      if (line.compare(0, head.size(), head) == 0) return true;
    return false;
  };
  EXPECT_TRUE(named(tracker));
  EXPECT_TRUE(named(reviewer));
  EXPECT_FALSE(LinesTagged(saved, "QPM;").empty());
  EXPECT_FALSE(LinesTagged(saved, "QPL;").empty());
  EXPECT_FALSE(LinesTagged(saved, "QPT;").empty());

  XProgram again;
  ASSERT_TRUE(again.Start(xvfbRun, home_.path(), address_)) << again.process.readAllStandardError().toStdString();
  ASSERT_TRUE(WaitForName(again)) << again.process.readAllStandardError().toStdString();
  Call({"LoadFromDB"});
  EXPECT_EQ(Document(), saved);
  EXPECT_EQ(again.Stop(), 0);
}

}  // namespace
}  // namespace quillet
