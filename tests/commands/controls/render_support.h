#pragma once
// Renders of the dialog controls, kept as PNG files in the test run's folder
// (renders/) so that a look at what was drawn is one file away.
#include <QDir>
#include <QImage>
#include <QString>

namespace quillet::test {

// name may be a case's description: what is not a letter or digit becomes "_".
inline QString SaveRender(const QImage& image, const char* name) {
  QDir().mkpath(QStringLiteral("renders"));
  QString file = QString::fromUtf8(name);
  for (QChar& c : file)
    if (!c.isLetterOrNumber()) c = u'_';
  const QString path = QStringLiteral("renders/") + file + QStringLiteral(".png");
  image.save(path, "PNG");
  return path;
}

}  // namespace quillet::test
