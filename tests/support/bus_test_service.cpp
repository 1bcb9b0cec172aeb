// A stand-in for the control on a test bus, so that the bus pieces, quillet-bus
// and the desktop's own bus tools are tried against a real peer. It claims
// the control's name and object, answers introspection with the control's
// interface, keeps every property in a plain store (texts in the system code
// page, as the control keeps them) and checks each call's arguments against
// the interface. Its members:
//   PutAsciiData stores the text that GetAsciiData gives back;
//   LoadFromDB keeps the event loop turning for --busy-ms, as a database load
//     does, and refuses other calls meanwhile;
//   UpdateToDB fails with the database module's "该字段值为空";
//   ConnectToServer fails with a message in the system code page;
//   GetTableContent(Num, Row, Col): Num 1 gives "表Num行Row列Col", Num 2 a
//     text of Row × Col "x" (checked against --text-limit), Num 3 a text
//     holding a NUL;
//   SetBorderSize fires OnPaint; AddTuZhang fires OnKeyPress with the code of
//     its identifier's first character;
//   every other method succeeds with empty results.
// usage: bus_test_service --address ADDR [--text-limit BYTES] [--busy-ms MS]
// It prints "ready" once the name is claimed and ends when its bus does.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QEventLoop>
#include <QTimer>
#include <sys/prctl.h>

#include <csignal>
#include <cstdio>
#include <stdexcept>

#include "app/dbus/bus_calls.h"
#include "app/dbus/bus_errors.h"
#include "app/dbus/bus_font.h"
#include "app/dbus/bus_introspection.h"
#include "app/dbus/bus_names.h"
#include "app/dbus/bus_text.h"
#include "app/dbus/editor_interface.h"
#include "platform/core/code_page.h"

namespace quillet {
namespace {

QVariant DefaultOf(const QString& signature) {
  switch (signature.front().unicode()) {
    case u'b': return QVariant(false);
    case u'i': return QVariant(0);
    case u'n': return QVariant::fromValue(short{0});
    case u's': return QVariant(QByteArray());
  }
  return QVariant::fromValue(TBusFont{});
}

class TEditorStandIn : public QDBusVirtualObject {
 public:
  TEditorStandIn(QDBusConnection bus, qint64 textLimit, int busyMs)
      : bus_(std::move(bus)), textLimit_(textLimit), busyMs_(busyMs) {
    QString error;
    const auto parsed = ParseBusInterface(EditorIntrospectionXml(), QString(kBusInterfaceName), &error);
    if (!parsed) throw std::runtime_error(error.toStdString());
    interface_ = *parsed;
    for (const TBusProperty& property : interface_.Properties) store_[property.Name] = DefaultOf(property.Signature);
  }

  QString introspect(const QString&) const override { return EditorInterfaceXml(); }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.interface() == u"org.freedesktop.DBus.Introspectable") return false;
    QList<QVariant> results;
    const auto failure = RunBusMember(&gate_, [&] { results = Dispatch(message); });
    connection.send(failure ? BusErrorReply(message, *failure) : message.createReply(results));
    return true;
  }

 private:
  QList<QVariant> Dispatch(const QDBusMessage& message) {
    if (message.interface() == QLatin1String(kBusPropertiesInterface)) {
      const TBusPropertyStore store{[this](const TBusProperty& property) { return Outgoing(property.Name); },
                                    [this](const TBusProperty& property, const QVariant& value) { Store(property, value); }};
      return AnswerBusPropertiesCall(message, interface_, store);
    }
    return Call(CheckBusMethodCall(message, interface_), message.arguments());
  }

  QList<QVariant> Call(const TBusMethod& method, const QList<QVariant>& args) {
    const QString& name = method.Name;
    if (name == u"PutAsciiData") {
      document_ = args[0].toString();
      return {};
    }
    if (name == u"GetAsciiData") return {document_};
    if (name == u"LoadFromDB") {
      TBusGate::TScope busy(gate_);
      QEventLoop loop;
      QTimer::singleShot(busyMs_, &loop, &QEventLoop::quit);
      loop.exec();
      return {};
    }
    if (name == u"UpdateToDB") throw std::runtime_error("该字段值为空");
    if (name == u"ConnectToServer") throw std::runtime_error(Utf8ToAnsi("无法连接服务器"));
    if (name == u"GetTableContent") {
      const int num = args[0].toInt(), row = args[1].toInt(), col = args[2].toInt();
      if (num == 1) return {AnsiToBusText(Utf8ToAnsi(QStringLiteral("表%1行%2列%3").arg(num).arg(row).arg(col).toStdString()), textLimit_)};
      if (num == 2) return {AnsiToBusText(std::string(static_cast<size_t>(row) * static_cast<size_t>(col), 'x'), textLimit_)};
      if (num == 3) return {AnsiToBusText(std::string("ab\0cd", 5), textLimit_)};
      throw std::runtime_error("List index out of bounds (" + std::to_string(num) + ")");
    }
    if (name == u"SetBorderSize") {
      Emit("OnPaint", {});
      return {};
    }
    if (name == u"AddTuZhang") {
      const QString id = args[0].toString();
      Emit("OnKeyPress", {QVariant::fromValue(static_cast<short>(id.isEmpty() ? 0 : id[0].unicode()))});
      return {};
    }
    QList<QVariant> results;
    for (const TBusArg& out : method.Out)
      results << (out.Signature == u"s" ? QVariant(QString()) : DefaultOf(out.Signature));
    return results;
  }

  void Store(const TBusProperty& property, const QVariant& value) {
    if (property.Signature == u"s") {
      const std::string ansi = BusTextToAnsi(value.toString());  // refused before anything is stored
      store_[property.Name] = QByteArray(ansi.data(), static_cast<qsizetype>(ansi.size()));
    } else if (property.Signature == QLatin1String(kBusFontSignature)) {
      store_[property.Name] = QVariant::fromValue(qdbus_cast<TBusFont>(value.value<QDBusArgument>()));
    } else {
      store_[property.Name] = value;
    }
  }

  QVariant Outgoing(const QString& name) const {
    const QVariant& value = store_[name];
    if (value.metaType() == QMetaType::fromType<QByteArray>()) {
      const QByteArray ansi = value.toByteArray();
      return AnsiToBusText(std::string_view(ansi.constData(), static_cast<size_t>(ansi.size())), textLimit_);
    }
    return value;
  }

  void Emit(const char* name, const QList<QVariant>& args) {
    QDBusMessage signal = QDBusMessage::createSignal(kBusObjectPath, kBusInterfaceName, name);
    signal.setArguments(args);
    bus_.send(signal);
  }

  QDBusConnection bus_;
  qint64 textLimit_;
  int busyMs_;
  TBusInterface interface_;
  TBusGate gate_;
  QMap<QString, QVariant> store_;
  QString document_;
};

int Run(const QStringList& args) {
  QString address;
  qint64 textLimit = kBusTextLimit;
  int busyMs = 2000;
  for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
    if (args[i] == u"--address") address = args[i + 1];
    else if (args[i] == u"--text-limit") textLimit = args[i + 1].toLongLong();
    else if (args[i] == u"--busy-ms") busyMs = args[i + 1].toInt();
  }
  RegisterBusTypes();
  QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("service"));
  if (!bus.isConnected()) {
    std::fprintf(stderr, "cannot connect to %s: %s\n", qPrintable(address), qPrintable(bus.lastError().message()));
    return 1;
  }
  TEditorStandIn standIn(bus, textLimit, busyMs);
  if (!bus.registerVirtualObject(kBusObjectPath, &standIn) || !bus.registerService(kBusServiceName)) {
    std::fprintf(stderr, "cannot claim %s: %s\n", kBusServiceName, qPrintable(bus.lastError().message()));
    return 1;
  }
  // The service ends with the test that started it, or with its bus.
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&bus] {
    if (!bus.isConnected()) QCoreApplication::exit(0);
  });
  watch.start(500);
  std::printf("ready\n");
  std::fflush(stdout);
  return QCoreApplication::exec();
}

}  // namespace
}  // namespace quillet

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  return quillet::Run(QCoreApplication::arguments());
}
