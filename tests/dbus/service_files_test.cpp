// The files installed beside the program: the session bus starts it by the
// name the program claims, at an absolute path (the bus does not search
// PATH), with the option that makes it claim the name.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMap>
#include <QStringList>

#include "app/dbus/bus_names.h"

namespace quillet {
namespace {

// The keys of one group of a desktop-style file.
QMap<QString, QString> Group(const QString& path, const QString& group) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  QMap<QString, QString> keys;
  bool inside = false;
  for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
    if (line.startsWith(u'[')) inside = line == "[" + group + "]";
    else if (inside && line.contains(u'=') && !line.startsWith(u'#'))
      keys.insert(line.section(u'=', 0, 0), line.section(u'=', 1));
  }
  return keys;
}

TEST(ServiceFiles, TheBusStartsTheProgramByItsName) {
  const QMap<QString, QString> service = Group(QUILLET_BUS_SERVICE_FILE, "D-BUS Service");
  EXPECT_EQ(service.value("Name"), QString::fromLatin1(kBusServiceName));
  const QStringList exec = service.value("Exec").split(u' ');
  ASSERT_EQ(exec.size(), 2);
  EXPECT_TRUE(QDir::isAbsolutePath(exec[0])) << exec[0].toStdString();
  EXPECT_TRUE(exec[0].endsWith(u"/quillet"));
  EXPECT_EQ(exec[1], "--dbus");
}

TEST(ServiceFiles, TheDesktopEntryStartsTheProgram) {
  const QMap<QString, QString> entry = Group(QUILLET_DESKTOP_FILE, "Desktop Entry");
  EXPECT_EQ(entry.value("Type"), "Application");
  EXPECT_EQ(entry.value("Name"), "afxQuillet");
  EXPECT_EQ(entry.value("Exec"), "quillet %f");
}

}  // namespace
}  // namespace quillet
