#pragma once
// The quillet program started as a user starts it, on the offscreen
// platform with its data in dataHome, drawing its window into a picture.
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace quillet::test {

struct ProgramRun {
  int exitCode = -1;
  QImage picture;
  QString errors;
};

inline ProgramRun StartProgram(const QTemporaryDir& dataHome, const QStringList& args) {
  const QString picture = dataHome.filePath("window.png");
  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_DATA_HOME", dataHome.path());
  program.setProcessEnvironment(env);
  program.start(QUILLET_PROGRAM, QStringList(args) << "--render-to" << picture);
  ProgramRun run;
  if (!program.waitForFinished(60000)) return run;
  run.exitCode = program.exitCode();
  run.errors = QString::fromLocal8Bit(program.readAllStandardError());
  run.picture.load(picture);
  return run;
}

}  // namespace quillet::test
