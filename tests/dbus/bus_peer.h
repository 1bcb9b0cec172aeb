#pragma once
// The test bus that CTest starts, the stand-in control on it, and the
// programs the tests drive it with.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <cstdlib>

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

// A tool of the desktop's bus, found on PATH; a test without it fails under
// CI and is skipped elsewhere.
#define QUILLET_REQUIRE_TOOL(var, name)                                              \
  const QString var = QStandardPaths::findExecutable(name);                          \
  if (var.isEmpty()) {                                                                \
    if (::quillet::test::UnderCI()) FAIL() << name << " is not installed";           \
    GTEST_SKIP() << name << " is not installed (scripts/install-deps installs it)"; \
  }

}  // namespace quillet::test
