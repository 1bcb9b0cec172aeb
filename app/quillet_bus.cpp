// quillet-bus: calls the editor control's members on the bus from a shell.
//
//   quillet-bus [--address ADDR] [--timeout S] METHOD [ARGS...]
//   quillet-bus [--address ADDR] get PROPERTY
//   quillet-bus [--address ADDR] set PROPERTY VALUE...
//   quillet-bus [--address ADDR] wait-signal NAME [--timeout S] [METHOD [ARGS...]]
//
// Arguments are typed by the interface the running control describes when
// introspected. Results are printed one value a line; an error reply goes to
// standard error as "NAME: message" with exit code 1. Wrong use exits with 2.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <optional>

#include "app/dbus/bus_errors.h"
#include "app/dbus/bus_font.h"
#include "app/dbus/bus_introspection.h"
#include "app/dbus/bus_names.h"
#include "app/dbus/bus_text.h"
#include "app/dbus/bus_value.h"

namespace quillet {
namespace {

constexpr int kExitFailed = 1, kExitUsage = 2;

const char kUsage[] =
    "usage: quillet-bus [--address ADDR] [--timeout S] METHOD [ARGS...]\n"
    "       quillet-bus [--address ADDR] get PROPERTY\n"
    "       quillet-bus [--address ADDR] set PROPERTY VALUE...\n"
    "       quillet-bus [--address ADDR] wait-signal NAME [--timeout S] [METHOD [ARGS...]]\n"
    "Calls the editor control (afxQuillet.Editor at /afxForm) on the session bus,\n"
    "or on the bus at ADDR. A text argument @FILE is read from FILE (@- from\n"
    "standard input); @@TEXT stands for @TEXT. A structure takes one argument\n"
    "per field. wait-signal prints the signal's arguments when it comes, after\n"
    "calling METHOD when one is given; it gives up after S seconds (30).\n";

void Print(FILE* to, const QString& text) {
  const QByteArray bytes = text.toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to);
  std::fputc('\n', to);
}

int Usage(const QString& problem) {
  Print(stderr, "quillet-bus: " + problem);
  std::fputs("Try quillet-bus --help.\n", stderr);
  return kExitUsage;
}

int Failed(const QString& name, const QString& message) {
  Print(stderr, name.isEmpty() ? message : name + ": " + message);
  return kExitFailed;
}

int ErrorReply(const QDBusMessage& reply) { return Failed(reply.errorName(), reply.errorMessage()); }

void PrintValues(const QList<QVariant>& values) {
  for (const QVariant& value : values)
    for (const QString& line : FormatBusValue(value)) Print(stdout, line);
}

// A text argument's file. One longer than the bus carries is refused before
// it is read: its UTF-8 text is as long as the file.
QByteArray ReadArgumentFile(const QString& path) {
  QFile file;
  const bool opened = path == u"-" ? file.open(stdin, QIODevice::ReadOnly)
                                   : (file.setFileName(path), file.open(QIODevice::ReadOnly));
  if (!opened) throw EBusValueError("Cannot read '" + path.toStdString() + "': " + file.errorString().toStdString());
  if (!file.isSequential()) CheckBusTextLength(file.size());
  // A pipe gives what it holds at each read: read on to its end, keeping no
  // more than the bus carries.
  QByteArray bytes;
  qint64 length = 0;
  for (QByteArray more; !(more = file.read(1 << 20)).isEmpty();) {
    length += more.size();
    if (length <= kBusTextLimit) bytes += more;
  }
  CheckBusTextLength(length);
  return bytes;
}

// Values for the types, taking every word; texts checked against the bus's limit.
QList<QVariant> ParseWords(const QStringList& types, const QStringList& words) {
  QList<QVariant> values;
  qsizetype next = 0;
  for (const QString& type : types) {
    values << ParseBusValue(type, words, next, ReadArgumentFile);
    if (values.back().metaType() == QMetaType::fromType<QString>()) CheckBusText(values.back().toString());
  }
  if (next != words.size())
    throw EBusValueError("Too many arguments: " + std::to_string(words.size() - next) + " left over");
  return values;
}

QStringList TypesOf(const QList<TBusArg>& args) {
  QStringList types;
  for (const TBusArg& arg : args) types << arg.Signature;
  return types;
}

qsizetype WordsOf(const QStringList& types) {
  qsizetype words = 0;
  for (const QString& type : types) words += BusWordCount(type);
  return words;
}

class TClient {
 public:
  TClient(QDBusConnection connection, int timeoutMs) : bus_(std::move(connection)), timeoutMs_(timeoutMs) {}

  // The control's interface, from the control itself; nothing after printing why.
  bool Introspect(int& exitCode) {
    QDBusMessage call = QDBusMessage::createMethodCall(kBusServiceName, kBusObjectPath,
                                                       "org.freedesktop.DBus.Introspectable", "Introspect");
    const QDBusMessage reply = bus_.call(call, QDBus::Block, timeoutMs_);
    if (reply.type() != QDBusMessage::ReplyMessage) {
      exitCode = ErrorReply(reply);
      return false;
    }
    QString error;
    interface_ = ParseBusInterface(reply.arguments().value(0).toString(), QString(kBusInterfaceName), &error);
    if (!interface_) {
      exitCode = Failed({}, error);
      return false;
    }
    return true;
  }

  const TBusInterface& Interface() const { return *interface_; }

  QDBusMessage Call(const QString& interfaceName, const QString& member, const QList<QVariant>& args) {
    QDBusMessage call = QDBusMessage::createMethodCall(kBusServiceName, kBusObjectPath, interfaceName, member);
    call.setArguments(args);
    return bus_.call(call, QDBus::Block, timeoutMs_);
  }

  // The method with the words as its arguments; the reply, or the exit code.
  std::optional<QDBusMessage> CallMethod(const QString& name, const QStringList& words, int& exitCode) {
    const TBusMethod* method = interface_->FindMethod(name);
    if (!method) {
      const bool property = interface_->FindProperty(name);
      exitCode = Usage("The control has no method " + name +
                       (property ? QStringLiteral(" (a property: get or set it)") : QString()));
      return std::nullopt;
    }
    const QStringList types = TypesOf(method->In);
    if (words.size() != WordsOf(types)) {
      QStringList names;
      for (const TBusArg& arg : method->In) names << arg.Name + ":" + arg.Signature;
      exitCode = Usage(QStringLiteral("%1 takes %2 arguments (%3), not %4")
                           .arg(name)
                           .arg(WordsOf(types))
                           .arg(names.join(", "))
                           .arg(words.size()));
      return std::nullopt;
    }
    const QList<QVariant> values = ParseWords(types, words);
    QDBusMessage reply = Call(kBusInterfaceName, name, values);
    if (reply.type() != QDBusMessage::ReplyMessage) {
      exitCode = ErrorReply(reply);
      return std::nullopt;
    }
    return reply;
  }

  int Method(const QString& name, const QStringList& words) {
    int exitCode = 0;
    const std::optional<QDBusMessage> reply = CallMethod(name, words, exitCode);
    if (reply) PrintValues(reply->arguments());
    return exitCode;
  }

  int Get(const QString& name) {
    const TBusProperty* property = interface_->FindProperty(name);
    if (!property) return Usage("The control has no property " + name);
    if (!property->Readable) return Usage("The property " + name + " cannot be read");
    const QDBusMessage reply =
        Call("org.freedesktop.DBus.Properties", "Get", {QString(kBusInterfaceName), name});
    if (reply.type() != QDBusMessage::ReplyMessage) return ErrorReply(reply);
    PrintValues(reply.arguments());
    return 0;
  }

  int Set(const QString& name, const QStringList& words) {
    const TBusProperty* property = interface_->FindProperty(name);
    if (!property) return Usage("The control has no property " + name);
    if (!property->Writable) return Usage("The property " + name + " cannot be written");
    const qsizetype expected = BusWordCount(property->Signature);
    if (words.size() != expected)
      return Usage(QStringLiteral("%1 (%2) takes %3 values, not %4")
                       .arg(name, property->Signature)
                       .arg(expected)
                       .arg(words.size()));
    const QList<QVariant> value = ParseWords({property->Signature}, words);
    const QDBusMessage reply = Call("org.freedesktop.DBus.Properties", "Set",
                                    {QString(kBusInterfaceName), name, QVariant::fromValue(QDBusVariant(value[0]))});
    if (reply.type() != QDBusMessage::ReplyMessage) return ErrorReply(reply);
    return 0;
  }

  int WaitSignal(const QString& name, int waitMs, const QString& method, const QStringList& words);

 private:
  QDBusConnection bus_;
  int timeoutMs_;
  std::optional<TBusInterface> interface_;
};

// Receives the awaited signal.
class TSignalCatcher : public QObject {
  Q_OBJECT
 public:
  std::optional<QList<QVariant>> Args;
  QEventLoop Loop;

 public slots:
  void Caught(const QDBusMessage& message) {
    if (!Args) Args = message.arguments();
    Loop.quit();
  }
};

int TClient::WaitSignal(const QString& name, int waitMs, const QString& method, const QStringList& words) {
  if (!interface_->FindSignal(name)) return Usage("The control has no signal " + name);
  TSignalCatcher catcher;
  if (!bus_.connect(kBusServiceName, kBusObjectPath, kBusInterfaceName, name, &catcher,
                    SLOT(Caught(QDBusMessage))))
    return Failed({}, "Cannot listen for " + name + ": " + bus_.lastError().message());
  // The match is in place before the call goes out on the same connection,
  // so a signal the call causes is not missed.
  if (!method.isEmpty()) {
    int exitCode = 0;
    if (!CallMethod(method, words, exitCode)) return exitCode;
  }
  if (!catcher.Args) {
    QTimer::singleShot(waitMs, &catcher.Loop, &QEventLoop::quit);
    catcher.Loop.exec();
  }
  if (!catcher.Args) return Failed({}, QStringLiteral("No signal %1 within %2 s").arg(name).arg(waitMs / 1000.0));
  PrintValues(*catcher.Args);
  return 0;
}

bool ParseSeconds(const QString& text, int& ms) {
  bool ok = false;
  const double seconds = text.toDouble(&ok);
  if (!ok || !(seconds > 0) || seconds > 24 * 3600) return false;
  ms = static_cast<int>(seconds * 1000);
  return true;
}

int Run(QStringList args) {
  QString address;
  int timeoutMs = 120 * 1000, waitMs = 30 * 1000;
  while (!args.isEmpty() && args.front().startsWith(u"--")) {
    const QString option = args.takeFirst();
    if (option == u"--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (args.isEmpty()) return Usage(option + " needs a value");
    const QString value = args.takeFirst();
    if (option == u"--address") {
      address = value;
    } else if (option == u"--timeout") {
      if (!ParseSeconds(value, timeoutMs)) return Usage("--timeout takes seconds, not " + value);
      waitMs = timeoutMs;
    } else {
      return Usage("Unknown option " + option);
    }
  }
  if (args.isEmpty()) return Usage("No member given");

  QDBusConnection bus = address.isEmpty() ? QDBusConnection::sessionBus()
                                          : QDBusConnection::connectToBus(address, QStringLiteral("quillet-bus"));
  if (!bus.isConnected()) {
    const QString reason = bus.lastError().message();
    return Failed({}, "Cannot connect to the bus" + (reason.isEmpty() ? QString() : ": " + reason));
  }
  TClient client(bus, timeoutMs);
  int exitCode = 0;
  if (!client.Introspect(exitCode)) return exitCode;

  const QString command = args.takeFirst();
  try {
    if (command == u"get") {
      if (args.size() != 1) return Usage("get takes one property");
      return client.Get(args[0]);
    }
    if (command == u"set") {
      if (args.isEmpty()) return Usage("set takes a property and its value");
      const QString property = args.takeFirst();
      return client.Set(property, args);
    }
    if (command == u"wait-signal") {
      if (args.isEmpty()) return Usage("wait-signal takes a signal name");
      const QString name = args.takeFirst();
      if (args.size() >= 2 && args.front() == u"--timeout") {
        args.removeFirst();
        if (!ParseSeconds(args.front(), waitMs)) return Usage("--timeout takes seconds, not " + args.front());
        args.removeFirst();
      }
      const QString method = args.isEmpty() ? QString() : args.takeFirst();
      return client.WaitSignal(name, waitMs, method, args);
    }
    return client.Method(command, args);
  } catch (const EBusValueError& e) {
    return Usage(QString::fromUtf8(e.what()));
  } catch (const EBusError& e) {
    return Failed(e.Name(), e.Message());
  }
}

}  // namespace
}  // namespace quillet

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  quillet::RegisterBusTypes();
  QStringList args = QCoreApplication::arguments();
  args.removeFirst();
  return quillet::Run(args);
}

#include "quillet_bus.moc"
