// Arbitrary bytes as a hand-edited settings file: reading strings, numbers
// and switches never crashes and numbers stay what the reader promises.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "commands/settings_file.h"

using namespace quillet;

namespace {

// A settings folder of the run's own, removed when the run ends.
struct TScratchFolder {
  TScratchFolder() {
    char name[] = "/tmp/quillet-settings-fuzz-XXXXXX";
    if (!mkdtemp(name)) std::abort();
    base = name;
    setenv("XDG_CONFIG_HOME", name, 1);
    folder = SettingsFolder();
  }
  ~TScratchFolder() { std::filesystem::remove_all(base); }
  std::string base, folder;
};

const std::string& Folder() {
  static const TScratchFolder scratch;
  return scratch.folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = Folder() + "/fuzz.ini";
  { TDVSettingsFile make("fuzz.ini"); }  // the folder exists from here on
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  if (size > 0) std::fwrite(data, 1, size, file);
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
