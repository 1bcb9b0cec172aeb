#pragma once
// The test bus that CTest starts, the stand-in control on it, and the
// programs the tests drive it with.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <cstdlib>
#include <functional>

namespace quillet::test {

inline bool UnderCI() {
  const char* ci = std::getenv("CI");
  return ci && std::string(ci) == "true";
}

// The address the fixture wrote; empty when the machine has no dbus-daemon.
inline QString TestBusAddress() {
  QFile state(QUILLET_DBUS_STATE_FILE);
  if (!state.open(QIODevice::ReadOnly)) return {};
  for (const QByteArray& line : state.readAll().split('\n'))
    if (line.startsWith("QUILLET_DBUS_ADDRESS=")) {
      QByteArray value = line.mid(line.indexOf('=') + 1);
      if (value.startsWith('\'') && value.endsWith('\'')) value = value.mid(1, value.size() - 2);
      return QString::fromUtf8(value);
    }
  return {};
}

struct RunResult {
  int exitCode = -1;
  QString out;
  QString err;
  QStringList Lines() const {
    QStringList lines = out.split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    return lines;
  }
};

inline RunResult RunProgram(const QString& program, const QStringList& args, const QByteArray& input = {}) {
  QProcess process;
  process.start(program, args);
  RunResult result;
  if (!process.waitForStarted(10000)) {
    result.err = "cannot start " + program;
    return result;
  }
  if (!input.isEmpty()) process.write(input);
  process.closeWriteChannel();
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
    result.err = program + " did not finish";
    return result;
  }
  result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  result.out = QString::fromUtf8(process.readAllStandardOutput());
  result.err = QString::fromUtf8(process.readAllStandardError());
  return result;
}

// gdbus monitor on the control's object: what it printed so far.
struct BusMonitor {
  QProcess process;
  QString seen;

  // True once gdbus says who owns the name: its match is then in place.
  bool Start(const QString& gdbus, const QString& address) {
    process.start(gdbus, {"monitor", "--address", address, "--dest", "afxQuillet.Editor", "--object-path", "/afxForm"});
    return process.waitForStarted() && ReadUntil("is owned by", 10000);
  }
  // Reads until the text was printed or ms have passed.
  bool ReadUntil(const QString& text, int ms) {
    QDeadlineTimer deadline(ms);
    while (!seen.contains(text) && !deadline.hasExpired()) {
      process.waitForReadyRead(100);
      seen += QString::fromUtf8(process.readAllStandardOutput());
    }
    return seen.contains(text);
  }
  // Resizes the control (each time a new height, so that it repaints)
  // until the monitor prints its OnPaint, a few times at most.
  bool ResizeUntilPainted(const std::function<int(const QStringList&)>& call) {
    for (int attempt = 0; attempt < 5; ++attempt) {
      if (call({"SetBorderSize", QString::number(300 + attempt), "400"}) != 0) return false;
      if (ReadUntil("afxQuillet.Editor.OnPaint ()", 3000)) return true;
    }
    return false;
  }
  ~BusMonitor() {
    process.kill();
    process.waitForFinished();
  }
};

// A test without the test bus fails under CI and is skipped elsewhere.
#define QUILLET_REQUIRE_TEST_BUS(address)                                 \
  if ((address).isEmpty()) {                                              \
    if (::quillet::test::UnderCI()) FAIL() << "no test bus: dbus-daemon is missing"; \
    GTEST_SKIP() << "no test bus (dbus-daemon is not installed)";         \
  }

// A tool of the desktop's bus, found on PATH; a test without it fails under
// CI and is skipped elsewhere.
#define QUILLET_REQUIRE_TOOL(var, name)                                              \
  const QString var = QStandardPaths::findExecutable(name);                          \
  if (var.isEmpty()) {                                                                \
    if (::quillet::test::UnderCI()) FAIL() << name << " is not installed";           \
    GTEST_SKIP() << name << " is not installed (scripts/install-deps installs it)"; \
  }

}  // namespace quillet::test
