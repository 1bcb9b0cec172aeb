#pragma once
// Renders of the dialog controls, kept as PNG files in the test run's folder
// (renders/) so that a look at what was drawn is one file away.
#include <QDir>
#include <QImage>
#include <QString>

namespace quillet::test {

inline QString SaveRender(const QImage& image, const char* name) {
  QDir().mkpath(QStringLiteral("renders"));
  const QString path = QStringLiteral("renders/") + QString::fromUtf8(name) + QStringLiteral(".png");
  image.save(path, "PNG");
  return path;
}

}  // namespace quillet::test
