#pragma once
// The command layer's settings files ("PageSetup.ini", "LineSpace.ini"): INI
// files in $XDG_CONFIG_HOME/afxQuillet/, ~/.config/afxQuillet/ when that is
// unset. The folder is looked up at each open, so tests point it at a
// temporary one. A file's text is the user's to edit: values are read as
// text, whatever they look like, and numbers are range-checked.
#include <cstdint>
#include <memory>
#include <string>

class QSettings;

namespace quillet {

// The settings folder as it is now, without a final slash.
std::string SettingsFolder();

class TDVSettingsFile {
 public:
  // fileName is a bare name in the settings folder.
  explicit TDVSettingsFile(const std::string& fileName);
  ~TDVSettingsFile();
  TDVSettingsFile(const TDVSettingsFile&) = delete;
  TDVSettingsFile& operator=(const TDVSettingsFile&) = delete;

  std::string Path() const;

  // The value as written in the file ("a,b" stays "a,b"); def when absent.
  std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) const;
  // def when absent or not a whole number in range.
  int32_t ReadInteger(const std::string& section, const std::string& ident, int32_t def) const;
  // 1/0 and true/false in any case; def for anything else.
  bool ReadBool(const std::string& section, const std::string& ident, bool def) const;

  // Each write reaches the file at once; false when it could not be written.
  bool WriteString(const std::string& section, const std::string& ident, const std::string& value);
  bool WriteInteger(const std::string& section, const std::string& ident, int32_t value);
  // Written as "1" or "0".
  bool WriteBool(const std::string& section, const std::string& ident, bool value);

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace quillet
