// The document text over the session bus, as a host moves it: GetAsciiData
// then PutAsciiData of a generated document of about 1,000 pages, called
// from this process on the program's control (`quillet --dbus`) on a private
// bus, beside its baseline: the same text echoed through a trivial object on
// the same bus (this program again, `--echo-service`) plus the same two
// calls made in process on a control of our own.
//
// The program starts its own dbus-daemon, the echo service and the editor
// before the benchmarks and stops them after; nothing touches the desktop's
// bus or the user's store.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/dbus/bus_names.h"
#include "bench/support/sample_paragraphs.h"
#include "engine/model/dv_data.h"
#include "engine/style/style_sheet.h"
#include "host/codec/document_text.h"
#include "host/control/afx_form.h"
#include "platform/core/stream.h"
#include "platform/gfx/font_setup.h"
#include "platform/ui/application.h"

using namespace quillet;

namespace {

// About 1,000 pages, as in the document stream benchmarks.
constexpr int kParagraphs = 50000;
constexpr int kCallTimeoutMs = 120000;

constexpr char kEchoService[] = "afxQuillet.Bench.Echo";
constexpr char kEchoPath[] = "/echo";
constexpr char kEchoInterface[] = "afxQuillet.Bench";

// The trivial object: Echo(s) returns its argument.
class TEchoObject : public QDBusVirtualObject {
 public:
  QString introspect(const QString&) const override {
    return QStringLiteral("<interface name=\"%1\"><method name=\"Echo\"><arg type=\"s\" direction=\"in\"/>"
                          "<arg type=\"s\" direction=\"out\"/></method></interface>")
        .arg(QLatin1String(kEchoInterface));
  }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.interface() != QLatin1String(kEchoInterface)) return false;
    connection.send(message.member() == u"Echo" ? message.createReply(message.arguments())
                                                : message.createErrorReply(QDBusError::UnknownMethod, message.member()));
    return true;
  }
};

int RunEchoService() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  TEchoObject echo;
  if (!bus.isConnected() || !bus.registerVirtualObject(kEchoPath, &echo) || !bus.registerService(kEchoService)) {
    std::fprintf(stderr, "dbus_bench: the echo service cannot start: %s\n", qPrintable(bus.lastError().message()));
    return 1;
  }
  return QCoreApplication::exec();
}

// Each helper ends with this program, even when it is killed.
void EndWithUs(QProcess& process) {
  process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

void Stop(QProcess& process) {
  if (process.state() == QProcess::NotRunning) return;
  process.terminate();
  if (!process.waitForFinished(20000)) process.kill();
  process.waitForFinished();
}

// The private bus and its two peers, for the whole run.
struct Stand {
  QProcess daemon;
  QProcess echo;
  QProcess editor;
  QTemporaryDir home;
  QString address;
  std::unique_ptr<QDBusConnection> bus;

  std::string Start(const QString& self) {
    const QString dbusDaemon = QStandardPaths::findExecutable("dbus-daemon");
    if (dbusDaemon.isEmpty()) return "dbus-daemon is not installed";
    EndWithUs(daemon);
    EndWithUs(echo);
    EndWithUs(editor);
    daemon.start(dbusDaemon, {"--session", "--nofork", "--print-address"});
    if (!daemon.waitForStarted(10000)) return "dbus-daemon does not start";
    QDeadlineTimer deadline(10000);
    while (!daemon.canReadLine() && !deadline.hasExpired()) daemon.waitForReadyRead(100);
    address = QString::fromUtf8(daemon.readLine()).trimmed();
    if (address.isEmpty()) return "dbus-daemon printed no address";

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SESSION_BUS_ADDRESS", address);
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    echo.setProcessEnvironment(env);
    echo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    echo.start(self, {"--echo-service"});
    editor.setProcessEnvironment(env);
    editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    editor.start(QUILLET_PROGRAM, {"--dbus"});

    bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, "dbus_bench"));
    if (!bus->isConnected()) return "cannot connect to the private bus";
    for (const auto& [name, process] : {std::pair<const char*, QProcess*>{kEchoService, &echo}, {kBusServiceName, &editor}}) {
      QDeadlineTimer ready(60000);
      while (!bus->interface()->isServiceRegistered(name) && process->state() != QProcess::NotRunning &&
             !ready.hasExpired())
        QThread::msleep(50);
      if (!bus->interface()->isServiceRegistered(name)) return std::string(name) + " did not come up";
    }
    return {};
  }

  ~Stand() {
    if (bus) QDBusConnection::disconnectFromBus("dbus_bench");
    Stop(editor);
    Stop(echo);
    Stop(daemon);
  }

  QDBusMessage Call(const char* service, const char* path, const char* interface, const char* member,
                    const QList<QVariant>& args = {}) const {
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, member);
    call.setArguments(args);
    const QDBusMessage reply = bus->call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
      throw std::runtime_error(std::string(member) + ": " + reply.errorMessage().toStdString());
    return reply;
  }
  QString EditorGet() const {
    return Call(kBusServiceName, kBusObjectPath, kBusInterfaceName, "GetAsciiData").arguments().value(0).toString();
  }
  void EditorPut(const QString& text) const {
    Call(kBusServiceName, kBusObjectPath, kBusInterfaceName, "PutAsciiData", {text});
  }
  QString Echo(const QString& text) const {
    return Call(kEchoService, kEchoPath, kEchoInterface, "Echo", {text}).arguments().value(0).toString();
  }
};

// CPU time a process has used so far, in milliseconds (user and system, at
// the kernel's tick).
double CpuMs(const QProcess& process) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(process.processId()));
  if (!stat.open(QIODevice::ReadOnly)) return 0;
  const QByteArray line = stat.readAll();
  // The fields after the command's name, which may hold spaces: state is
  // the first, utime the 12th and stime the 13th.
  const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
  if (fields.size() < 13) return 0;
  return (fields[11].toDouble() + fields[12].toDouble()) * 1000.0 / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// Per iteration, the CPU time the peers spent while the loop ran: where the
// wall time went besides this process.
class PeerCpu {
 public:
  PeerCpu(benchmark::State& state, std::initializer_list<std::pair<const char*, const QProcess*>> peers)
      : state_(state), peers_(peers) {
    for (const auto& [name, process] : peers_) start_.push_back(CpuMs(*process));
  }
  ~PeerCpu() {
    for (size_t i = 0; i < peers_.size(); ++i)
      state_.counters[peers_[i].first] = benchmark::Counter(CpuMs(*peers_[i].second) - start_[i], benchmark::Counter::kAvgIterations);
  }

 private:
  benchmark::State& state_;
  std::vector<std::pair<const char*, const QProcess*>> peers_;
  std::vector<double> start_;
};

Stand* gStand = nullptr;
TafxForm* gControl = nullptr;
std::string gText;  // the document's text as the control gives it

// The sample document as a host text, taken back from the control that loaded it.
std::string SampleText(TafxForm& control) {
  TDVStyle style;
  TCustomDVData document;
  document.SetDVStyle(&style);
  bench::AddSampleParagraphs(document, kParagraphs);
  TMemoryStream stream;
  document.SaveDVFToStream(stream, false, clNone, nullptr, nullptr);
  AfterSaveToStream2(stream);
  control.PutAsciiData(stream.AsString());
  return control.GetAsciiData();
}

// Runs `body` once per iteration. A call that fails ends the benchmark with
// its message, not the program, so the peers are still stopped.
template <class Body>
void Measure(benchmark::State& state, Body body) {
  try {
    for (auto _ : state) body();
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(gText.size()));
  state.counters["text_MB"] = static_cast<double>(gText.size()) / 1e6;
}

QString SentText() { return QString::fromLatin1(gText.data(), static_cast<qsizetype>(gText.size())); }

// The calls made in process: what the control does with the text.
void InProcessGetPut() {
  const std::string text = gControl->GetAsciiData();
  gControl->PutAsciiData(text);
}

// (a) what a host pays: the text out of the program's control and back in.
void BM_BusGetPut(benchmark::State& state) {
  const PeerCpu cpu(state, {{"editor_cpu_ms", &gStand->editor}, {"daemon_cpu_ms", &gStand->daemon}});
  Measure(state, [] { gStand->EditorPut(gStand->EditorGet()); });
}

// (b) the floor under it: the bus carrying the text both ways, and the
// control's own work on it.
void BM_EchoPlusInProcessGetPut(benchmark::State& state) {
  const QString sent = SentText();
  const PeerCpu cpu(state, {{"echo_cpu_ms", &gStand->echo}, {"daemon_cpu_ms", &gStand->daemon}});
  Measure(state, [&sent] {
    benchmark::DoNotOptimize(gStand->Echo(sent).size());
    InProcessGetPut();
  });
}

// The two halves of (b) alone, to show where the time goes.
void BM_Echo(benchmark::State& state) {
  const QString sent = SentText();
  const PeerCpu cpu(state, {{"echo_cpu_ms", &gStand->echo}, {"daemon_cpu_ms", &gStand->daemon}});
  Measure(state, [&sent] { benchmark::DoNotOptimize(gStand->Echo(sent).size()); });
}

void BM_InProcessGetPut(benchmark::State& state) { Measure(state, InProcessGetPut); }

// The other process's work is not this process's CPU time: wall time only.
BENCHMARK(BM_BusGetPut)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EchoPlusInProcessGetPut)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Echo)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_InProcessGetPut)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc == 2 && std::strcmp(argv[1], "--echo-service") == 0) {
    QCoreApplication app(argc, argv);
    return RunEchoService();
  }
  InstallProjectFontConfig();
  QApplication app(argc, argv);
  InstallWindowLayer();
  benchmark::Initialize(&argc, argv);

  Stand stand;
  const std::string failure = stand.Start(QCoreApplication::applicationFilePath());
  if (!failure.empty()) {
    std::fprintf(stderr, "dbus_bench: %s\n", failure.c_str());
    return 1;
  }
  TafxForm control;
  try {
    gText = SampleText(control);
    // The program's control holds the same document from the start.
    stand.EditorPut(SentText());
    if (stand.EditorGet().toStdString() != gText) throw std::runtime_error("the control over the bus gives another text back");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "dbus_bench: %s\n", e.what());
    return 1;
  }
  gStand = &stand;
  gControl = &control;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  gStand = nullptr;
  gControl = nullptr;
  return 0;
}
