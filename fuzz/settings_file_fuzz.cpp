// Arbitrary bytes as a hand-edited settings file: reading strings, numbers
// and switches never crashes and numbers stay what the reader promises.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "commands/settings_file.h"

using namespace quillet;

namespace {

const std::string& Folder() {
  static const std::string folder = [] {
    char base[] = "/tmp/quillet-settings-fuzz-XXXXXX";
    if (!mkdtemp(base)) std::abort();
    setenv("XDG_CONFIG_HOME", base, 1);
    return SettingsFolder();
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = Folder() + "/fuzz.ini";
  { TDVSettingsFile make("fuzz.ini"); }  // the folder exists from here on
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  TDVSettingsFile settings("fuzz.ini");
  for (const char* section : {"Header", "Footer", "Margins", "General"}) {
    for (const char* ident : {"Text", "Left", "Visible", "Font"}) {
      (void)settings.ReadString(section, ident, "");
      (void)settings.ReadBool(section, ident, true);
      const int32_t value = settings.ReadInteger(section, ident, 7);
      (void)value;
    }
  }
  return 0;
}
