#include "host/form/form_icons.h"

#include <QFile>
#include <QString>

// Outside any namespace: Q_INIT_RESOURCE declares the resource's
// registration function, which rcc defines at global scope.
static void RegisterFormIcons() {
  // The icons' resource object sits in a static library; calling its
  // registration pulls it into every program that asks for an icon.
  static const bool registered = [] {
    Q_INIT_RESOURCE(icons);
    return true;
  }();
  (void)registered;
}

namespace quillet {

namespace {

bool IsItemName(std::string_view name) {
  if (name.empty() || name.size() > 64) return false;
  for (const char c : name)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) return false;
  return true;
}

}  // namespace

QIcon FormIcon(std::string_view itemName) {
  // The name becomes part of a resource path, so nothing that could step
  // out of the icons' folder gets that far.
  if (!IsItemName(itemName)) return {};
  RegisterFormIcons();
  const QString path = QStringLiteral(":/icons/") +
                       QString::fromLatin1(itemName.data(), static_cast<qsizetype>(itemName.size())) +
                       QStringLiteral(".svg");
  if (!QFile::exists(path)) return {};
  return QIcon(path);
}

}  // namespace quillet
