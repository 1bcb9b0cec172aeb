// Arbitrary bytes as a hand-edited settings file: reading strings, numbers
// and switches never crashes and numbers stay what the reader promises.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "commands/settings_file.h"
#include "settings_folder.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::WriteScratchSettingsFile("fuzz.ini", data, size);
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
