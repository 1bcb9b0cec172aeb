#include "commands/settings_file.h"

#include <QDir>
#include <QSettings>
#include <QStringList>
#include <charconv>

namespace quillet {

namespace {

QString Key(const std::string& section, const std::string& ident) {
  return QString::fromStdString(section) + u'/' + QString::fromStdString(ident);
}

}  // namespace

std::string SettingsFolder() {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
  return (base + QStringLiteral("/afxQuillet")).toStdString();
}

TDVSettingsFile::TDVSettingsFile(const std::string& fileName) {
  const QString folder = QString::fromStdString(SettingsFolder());
  QDir().mkpath(folder);
  settings_ = std::make_unique<QSettings>(folder + u'/' + QString::fromStdString(fileName), QSettings::IniFormat);
}

TDVSettingsFile::~TDVSettingsFile() = default;

std::string TDVSettingsFile::Path() const { return settings_->fileName().toStdString(); }

std::string TDVSettingsFile::ReadString(const std::string& section, const std::string& ident,
                                        const std::string& def) const {
  const QVariant value = settings_->value(Key(section, ident));
  if (!value.isValid()) return def;
  // An unquoted value with commas comes back as a list.
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(u',').toStdString();
  return value.toString().toStdString();
}

int32_t TDVSettingsFile::ReadInteger(const std::string& section, const std::string& ident, int32_t def) const {
  const std::string text = ReadString(section, ident, {});
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return def;
  if (text[begin] == '+') ++begin;
  const size_t end = text.find_last_not_of(' ') + 1;
  int32_t value = 0;
  const auto [ptr, ec] = std::from_chars(text.data() + begin, text.data() + end, value);
  return ec == std::errc() && ptr == text.data() + end ? value : def;
}

bool TDVSettingsFile::ReadBool(const std::string& section, const std::string& ident, bool def) const {
  const QString text = QString::fromStdString(ReadString(section, ident, {})).trimmed().toLower();
  if (text == u"1" || text == u"true") return true;
  if (text == u"0" || text == u"false") return false;
  return def;
}

bool TDVSettingsFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  settings_->setValue(Key(section, ident), QString::fromStdString(value));
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

bool TDVSettingsFile::WriteInteger(const std::string& section, const std::string& ident, int32_t value) {
  return WriteString(section, ident, std::to_string(value));
}

bool TDVSettingsFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
  return WriteString(section, ident, value ? "1" : "0");
}

}  // namespace quillet
